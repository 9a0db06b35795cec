#pragma once
// The media-graph service's interfaces, in the shape the player calls them. Implemented over GStreamer by
// this layer (objects made through com::CoCreateInstance with the identifiers of platform/com/Guids.h).
//
// Times are in 100-nanosecond units. File names are UTF-16 (com::WideString). Every method returns an
// HRESULT; out-parameters are left alone on failure.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/com/Guids.h"
#include "platform/com/Unknown.h"
#include "platform/win32/Types.h"

namespace dshow {

using com::GUID;
using com::HRESULT;
using win32::BOOL;
using win32::COLORREF;
using win32::DWORD;
using win32::HWND;
using win32::LONG;
using win32::RECT;
using LPCWSTR = const char16_t*;
using REFERENCE_TIME = std::int64_t;
using LONGLONG = std::int64_t;
using LONG_PTR = std::intptr_t;

// Result codes of the media-graph service.
constexpr HRESULT VFW_S_STATE_INTERMEDIATE = 0x00040237;
constexpr HRESULT VFW_E_NOT_CONNECTED = static_cast<HRESULT>(0x80040209u);
constexpr HRESULT VFW_E_NOT_FOUND = static_cast<HRESULT>(0x80040216u);
constexpr HRESULT VFW_E_CANNOT_RENDER = static_cast<HRESULT>(0x80040218u);
constexpr HRESULT VFW_E_WRONG_STATE = static_cast<HRESULT>(0x80040227u);
constexpr HRESULT VFW_E_TIMEOUT = static_cast<HRESULT>(0x8004022Eu);
constexpr HRESULT VFW_E_UNKNOWN_FILE_TYPE = static_cast<HRESULT>(0x80040240u);
constexpr HRESULT VFW_E_CANNOT_LOAD_SOURCE_FILTER = static_cast<HRESULT>(0x80040241u);
constexpr HRESULT VFW_E_UNSUPPORTED_STREAM = static_cast<HRESULT>(0x80040265u);
constexpr HRESULT VFW_E_NO_VIDEO_RENDERER = static_cast<HRESULT>(0x8004027Fu); // ours: no video in the graph

enum PIN_DIRECTION { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 };

using OAFilterState = LONG;
constexpr OAFilterState State_Stopped = 0, State_Paused = 1, State_Running = 2;

constexpr LONG OATRUE = -1, OAFALSE = 0;

// Seeking flags of IMediaSeeking::SetPositions.
constexpr DWORD AM_SEEKING_NoPositioning = 0, AM_SEEKING_AbsolutePositioning = 1,
                AM_SEEKING_RelativePositioning = 2, AM_SEEKING_IncrementalPositioning = 3,
                AM_SEEKING_PositioningBitsMask = 3, AM_SEEKING_SeekToKeyFrame = 4;

// Window styles that IVideoWindow accepts.
constexpr LONG WS_CHILD = 0x40000000, WS_CLIPSIBLINGS = 0x04000000;

// Rendering modes of the mixing renderers.
constexpr DWORD VMRMode_Windowed = 1, VMRMode_Windowless = 2, VMRMode_Renderless = 4;
constexpr DWORD VMR9Mode_Windowed = 1, VMR9Mode_Windowless = 2, VMR9Mode_Renderless = 4;

struct BITMAPINFOHEADER {
    DWORD biSize = 40;
    LONG biWidth = 0;
    LONG biHeight = 0;
    std::uint16_t biPlanes = 1;
    std::uint16_t biBitCount = 0;
    DWORD biCompression = 0;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};

struct VIDEOINFOHEADER {
    RECT rcSource;
    RECT rcTarget;
    DWORD dwBitRate = 0;
    DWORD dwBitErrorRate = 0;
    REFERENCE_TIME AvgTimePerFrame = 0;
    BITMAPINFOHEADER bmiHeader;
};
// The player reads the bitmap header out of the format block by offset; the layout must hold.
static_assert(offsetof(VIDEOINFOHEADER, bmiHeader) == 48 && sizeof(VIDEOINFOHEADER) == 88);
static_assert(offsetof(VIDEOINFOHEADER, bmiHeader) + offsetof(BITMAPINFOHEADER, biWidth) == 52);
static_assert(offsetof(VIDEOINFOHEADER, bmiHeader) + offsetof(BITMAPINFOHEADER, biHeight) == 56);

// A stream's media type. The format block is owned by the record (nothing to free by hand).
struct AM_MEDIA_TYPE {
    GUID majortype;
    GUID subtype;
    GUID formattype;
    std::vector<std::uint8_t> Format;
    std::size_t cbFormat() const { return Format.size(); }
    const std::uint8_t* pbFormat() const { return Format.empty() ? nullptr : Format.data(); }
};

// A sub-rectangle of the mixing renderer's output, 0..1 on each axis; left > right (top > bottom) mirrors.
struct NORMALIZEDRECT {
    float left = 0, top = 0, right = 1, bottom = 1;
    friend bool operator==(const NORMALIZEDRECT&, const NORMALIZEDRECT&) = default;
};
using VMR9NormalizedRect = NORMALIZEDRECT;

struct IBaseFilter;

// What IPin::QueryPinInfo gives: the pin's filter (with a reference the caller releases), its direction and
// its name.
struct PIN_INFO {
    IBaseFilter* pFilter = nullptr;
    PIN_DIRECTION dir = PINDIR_INPUT;
    char16_t achName[128] = {};
};

struct IPin : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IPin;
    virtual HRESULT QueryDirection(PIN_DIRECTION* Direction) = 0;
    virtual HRESULT QueryPinInfo(PIN_INFO* Info) = 0;
};

