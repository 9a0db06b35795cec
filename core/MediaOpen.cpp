#include "core/MediaOpen.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "platform/com/Guids.h"
#include "platform/win32/Window.h"

using namespace dshow;

namespace {

constexpr win32::DWORD ContextInprocServerAndHandler = com::CLSCTX_INPROC_SERVER | com::CLSCTX_INPROC_HANDLER;
constexpr win32::UINT WM_GRAPHNOTIFY = win32::WM_USER + 3;
constexpr int MinimumVideoWidth = 550, MinimumVideoHeight = 350;

std::map<int, double> AspectRatios;

// The size the file's video really has (0 x 0 when unknown): the ratio of display code 0 comes from it, not
// from the size raised to the minimum window size.
int NativeWidth = 0, NativeHeight = 0;

template <class T> com::ComPtr<T> CreateObject(const com::CLSID& Clsid, win32::DWORD Context) {
    void* raw = nullptr;
    if (com::FAILED(com::CoCreateInstance(Clsid, nullptr, Context, T::Iid, &raw)))
        return nullptr;
    return com::ComPtr<T>::Adopt(static_cast<T*>(raw));
}

template <class T> void Query(const com::ComPtr<IGraphBuilder>& Graph, com::ComPtr<T>& Into) {
    Into = com::QueryInterfaceOf<T>(Graph.Get());
}

// The renderer draws through the graph's video window: renderer 1000, the DVD graph, and a mixing renderer
// that could not be created for this open (the file then plays on the graph's own renderer in the panel).
// PlayType is that of the medium being placed.
bool DrawsThroughVideoWindow(int PlayType) {
    if (State.RenderType == RenderTypes::OwnRenderer || PlayType == PlayTypes::Dvd)
        return true;
    if (State.RenderType == RenderTypes::Vmr9)
        return !State.Vmr9WindowlessControl;
    if (State.RenderType == RenderTypes::Vmr7)
        return !State.Vmr7WindowlessControl;
    return true;
}

template <class Config, class Windowless, class Mixer>
bool CreateMixingRenderer(const com::CLSID& Clsid, const char16_t* Name, com::ComPtr<IBaseFilter>& Filter,
                          com::ComPtr<Config>& FilterConfig, com::ComPtr<Windowless>& WindowlessControl,
                          com::ComPtr<Mixer>& MixerControl) {
    Filter = CreateObject<IBaseFilter>(Clsid, ContextInprocServerAndHandler);
    if (!Filter)
        return false;
    if (State.GraphBuilder)
        State.GraphBuilder->AddFilter(Filter.Get(), Name);
    FilterConfig = com::QueryInterfaceOf<Config>(Filter.Get());
    if (FilterConfig) {
        FilterConfig->SetRenderingMode(VMRMode_Windowless);
        // The second stream serves picture-in-picture, which renders a second file into it.
        FilterConfig->SetNumberOfStreams(2);
    }
    WindowlessControl = com::QueryInterfaceOf<Windowless>(Filter.Get());
    if (WindowlessControl) {
        WindowlessControl->SetVideoClippingWindow(State.VideoPanelHandle);
        WindowlessControl->SetBorderColor(win32::RGB(0, 0, 0));
    }
    MixerControl = com::QueryInterfaceOf<Mixer>(Filter.Get());
    return true;
}

} // namespace

bool SameGuid(const com::GUID& A, const com::GUID& B) {
    return A.Data1 == B.Data1 && A.Data2 == B.Data2 && A.Data3 == B.Data3 &&
           std::equal(std::begin(A.Data4), std::end(A.Data4), std::begin(B.Data4));
}

