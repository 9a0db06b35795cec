#pragma once
// The media-graph service's interfaces as the player holds them. Their methods and implementations live with
// the media layer; the shared playback state only needs to hold counted references to them.

#include "platform/com/Unknown.h"

namespace dshow {

struct IBaseFilter : com::IUnknown {};
struct IGraphBuilder : com::IUnknown {};
struct IMediaControl : com::IUnknown {};
struct IMediaEventEx : com::IUnknown {};
struct IMediaSeeking : com::IUnknown {};
struct IBasicAudio : com::IUnknown {};
struct IVideoWindow : com::IUnknown {};
struct IVideoFrameStep : com::IUnknown {};
struct IMediaDet : com::IUnknown {};
struct ISampleGrabber : com::IUnknown {};
struct IDvdControl : com::IUnknown {};
struct IDvdInfo : com::IUnknown {};
struct IDvdControl2 : com::IUnknown {};
struct IDvdInfo2 : com::IUnknown {};
struct IVMRFilterConfig9 : com::IUnknown {};
struct IVMRWindowlessControl9 : com::IUnknown {};
struct IVMRMixerControl9 : com::IUnknown {};
struct IVMRFilterConfig : com::IUnknown {};
struct IVMRWindowlessControl : com::IUnknown {};
struct IVMRMixerControl : com::IUnknown {};

} // namespace dshow