struct IEnumPins : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IEnumPins;
    // Up to Count pins into Pins (each with a reference); S_OK when Count were given, S_FALSE when fewer.
    virtual HRESULT Next(std::uint32_t Count, IPin** Pins, std::uint32_t* Fetched) = 0;
    virtual HRESULT Reset() = 0;
};

struct IBaseFilter : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IBaseFilter;
    virtual HRESULT EnumPins(IEnumPins** Pins) = 0;
};

struct IGraphBuilder : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IGraphBuilder;
    virtual HRESULT AddFilter(IBaseFilter* Filter, LPCWSTR Name) = 0;
    virtual HRESULT RemoveFilter(IBaseFilter* Filter) = 0;
    // Builds the whole graph that plays the file and prerolls it (returns when ready or failed).
    virtual HRESULT RenderFile(LPCWSTR File, LPCWSTR PlayList) = 0;
    virtual HRESULT AddSourceFilter(LPCWSTR File, LPCWSTR FilterName, IBaseFilter** Filter) = 0;
    // Completes the graph from an output pin, with the filters already added before any others; prerolls.
    virtual HRESULT Render(IPin* Output) = 0;
    // Connects an output pin to an input pin of filters in this graph, where their streams agree (the graph
    // may put converters between them). Once a DVD navigator's picture reaches a video renderer the graph
    // is built and prerolled.
    virtual HRESULT Connect(IPin* Output, IPin* Input) = 0;
};

struct IMediaControl : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IMediaControl;
    virtual HRESULT Run() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Stop() = 0;
    // VFW_S_STATE_INTERMEDIATE while a change is still under way after Timeout milliseconds.
    virtual HRESULT GetState(LONG Timeout, OAFilterState* State) = 0;
};

struct IMediaEventEx : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IMediaEventEx;
    virtual HRESULT SetNotifyWindow(HWND Window, LONG Message, LONG_PTR InstanceData) = 0;
};

struct IMediaSeeking : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IMediaSeeking;
    virtual HRESULT GetDuration(LONGLONG* Duration) = 0;
    virtual HRESULT GetStopPosition(LONGLONG* Stop) = 0;
    virtual HRESULT GetCurrentPosition(LONGLONG* Current) = 0;
    // Either pointer may be null with AM_SEEKING_NoPositioning.
    virtual HRESULT SetPositions(LONGLONG* Current, DWORD CurrentFlags, LONGLONG* Stop, DWORD StopFlags) = 0;
    virtual HRESULT SetRate(double Rate) = 0;
    virtual HRESULT GetRate(double* Rate) = 0;
};

