#pragma once
// The class and interface identifiers the player passes: those of the media-graph service and of the
// decoder filters it adds by class.

#include "platform/com/Unknown.h"

namespace com {

// Classes.
inline constexpr CLSID CLSID_FilterGraph = MakeGuid("{E436EBB3-524F-11CE-9F53-0020AF0BA770}");
inline constexpr CLSID CLSID_MediaDet = MakeGuid("{65BD0711-24D2-4FF7-9324-ED2E5D3ABAFA}");
inline constexpr CLSID CLSID_VideoMixingRenderer9 = MakeGuid("{51B4ABF3-748F-4E3B-A276-C828330E926A}");
inline constexpr CLSID CLSID_VideoMixingRenderer = MakeGuid("{B87BEB7B-8D29-423F-AE4D-6582C10175AC}");
inline constexpr CLSID CLSID_RealMediaSplitter = MakeGuid("{E21BE468-5C18-43EB-B0CC-DB93A847D769}");
inline constexpr CLSID CLSID_RealAudioDecoder = MakeGuid("{941A4793-A705-4312-8DFC-C11CA05F397E}");
inline constexpr CLSID CLSID_AC3Filter = MakeGuid("{A753A1EC-973E-4718-AF8E-A3F554D45C44}");
inline constexpr CLSID CLSID_RealVideoDecoder = MakeGuid("{238D0F23-5DC9-45A6-9BE2-666160C324DD}");
inline constexpr CLSID CLSID_DSoundRender = MakeGuid("{79376820-07D0-11CF-A24D-0020AFD79767}");
// The DVD graph's filters.
inline constexpr CLSID CLSID_DVDNavigator = MakeGuid("{9B8C4620-2C1A-11D0-8493-00A02438AD48}");
inline constexpr CLSID CLSID_SampleGrabber = MakeGuid("{C1F400A0-3F08-11D3-9F0B-006008039E37}");
inline constexpr CLSID CLSID_VideoRenderer = MakeGuid("{70E102B0-5556-11CE-97C0-00AA0055595A}");
inline constexpr CLSID CLSID_OverlayMixer = MakeGuid("{CD8743A1-3736-11D0-9E69-00C04FD7C15B}");
inline constexpr CLSID CLSID_MpegAudioDecoder = MakeGuid("{3D446B6F-71DE-4437-BE15-8CE47174340F}");
inline constexpr CLSID CLSID_RgbConverter = MakeGuid("{E2B7DB22-38C5-11D5-91F6-00104BDB8FF9}");
inline constexpr CLSID CLSID_Line21Decoder = MakeGuid("{6E8D4A20-310C-11D0-B79A-00AA003767A7}");
inline constexpr CLSID CLSID_MpegVideoDecoder = MakeGuid("{39F498AF-1A09-4275-B193-673B0BA3D478}");

// Interfaces.
inline constexpr IID IID_IGraphBuilder = MakeGuid("{56A868A9-0AD4-11CE-B03A-0020AF0BA770}");
inline constexpr IID IID_IMediaDet = MakeGuid("{65BD0710-24D2-4FF7-9324-ED2E5D3ABAFA}");
inline constexpr IID IID_IBaseFilter = MakeGuid("{56A86895-0AD4-11CE-B03A-0020AF0BA770}");
inline constexpr IID IID_IEnumPins = MakeGuid("{56A86892-0AD4-11CE-B03A-0020AF0BA770}");
inline constexpr IID IID_IPin = MakeGuid("{56A86891-0AD4-11CE-B03A-0020AF0BA770}");
inline constexpr IID IID_IVMRFilterConfig9 = MakeGuid("{5A804648-4F66-4867-9C43-4F5C822CF1B8}");
inline constexpr IID IID_IVMRWindowlessControl9 = MakeGuid("{8F537D09-F85E-4414-B23B-502E54C79927}");
inline constexpr IID IID_IVMRMixerControl9 = MakeGuid("{1A777EAA-47C8-4930-B2C9-8FEE1C1B0F3B}");
inline constexpr IID IID_IVMRFilterConfig = MakeGuid("{9E5530C5-7034-48B4-BB46-0B8A6EFC8E36}");
inline constexpr IID IID_IVMRWindowlessControl = MakeGuid("{0EB1088C-4DCD-46F0-878F-39DAE86A51B7}");
inline constexpr IID IID_IVMRMixerControl = MakeGuid("{1C1A17B0-BED0-415D-974B-DC6696131599}");
inline constexpr IID IID_IMediaControl = MakeGuid("{56A868B1-0AD4-11CE-B03A-0020AF0BA770}");
inline constexpr IID IID_IMediaEventEx = MakeGuid("{56A868C0-0AD4-11CE-B03A-0020AF0BA770}");
inline constexpr IID IID_IMediaSeeking = MakeGuid("{36B73880-C2C8-11CF-8B46-00805F6CEF60}");
inline constexpr IID IID_IBasicAudio = MakeGuid("{56A868B3-0AD4-11CE-B03A-0020AF0BA770}");
inline constexpr IID IID_IVideoWindow = MakeGuid("{56A868B4-0AD4-11CE-B03A-0020AF0BA770}");
inline constexpr IID IID_IVideoFrameStep = MakeGuid("{E46A9787-2B71-444D-A4B5-1FAB7B708D6A}");
inline constexpr IID IID_ISampleGrabber = MakeGuid("{6B652FFF-11FE-4FCE-92AD-0266B5D7C78F}");
inline constexpr IID IID_IDvdControl2 = MakeGuid("{33BC7430-EEC0-11D2-8201-00A0C9D74842}");
inline constexpr IID IID_IDvdInfo2 = MakeGuid("{34151510-EEC0-11D2-8201-00A0C9D74842}");

// Media types and formats.
inline constexpr GUID MEDIATYPE_Video = MakeGuid("{73646976-0000-0010-8000-00AA00389B71}");
inline constexpr GUID MEDIATYPE_Audio = MakeGuid("{73647561-0000-0010-8000-00AA00389B71}");
inline constexpr GUID FORMAT_VideoInfo = MakeGuid("{05589F80-C356-11CE-BF01-00AA0055595A}");
inline constexpr GUID MEDIASUBTYPE_RGB32 = MakeGuid("{E436EB7E-524F-11CE-9F53-0020AF0BA770}");
inline constexpr GUID FORMAT_WaveFormatEx = MakeGuid("{05589F81-C356-11CE-BF01-00AA0055595A}");

} // namespace com