int DetectRenderer() {
    State.Vmr9Available = false;
    State.Vmr7Available = false;
    if (CreateObject<IBaseFilter>(com::CLSID_VideoMixingRenderer9, ContextInprocServerAndHandler))
        State.Vmr9Available = true;
    else if (CreateObject<IBaseFilter>(com::CLSID_VideoMixingRenderer, ContextInprocServerAndHandler))
        State.Vmr7Available = true;
    if (State.Vmr9Available)
        return RenderTypes::Vmr9;
    if (State.Vmr7Available)
        return RenderTypes::Vmr7;
    return RenderTypes::OwnRenderer;
}

bool OpenMediaFile(const std::string& FileName) {
    std::error_code ec;
    if (FileName.empty() || !std::filesystem::exists(FileName, ec))
        return false;
    State.GraphBuilder = nullptr;
    State.MediaDet = nullptr;
    State.GraphBuilder = CreateObject<IGraphBuilder>(com::CLSID_FilterGraph, ContextInprocServerAndHandler);
    State.MediaDet = CreateObject<IMediaDet>(com::CLSID_MediaDet, com::CLSCTX_INPROC_SERVER);
    if (!State.GraphBuilder || !State.MediaDet) {
        ReleaseGraphInterfaces();
        return false;
    }
    switch (State.RenderType) {
    case RenderTypes::OwnRenderer:
        return RenderMediaFile(FileName);
    case RenderTypes::Vmr7:
        CreateVmr7();
        return RenderMediaFile(FileName);
    case RenderTypes::Vmr9:
        CreateVmr9();
        return RenderMediaFile(FileName);
    default:
        ReleaseGraphInterfaces();
        return false;
    }
}

bool CreateVmr9() {
    return CreateMixingRenderer(com::CLSID_VideoMixingRenderer9, u"Video Mixing Renderer 9", State.Vmr9Filter,
                                State.Vmr9FilterConfig, State.Vmr9WindowlessControl, State.Vmr9MixerControl);
}

bool CreateVmr7() {
    return CreateMixingRenderer(com::CLSID_VideoMixingRenderer, u"Video Mixing Renderer", State.Vmr7Filter,
                                State.Vmr7FilterConfig, State.Vmr7WindowlessControl, State.Vmr7MixerControl);
}

bool IsRealMediaFile(const std::string& FileName) {
    const std::size_t dot = FileName.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = FileName.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".rm" || extension == ".rmvb";
}

bool RenderMediaFile(const std::string& FileName) {
    const std::u16string wide = com::WideString(FileName);
    const com::HRESULT rendered = IsRealMediaFile(FileName) ? BuildRealMediaGraph(wide)
                                                           : State.GraphBuilder->RenderFile(wide.c_str(), nullptr);
    // A file that does not render or run is not shown as playing: the graph goes, the state stays as it was.
    if (com::FAILED(rendered) || !FinishMediaOpen()) {
        ReleaseGraphInterfaces();
        return false;
    }
    return true;
}

com::HRESULT AddFilterByClsid(IGraphBuilder* Graph, const com::CLSID& Clsid, const std::u16string& Name,
                              com::ComPtr<IBaseFilter>& Filter) {
    Filter = nullptr;
    void* raw = nullptr;
    const com::HRESULT created = com::CoCreateInstance(Clsid, nullptr, ContextInprocServerAndHandler,
                                                       IBaseFilter::Iid, &raw);
    if (com::FAILED(created))
        return created;
    auto filter = com::ComPtr<IBaseFilter>::Adopt(static_cast<IBaseFilter*>(raw));
    const com::HRESULT added = Graph->AddFilter(filter.Get(), Name.c_str());
    if (com::SUCCEEDED(added))
        Filter = filter;
    return added;
}