struct IBasicAudio : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IBasicAudio;
    // Hundredths of a decibel, -10000 (silence) .. 0 (full volume).
    virtual HRESULT put_Volume(LONG Volume) = 0;
    virtual HRESULT get_Volume(LONG* Volume) = 0;
    // -10000 (left only) .. 10000 (right only): the other channel is attenuated.
    virtual HRESULT put_Balance(LONG Balance) = 0;
    virtual HRESULT get_Balance(LONG* Balance) = 0;
};

struct IVideoWindow : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IVideoWindow;
    virtual HRESULT put_Owner(HWND Owner) = 0;
    virtual HRESULT get_Owner(HWND* Owner) = 0;
    virtual HRESULT put_MessageDrain(HWND Drain) = 0;
    virtual HRESULT put_WindowStyle(LONG Style) = 0;
    virtual HRESULT get_WindowStyle(LONG* Style) = 0;
    virtual HRESULT SetWindowPosition(LONG Left, LONG Top, LONG Width, LONG Height) = 0;
    virtual HRESULT GetWindowPosition(LONG* Left, LONG* Top, LONG* Width, LONG* Height) = 0;
    virtual HRESULT put_Visible(LONG Visible) = 0;
    virtual HRESULT get_Visible(LONG* Visible) = 0;
};

struct IVideoFrameStep : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IVideoFrameStep;
    // Shows the frame Frames ahead and leaves the graph paused there.
    virtual HRESULT Step(DWORD Frames, com::IUnknown* StepObject) = 0;
    virtual HRESULT CanStep(LONG Multiple, com::IUnknown* StepObject) = 0;
    virtual HRESULT CancelStep() = 0;
};

struct IMediaDet : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IMediaDet;
    // Opens the file and reads its streams (synchronously, with a time limit).
    virtual HRESULT put_Filename(LPCWSTR File) = 0;
    virtual HRESULT get_OutputStreams(LONG* Count) = 0;
    virtual HRESULT put_CurrentStream(LONG Stream) = 0;
    virtual HRESULT get_CurrentStream(LONG* Stream) = 0;
    virtual HRESULT get_StreamType(GUID* Type) = 0;
    virtual HRESULT get_StreamMediaType(AM_MEDIA_TYPE* Type) = 0;
    virtual HRESULT get_FrameRate(double* Rate) = 0;
    // Seconds.
    virtual HRESULT get_StreamLength(double* Length) = 0;
    // Decodes the frame of the file's first video stream shown at StreamTime (seconds), scaled to Width x
    // Height, and writes it to File as a 24-bit Windows bitmap; synchronous, with a time limit.
    virtual HRESULT WriteBitmapBits(double StreamTime, LONG Width, LONG Height, LPCWSTR File) = 0;
};

// The mixing renderers (7 and 9 have the same shape and distinct identifiers).
template <const com::IID& Id> struct IVMRFilterConfigOf : com::IUnknown {
    static constexpr com::IID Iid = Id;
    virtual HRESULT SetRenderingMode(DWORD Mode) = 0;
    virtual HRESULT GetRenderingMode(DWORD* Mode) = 0;
    virtual HRESULT SetNumberOfStreams(DWORD Streams) = 0;
    virtual HRESULT GetNumberOfStreams(DWORD* Streams) = 0;
};

