#pragma once
// The media-graph service's interfaces, in the shape the player calls them. Implemented over GStreamer by
// this layer (objects made through com::CoCreateInstance with the identifiers of platform/com/Guids.h).
//
// Times are in 100-nanosecond units. File names are UTF-16 (com::WideString). Every method returns an
// HRESULT; out-parameters are left alone on failure.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/com/Guids.h"
#include "platform/com/Unknown.h"
#include "platform/win32/Types.h"

namespace dshow {

using com::GUID;
using com::HRESULT;
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

struct IPin : com::IUnknown {
    static constexpr com::IID Iid = com::IID_IPin;
    virtual HRESULT QueryDirection(PIN_DIRECTION* Direction) = 0;
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
    // Source: a part of the video (nullptr: all of it); destination: client coordinates of the clipping window.
    virtual HRESULT SetVideoPosition(const RECT* Source, const RECT* Destination) = 0;
    virtual HRESULT GetVideoPosition(RECT* Source, RECT* Destination) = 0;
    virtual HRESULT SetVideoClippingWindow(HWND Window) = 0;
    // Draws the current picture again into Window (the clipping window).
    virtual HRESULT RepaintVideo(HWND Window) = 0;
    virtual HRESULT SetBorderColor(COLORREF Colour) = 0;
    virtual HRESULT GetBorderColor(COLORREF* Colour) = 0;
    // Ours, for taking each picture of a mixed pair on its own: the last frame of Stream as it is drawn (at its
    // output rectangle's size, never mirrored), 32-bit pixels (blue, green, red, unused) in rows from the top.
    // VFW_E_NOT_CONNECTED before the stream's first frame.
    virtual HRESULT GetStreamImage(DWORD Stream, LONG* Width, LONG* Height, std::vector<std::uint8_t>* Pixels) = 0;
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

// Held by the shared state; declared with the DVD graph's work.
struct ISampleGrabber : com::IUnknown {};
struct IDvdControl : com::IUnknown {};
struct IDvdInfo : com::IUnknown {};
struct IDvdControl2 : com::IUnknown {};
struct IDvdInfo2 : com::IUnknown {};

// Sets every media graph of the process to the stopped state and lets go of its pipeline, so that nothing
// plays while the program shuts down. The interfaces stay valid (they then report failures). Also run at exit.
void ShutdownMediaGraphs();

} // namespace dshow