com::HRESULT BuildRealMediaGraph(const std::u16string& FileName) {
    IBaseFilter* rawSource = nullptr;
    const com::HRESULT sourced =
        State.GraphBuilder->AddSourceFilter(FileName.c_str(), u"Quorel real source filter", &rawSource);
    if (com::FAILED(sourced))
        return sourced;
    auto source = com::ComPtr<IBaseFilter>::Adopt(rawSource);
    // Each filter that cannot be made or added is skipped; the graph finds another for its job.
    com::ComPtr<IBaseFilter> splitter, audioDecoder, ac3, videoDecoder, audioOutput;
    AddFilterByClsid(State.GraphBuilder.Get(), com::CLSID_RealMediaSplitter, u"realmedia splitter", splitter);
    AddFilterByClsid(State.GraphBuilder.Get(), com::CLSID_RealAudioDecoder, u"realAudio decoder", audioDecoder);
    AddFilterByClsid(State.GraphBuilder.Get(), com::CLSID_AC3Filter, u"AC3filter", ac3);
    AddFilterByClsid(State.GraphBuilder.Get(), com::CLSID_RealVideoDecoder, u"realVideo decoder", videoDecoder);
    AddFilterByClsid(State.GraphBuilder.Get(), com::CLSID_DSoundRender, u"default directsound device",
                     audioOutput);

    com::ComPtr<IPin> output;
    IEnumPins* rawPins = nullptr;
    if (com::SUCCEEDED(source->EnumPins(&rawPins))) {
        auto pins = com::ComPtr<IEnumPins>::Adopt(rawPins);
        pins->Reset();
        IPin* pin = nullptr;
        while (pins->Next(1, &pin, nullptr) == com::S_OK) {
            auto held = com::ComPtr<IPin>::Adopt(pin);
            PIN_DIRECTION direction = PINDIR_INPUT;
            if (com::SUCCEEDED(held->QueryDirection(&direction)) && direction == PINDIR_OUTPUT)
                output = held;
        }
    }
    if (!output)
        return VFW_E_NOT_FOUND;
    return State.GraphBuilder->Render(output.Get());
}

bool FinishMediaOpen() {
    Query(State.GraphBuilder, State.MediaControl);
    Query(State.GraphBuilder, State.MediaEventEx);
    Query(State.GraphBuilder, State.MediaSeeking);
    Query(State.GraphBuilder, State.BasicAudio);
    Query(State.GraphBuilder, State.VideoWindow);
    Query(State.GraphBuilder, State.VideoFrameStep);
    // A length not known yet counts as none (the progress tick shows it once the stream tells it).
    if (State.MediaSeeking && com::FAILED(State.MediaSeeking->GetStopPosition(&State.MediaDuration)))
        State.MediaDuration = 0;
    if (State.MediaEventEx)
        State.MediaEventEx->SetNotifyWindow(State.VideoPanelHandle, static_cast<win32::LONG>(WM_GRAPHNOTIFY), 0);
    GetMediaVideoInfo(com::WideString(State.CurrentMediaFile), State.FrameRate, State.VideoWidth,
                      State.VideoHeight);
    InitAspectTable();
    MaximizeIfVideoTooLarge();
    // The system's wave-output volume is left alone: setting it here would silence the right channel.
    if (State.BasicAudio) {
        State.BasicAudio->put_Volume(State.isSlience ? -10000 : State.VolumeAttenuation);
        State.BasicAudio->put_Balance(State.SoundBalance);
    }
    if (DrawsThroughVideoWindow(PlayTypes::MediaFile) && State.VideoWindow) {
        State.VideoWindow->put_Owner(State.VideoPanelHandle);
        State.VideoWindow->put_MessageDrain(State.VideoPanelHandle);
        State.VideoWindow->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
    }
    // The video is placed as a file's: PlayType may still name what played before (the DVD's 2 draws
    // through the video window, which a windowless renderer does not have).
    PlaceVideo(PlayTypes::MediaFile);
    if (!State.MediaControl || com::FAILED(State.MediaControl->Run()))
        return false;
    State.IsPlaying = true;
    State.IsPaused = false;
    State.PlayType = PlayTypes::MediaFile;
    return true;
}