template <const com::IID& Id> struct IVMRWindowlessControlOf : com::IUnknown {
    static constexpr com::IID Iid = Id;
    virtual HRESULT GetNativeVideoSize(LONG* Width, LONG* Height, LONG* AspectWidth, LONG* AspectHeight) = 0;
    // Source: a part of the video (nullptr: all of it); destination: client coordinates of the clipping
    // window.
    virtual HRESULT SetVideoPosition(const RECT* Source, const RECT* Destination) = 0;
    virtual HRESULT GetVideoPosition(RECT* Source, RECT* Destination) = 0;
    virtual HRESULT SetVideoClippingWindow(HWND Window) = 0;
    // Draws the current picture again into Window (the clipping window).
    virtual HRESULT RepaintVideo(HWND Window) = 0;
    virtual HRESULT SetBorderColor(COLORREF Colour) = 0;
    virtual HRESULT GetBorderColor(COLORREF* Colour) = 0;
    // Ours, for taking each picture of a mixed pair on its own: the last frame of Stream as it is drawn (at
    // its output rectangle's size, never mirrored), 32-bit pixels (blue, green, red, unused) in rows from the
    // top. VFW_E_NOT_CONNECTED before the stream's first frame.
    virtual HRESULT GetStreamImage(DWORD Stream, LONG* Width, LONG* Height,
                                   std::vector<std::uint8_t>* Pixels) = 0;
};

template <const com::IID& Id> struct IVMRMixerControlOf : com::IUnknown {
    static constexpr com::IID Iid = Id;
    virtual HRESULT SetAlpha(DWORD Stream, float Alpha) = 0;
    virtual HRESULT GetAlpha(DWORD Stream, float* Alpha) = 0;
    virtual HRESULT SetZOrder(DWORD Stream, DWORD Z) = 0;
    virtual HRESULT GetZOrder(DWORD Stream, DWORD* Z) = 0;
    virtual HRESULT SetOutputRect(DWORD Stream, const NORMALIZEDRECT* Rect) = 0;
    virtual HRESULT GetOutputRect(DWORD Stream, NORMALIZEDRECT* Rect) = 0;
};

using IVMRFilterConfig9 = IVMRFilterConfigOf<com::IID_IVMRFilterConfig9>;
using IVMRWindowlessControl9 = IVMRWindowlessControlOf<com::IID_IVMRWindowlessControl9>;
using IVMRMixerControl9 = IVMRMixerControlOf<com::IID_IVMRMixerControl9>;
using IVMRFilterConfig = IVMRFilterConfigOf<com::IID_IVMRFilterConfig>;
using IVMRWindowlessControl = IVMRWindowlessControlOf<com::IID_IVMRWindowlessControl>;
using IVMRMixerControl = IVMRMixerControlOf<com::IID_IVMRMixerControl>;

// A DVD time: hours, minutes, seconds and frames.
struct DVD_HMSF_TIMECODE {
    std::uint8_t bHours = 0;
    std::uint8_t bMinutes = 0;
    std::uint8_t bSeconds = 0;
    std::uint8_t bFrames = 0;
    friend bool operator==(const DVD_HMSF_TIMECODE&, const DVD_HMSF_TIMECODE&) = default;
};

// Flags of the DVD navigator's commands.
constexpr DWORD DVD_CMD_FLAG_None = 0, DVD_CMD_FLAG_Flush = 1, DVD_CMD_FLAG_Block = 4;

// The sample grabber: a filter that passes on samples of one media type.
struct ISampleGrabber : com::IUnknown {
    static constexpr com::IID Iid = com::IID_ISampleGrabber;
    // The media type the grabber accepts; the format block may be left empty.
    virtual HRESULT SetMediaType(const AM_MEDIA_TYPE* Type) = 0;
    // Whether the grabber keeps a copy of the last sample.
    virtual HRESULT SetBufferSamples(BOOL Buffer) = 0;
};

// --- The DVD navigator ---------------------------------------------------------------------------------

using ULONG = std::uint32_t;
using LCID = DWORD;

// Result codes of the DVD navigator.
constexpr HRESULT VFW_E_DVD_OPERATION_INHIBITED = static_cast<HRESULT>(0x80040276u);
constexpr HRESULT VFW_E_DVD_INVALIDDOMAIN = static_cast<HRESULT>(0x80040277u);
constexpr HRESULT VFW_E_DVD_NO_BUTTON = static_cast<HRESULT>(0x80040278u);
constexpr HRESULT VFW_E_DVD_GRAPHNOTREADY = static_cast<HRESULT>(0x80040279u);
constexpr HRESULT VFW_E_DVD_INVALID_DISC = static_cast<HRESULT>(0x80040291u);
constexpr HRESULT VFW_E_DVD_STREAM_DISABLED = static_cast<HRESULT>(0x8004028Bu);