void GetMediaVideoInfo(const std::u16string& FileName, double& FrameRate, int& Width, int& Height) {
    NativeWidth = NativeHeight = 0;
    if (!State.MediaDet)
        return;
    Width = std::max(Width, MinimumVideoWidth);
    Height = std::max(Height, MinimumVideoHeight);
    IMediaDet* det = State.MediaDet.Get();
    win32::LONG streams = 0;
    if (com::FAILED(det->put_Filename(FileName.c_str())) || com::FAILED(det->get_OutputStreams(&streams)))
        return;
    bool found = false;
    for (win32::LONG i = 0; i < streams && !found; ++i) {
        com::GUID type;
        if (com::FAILED(det->put_CurrentStream(i)) || com::FAILED(det->get_StreamType(&type)))
            return;
        found = SameGuid(type, com::MEDIATYPE_Video);
    }
    if (!found)
        return;
    double length = 0;
    if (com::FAILED(det->get_FrameRate(&FrameRate)) || com::FAILED(det->get_StreamLength(&length)))
        return;
    AM_MEDIA_TYPE media;
    if (com::FAILED(det->get_StreamMediaType(&media)))
        return;
    if (SameGuid(media.formattype, com::FORMAT_VideoInfo) && media.cbFormat() >= sizeof(VIDEOINFOHEADER)) {
        VIDEOINFOHEADER header;
        std::memcpy(&header, media.pbFormat(), sizeof header);
        NativeWidth = header.bmiHeader.biWidth;
        NativeHeight = std::abs(header.bmiHeader.biHeight);
        // The floor is for the window: the size is raised as a whole, so that it keeps the video's shape.
        if (NativeWidth > 0 && NativeHeight > 0) {
            const double scale = std::max({1.0, static_cast<double>(MinimumVideoWidth) / NativeWidth,
                                           static_cast<double>(MinimumVideoHeight) / NativeHeight});
            Width = static_cast<int>(std::ceil(NativeWidth * scale - 1e-9));
            Height = static_cast<int>(std::ceil(NativeHeight * scale - 1e-9));
        }
        Width = std::max(Width, MinimumVideoWidth);
        Height = std::max(Height, MinimumVideoHeight);
    }
}

void SetNativeVideoSize(int Width, int Height) {
    NativeWidth = Width;
    NativeHeight = Height;
}

void InitAspectTable() {
    if (NativeWidth > 0 && NativeHeight > 0)
        AspectRatios[0] = static_cast<double>(NativeHeight) / NativeWidth;
    else if (State.VideoWidth > 0 && State.VideoHeight > 0)
        AspectRatios[0] = static_cast<double>(State.VideoHeight) / State.VideoWidth;
    else
        AspectRatios[0] = 0.75;
    AspectRatios[1] = 0.75;
    AspectRatios[2] = 0.8;
    AspectRatios[4] = 0.5625;
    AspectRatios[-1] = 1.0;
}

double AspectForType(int Code) {
    if (AspectRatios.empty())
        InitAspectTable();
    // A hand-edited display code without a ratio shows the video's own.
    auto found = AspectRatios.find(Code);
    return found != AspectRatios.end() ? found->second : AspectRatios[0];
}

void FitVideoRect(int Code, int W, int H, int& Left, int& Top, int& Width, int& Height) {
    W = std::max(W, 0);
    H = std::max(H, 0);
    if (Code == VideoScales::Fill) {
        Left = 0;
        Top = 0;
        Width = W;
        Height = H;
        return;
    }
    const double r = AspectForType(Code);
    Width = W;
    while (Width > 0 && std::trunc(Width * r) > H)
        --Width;
    Height = static_cast<int>(std::trunc(Width * r));
    Left = (W - Width) / 2;
    Top = (H - Height) / 2;
}

void FitVideoInPanel(int& Left, int& Top, int& Width, int& Height) {
    win32::RECT client;
    win32::GetClientRect(State.VideoPanelHandle, &client);
    FitVideoRect(State.VideoScale, client.right - client.left, client.bottom - client.top, Left, Top, Width,
                 Height);
}