enum DVD_DOMAIN {
    DVD_DOMAIN_FirstPlay = 1,
    DVD_DOMAIN_VideoManagerMenu = 2,
    DVD_DOMAIN_VideoTitleSetMenu = 3,
    DVD_DOMAIN_Title = 4,
    DVD_DOMAIN_Stop = 5,
};

enum DVD_MENU_ID {
    DVD_MENU_Title = 2,
    DVD_MENU_Root = 3,
    DVD_MENU_Subpicture = 4,
    DVD_MENU_Audio = 5,
    DVD_MENU_Angle = 6,
    DVD_MENU_Chapter = 7,
};

enum DVD_SUBPICTURE_LANG_EXT {
    DVD_SP_EXT_NotSpecified = 0,
    DVD_SP_EXT_Caption_Normal = 1,
    DVD_SP_EXT_Caption_Big = 2,
    DVD_SP_EXT_Caption_Children = 3,
};

enum DVD_DISC_SIDE { DVD_SIDE_A = 1, DVD_SIDE_B = 2 };

// Frame rates a time code counts its frames in (DVD_PLAYBACK_LOCATION2::TimeCodeFlags, GetTotalTitleTime).
constexpr ULONG DVD_TC_FLAG_25fps = 0x1, DVD_TC_FLAG_30fps = 0x2;

struct DVD_PLAYBACK_LOCATION2 {
    ULONG TitleNum = 0;   // in a menu: 0
    ULONG ChapterNum = 0; // in a menu: the menu's identifier
    DVD_HMSF_TIMECODE TimeCode;
    ULONG TimeCodeFlags = 0;
};

struct DVD_VideoAttributes {
    ULONG ulFrameRate = 0;   // 50 or 60 (fields)
    ULONG ulAspectX = 0;     // 4 or 16
    ULONG ulAspectY = 0;     // 3 or 9
    ULONG ulFrameHeight = 0; // 576 or 480
    ULONG ulSourceResolutionX = 0;
    ULONG ulSourceResolutionY = 0;
};

struct DVD_TitleAttributes {
    DVD_VideoAttributes VideoAttributes;
    ULONG ulNumberOfAudioStreams = 0;
    ULONG ulNumberOfSubpictureStreams = 0;
};

struct DVD_MenuAttributes {
    DVD_VideoAttributes VideoAttributes;
    ULONG ulNumberOfAudioStreams = 0;
    ULONG ulNumberOfSubpictureStreams = 0;
};

// The command object a navigator command may give back; this navigator gives none (the pointer is set to
// nullptr): every command has been applied when its call returns.
struct IDvdCmd : com::IUnknown {};