namespace {

// Steps 2 to 4 of placing the video of a medium of PlayType: the rectangle to the renderer, then the panel
// repainted.
void ApplyVideoRect(int PlayType) {
    const TVideoRect& r = State.VideoRect;
    if (DrawsThroughVideoWindow(PlayType)) {
        if (State.VideoWindow)
            State.VideoWindow->SetWindowPosition(r.Left, r.Top, r.Width, r.Height);
    } else {
        const win32::RECT destination{r.Left, r.Top, r.Left + r.Width, r.Top + r.Height};
        if (State.RenderType == RenderTypes::Vmr7 && State.Vmr7WindowlessControl)
            State.Vmr7WindowlessControl->SetVideoPosition(nullptr, &destination);
        else if (State.RenderType == RenderTypes::Vmr9 && State.Vmr9WindowlessControl)
            State.Vmr9WindowlessControl->SetVideoPosition(nullptr, &destination);
    }
    win32::InvalidateRect(State.VideoPanelHandle, nullptr, win32::TRUE);
}

} // namespace

void PlaceVideoInWindow(int PlayType) {
    TVideoRect& r = State.VideoRect;
    FitVideoInPanel(r.Left, r.Top, r.Width, r.Height);
    ApplyVideoRect(PlayType);
}

void PlaceVideoInWindow() {
    PlaceVideoInWindow(State.PlayType);
}

void ResizeMainToVideo(int& PanelWidth, int& PanelHeight) {
    win32::RECT window, panel;
    win32::GetWindowRect(State.MainWindowHandle, &window);
    win32::GetClientRect(State.VideoPanelHandle, &panel);
    int left = 0, top = 0, videoWidth = 0, videoHeight = 0;
    FitVideoRect(State.VideoScale, State.VideoWidth, State.VideoHeight, left, top, videoWidth, videoHeight);
    const int width = (window.right - window.left) + (videoWidth - (panel.right - panel.left));
    const int height = (window.bottom - window.top) + (videoHeight - (panel.bottom - panel.top));
    win32::MoveWindow(State.MainWindowHandle, (win32::GetSystemMetrics(win32::SM_CXSCREEN) - width) / 2,
                      (win32::GetSystemMetrics(win32::SM_CYSCREEN) - height) / 2, width, height, win32::TRUE);
    win32::GetClientRect(State.VideoPanelHandle, &panel);
    PanelWidth = panel.right - panel.left;
    PanelHeight = panel.bottom - panel.top;
}

void FitWindowToVideo(int PlayType) {
    ResizeMainToVideo(State.VideoRect.Width, State.VideoRect.Height);
    State.VideoRect.Left = 0;
    State.VideoRect.Top = 0;
    ApplyVideoRect(PlayType);
}

void FitWindowToVideo() {
    FitWindowToVideo(State.PlayType);
}

void PlaceVideo(int PlayType) {
    if (win32::IsZoomed(State.MainWindowHandle) ||
        ReadIniInteger("PlayControl", "WhileOpenMedia") == WhileOpenMedias::VideoFitsWindow)
        PlaceVideoInWindow(PlayType);
    else
        FitWindowToVideo(PlayType);
}

void PlaceVideo() {
    PlaceVideo(State.PlayType);
}

void MaximizeIfVideoTooLarge() {
    // A window that fills the screen already (full screen included) stays as it is.
    if (win32::IsZoomed(State.MainWindowHandle))
        return;
    const int screenWidth = win32::GetSystemMetrics(win32::SM_CXSCREEN);
    const int screenHeight = win32::GetSystemMetrics(win32::SM_CYSCREEN);
    if (screenWidth > State.VideoWidth + 209 && screenHeight > State.VideoHeight + 127)
        return;
    win32::ShowWindow(State.MainWindowHandle, win32::SW_SHOWMAXIMIZED);
}