struct IDvdControl2 : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IDvdControl2;
    // The disc: a folder that holds VIDEO_TS (or is one), or an optical drive. Fails when no disc can be read
    // there (no disc files, files that are not a disc's, or a disc this machine cannot decrypt).
    virtual HRESULT SetDVDDirectory(LPCWSTR Path) = 0;
    virtual HRESULT PlayTitle(ULONG Title, DWORD Flags, IDvdCmd** Cmd) = 0;
    virtual HRESULT PlayChapterInTitle(ULONG Title, ULONG Chapter, DWORD Flags, IDvdCmd** Cmd) = 0;
    // A time in the title now playing (title domain only).
    virtual HRESULT PlayAtTime(DVD_HMSF_TIMECODE* Time, DWORD Flags, IDvdCmd** Cmd) = 0;
    virtual HRESULT PlayNextChapter(DWORD Flags, IDvdCmd** Cmd) = 0;
    virtual HRESULT PlayPrevChapter(DWORD Flags, IDvdCmd** Cmd) = 0;
    virtual HRESULT ShowMenu(DVD_MENU_ID Menu, DWORD Flags, IDvdCmd** Cmd) = 0;
    // Menu buttons 1..36 of the menu showing; points are in the video's own pixels.
    virtual HRESULT SelectButton(ULONG Button) = 0;
    virtual HRESULT ActivateButton() = 0;
    virtual HRESULT SelectAtPosition(win32::POINT Point) = 0;
    virtual HRESULT ActivateAtPosition(win32::POINT Point) = 0;
    // Plays forwards at Speed times the normal rate (above 0).
    virtual HRESULT PlayForwards(double Speed, DWORD Flags, IDvdCmd** Cmd) = 0;
    // Streams are counted from 0 in the title's (or menu's) own numbering.
    virtual HRESULT SelectAudioStream(ULONG Stream, DWORD Flags, IDvdCmd** Cmd) = 0;
    virtual HRESULT SelectSubpictureStream(ULONG Stream, DWORD Flags, IDvdCmd** Cmd) = 0;
    virtual HRESULT SetSubpictureState(BOOL On, DWORD Flags, IDvdCmd** Cmd) = 0;
    virtual HRESULT SelectDefaultSubpictureLanguage(LCID Language, DVD_SUBPICTURE_LANG_EXT Extension) = 0;
    // Angles are counted from 1.
    virtual HRESULT SelectAngle(ULONG Angle, DWORD Flags, IDvdCmd** Cmd) = 0;
};

struct IDvdInfo2 : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IDvdInfo2;
    // What is on the screen: the domain, title, chapter and time of the picture shown, not of what the
    // navigator reads ahead.
    virtual HRESULT GetCurrentDomain(DVD_DOMAIN* Domain) = 0;
    virtual HRESULT GetCurrentLocation(DVD_PLAYBACK_LOCATION2* Location) = 0;
    // The length of the title playing (title domain only).
    virtual HRESULT GetTotalTitleTime(DVD_HMSF_TIMECODE* Time, ULONG* TimeCodeFlags) = 0;
    // The buttons of the menu showing and the one highlighted (0 when none).
    virtual HRESULT GetCurrentButton(ULONG* Available, ULONG* Current) = 0;
    virtual HRESULT GetButtonAtPosition(win32::POINT Point, ULONG* Button) = 0;
    virtual HRESULT GetNumberOfChapters(ULONG Title, ULONG* Chapters) = 0;
    virtual HRESULT GetDVDVolumeInfo(ULONG* Volumes, ULONG* Volume, DVD_DISC_SIDE* Side, ULONG* Titles) = 0;
    virtual HRESULT GetTitleAttributes(ULONG Title, DVD_MenuAttributes* Menu,
                                       DVD_TitleAttributes* TitleAttributes) = 0;
    virtual HRESULT GetCurrentAudio(ULONG* Available, ULONG* Current) = 0;
    virtual HRESULT GetAudioLanguage(ULONG Stream, LCID* Language) = 0;
    // Disabled: the current stream is not shown (only the pictures a disc forces, such as menu buttons).
    virtual HRESULT GetCurrentSubpicture(ULONG* Available, ULONG* Current, BOOL* Disabled) = 0;
    virtual HRESULT GetSubpictureLanguage(ULONG Stream, LCID* Language) = 0;
    virtual HRESULT GetCurrentAngle(ULONG* Available, ULONG* Current) = 0;
};

// Held by the shared state; the player uses only the second versions.
struct IDvdControl : com::IUnknown {};
struct IDvdInfo : com::IUnknown {};
// Sets every media graph of the process to the stopped state and lets go of its pipeline, so that nothing
// plays while the program shuts down. The interfaces stay valid (they then report failures). Also run at
// exit.
void ShutdownMediaGraphs();
// What the thread that waits for a graph's pipeline (a render's preroll, a seek settling, a frame step) does
// meanwhile, every few milliseconds; by default nothing, and the wait blocks it. The hook returns false to
// give the wait up: the call that waited then fails (E_ABORT for a render). An empty hook stands for none.
void SetGraphWaitHook(std::function<bool()> Hook);

} // namespace dshow
