#include "core/PipLayout.h"

#include <array>

#include "core/MediaOpen.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "core/WindowMessages.h"
#include "platform/com/Guids.h"
#include "platform/forms/Forms.h"
#include "platform/win32/Window.h"

using namespace dshow;

namespace {

constexpr win32::DWORD ContextInprocServerAndHandler = com::CLSCTX_INPROC_SERVER | com::CLSCTX_INPROC_HANDLER;
constexpr float MainAlpha = 0.8f;
constexpr float SmallAlpha = 0.6f;

// The standard positions 1..5 (left, top, right, bottom).
constexpr std::array<NORMALIZEDRECT, 5> StandardPositions{{
    {0.0f, 0.0f, 0.5f, 0.5f},
    {0.5f, 0.0f, 1.0f, 0.5f},
    {0.0f, 0.5f, 0.5f, 1.0f},
    {0.5f, 0.5f, 1.0f, 1.0f},
    {0.25f, 0.25f, 0.75f, 0.75f},
}};

template <class T> com::ComPtr<T> CreateObject(const com::CLSID& Clsid, win32::DWORD Context) {
    void* raw = nullptr;
    if (com::FAILED(com::CoCreateInstance(Clsid, nullptr, Context, T::Iid, &raw)))
        return nullptr;
    return com::ComPtr<T>::Adopt(static_cast<T*>(raw));
}

template <class T> void Query(com::ComPtr<T>& Into) {
    Into = com::QueryInterfaceOf<T>(State.GraphBuilder.Get());
}

void ShowInvalidMediaFile() {
    forms::Application().MessageBox("无效或错误的媒体文件!", "Information",
                                    win32::MB_OK | win32::MB_ICONINFORMATION);
}

// The small picture is drawn over the big one whichever stream carries it (a nearer stream has a lower Z):
// after a swap too, it stays in front.
template <class Mixer> void KeepSmallPictureInFront(Mixer& M) {
    M.SetZOrder(static_cast<DWORD>(State.PipSmallStream), 0);
    M.SetZOrder(static_cast<DWORD>(State.PipMainStream), 1);
}

// Steps 2 to 4 of an open: a new graph and detector, the renderer, both files rendered. False when any of
// them failed.
bool RenderPipPair(bool (*CreateRenderer)(), const std::string& FileA, const std::string& FileB) {
    State.GraphBuilder = nullptr;
    State.MediaDet = nullptr;
    State.GraphBuilder = CreateObject<IGraphBuilder>(com::CLSID_FilterGraph, ContextInprocServerAndHandler);
    State.MediaDet = CreateObject<IMediaDet>(com::CLSID_MediaDet, com::CLSCTX_INPROC_SERVER);
    if (!State.GraphBuilder || !State.MediaDet)
        return false;
    CreateRenderer();
    // File A's video goes to mixer stream 0, file B's to stream 1.
    return com::SUCCEEDED(State.GraphBuilder->RenderFile(com::WideString(FileA).c_str(), nullptr)) &&
           com::SUCCEEDED(State.GraphBuilder->RenderFile(com::WideString(FileB).c_str(), nullptr));
}

bool FinishPipOpen(const std::string& FileA, const std::string& FileB);

// An open of the pair with one renderer. A half-built graph is never kept: whatever failed, everything the
// open made is released and the user is told.
bool OpenPipWith(bool (*CreateRenderer)(), const std::string& FileA, const std::string& FileB) {
    if (FileA.empty() || FileB.empty()) {
        ShowInvalidMediaFile();
        return false;
    }
    if (!RenderPipPair(CreateRenderer, FileA, FileB) || !FinishPipOpen(FileA, FileB)) {
        ReleaseGraphInterfaces();
        ShowInvalidMediaFile();
        return false;
    }
    return true;
}

// The steps after the render, the same for both renderers: each operation on the mixer goes to the one of the
// renderer in use.
bool FinishPipOpen(const std::string& FileA, const std::string& FileB) {
    Query(State.MediaControl);
    Query(State.MediaEventEx);
    Query(State.MediaSeeking);
    Query(State.BasicAudio);
    Query(State.VideoWindow);
    Query(State.VideoFrameStep);
    if (State.MediaEventEx)
        State.MediaEventEx->SetNotifyWindow(State.VideoPanelHandle, static_cast<LONG>(WM_GRAPHNOTIFY), 0);
    if (State.MediaSeeking && com::FAILED(State.MediaSeeking->GetStopPosition(&State.MediaDuration)))
        State.MediaDuration = 0;
    // File B is measured first: the aspect table takes the video's own shape from the last file measured,
    // and that is to be file A's, whose size the window takes.
    GetMediaVideoInfo(com::WideString(FileB), State.PipFrameRateB, State.PipWidthB, State.PipHeightB);
    GetMediaVideoInfo(com::WideString(FileA), State.PipFrameRateA, State.PipWidthA, State.PipHeightA);
    State.CurrentMediaFile = FileA;
    SelectPipMedia(State.CurrentMediaFile);
    InitAspectTable();
    MaximizeIfVideoTooLarge();
    // The system's wave-output volume is left alone; the graph's one output carries both files' sound.
    if (State.BasicAudio) {
        State.BasicAudio->put_Volume(State.isSlience ? -10000 : State.VolumeAttenuation);
        State.BasicAudio->put_Balance(State.SoundBalance);
    }
    PlaceVideo(PlayTypes::Pip);
    if (!State.MediaControl || com::FAILED(State.MediaControl->Run()))
        return false;
    State.IsPlaying = true;
    State.IsPaused = false;
    State.PlayType = PlayTypes::Pip;
    State.PipMainStream = 0;
    State.PipSmallStream = 1;
    ApplyPipPosition();
    WithPipMixer([](auto& Mixer) {
        Mixer.SetAlpha(static_cast<DWORD>(State.PipMainStream), MainAlpha);
        Mixer.SetAlpha(static_cast<DWORD>(State.PipSmallStream), SmallAlpha);
        KeepSmallPictureInFront(Mixer);
    });
    return true;
}

template <class Mixer> void SwapPipOn(Mixer* M) {
    if (M == nullptr)
        return;
    NORMALIZEDRECT r0, r1;
    if (com::FAILED(M->GetOutputRect(0, &r0)) || com::FAILED(M->GetOutputRect(1, &r1)))
        return;
    M->SetOutputRect(0, &r1);
    M->SetOutputRect(1, &r0);
    std::swap(State.PipMainStream, State.PipSmallStream);
    KeepSmallPictureInFront(*M);
}

void WritePipKey(const char* Key, int Value) {
    const std::string text = std::to_string(Value);
    if (ReadIniString("Pip", Key) != text)
        WriteIniString("Pip", Key, text);
}

} // namespace

bool OpenPip(const std::string& FileA, const std::string& FileB) {
    switch (State.RenderType) {
    case RenderTypes::Vmr7:
        return OpenPipVmr7(FileA, FileB);
    case RenderTypes::Vmr9:
        return OpenPipVmr9(FileA, FileB);
    default:
        return false;
    }
}

bool OpenPipVmr7(const std::string& FileA, const std::string& FileB) {
    return OpenPipWith(&CreateVmr7, FileA, FileB);
}

bool OpenPipVmr9(const std::string& FileA, const std::string& FileB) {
    return OpenPipWith(&CreateVmr9, FileA, FileB);
}

void SelectPipMedia(const std::string& FileName) {
    if (FileName == State.pipMediaFileA) {
        State.FrameRate = State.PipFrameRateA;
        State.VideoWidth = State.PipWidthA;
        State.VideoHeight = State.PipHeightA;
    } else if (FileName == State.pipMediaFileB) {
        State.FrameRate = State.PipFrameRateB;
        State.VideoWidth = State.PipWidthB;
        State.VideoHeight = State.PipHeightB;
    }
}

void ApplyPipPosition() {
    const int positionType = ReadIniInteger("Pip", "PositionType");
    if (positionType == PipPositionTypes::Preset) {
        SetPipStandardPosition(ReadIniInteger("Pip", "SmallPosition"));
    } else if (positionType == PipPositionTypes::Free) {
        const int left = ReadIniInteger("Pip", "SmallLeft");
        const int top = ReadIniInteger("Pip", "SmallTop");
        int right = ReadIniInteger("Pip", "SmallRight");
        int bottom = ReadIniInteger("Pip", "SmallBottom");
        // A span of the whole width or height is cut to half.
        if (right - left >= 100)
            right = left + 50;
        if (bottom - top >= 100)
            bottom = top + 50;
        SetPipCustomRect(left, top, right, bottom);
    }
}

void SetPipStandardPosition(int Preset) {
    // A preset without a rectangle (a hand-edited SmallPosition) changes nothing, on screen or in the file.
    if (Preset < PipPositions::TopLeft || Preset > PipPositions::Centre)
        return;
    const NORMALIZEDRECT rect = StandardPositions[static_cast<std::size_t>(Preset - 1)];
    WithPipMixer([&](auto& Mixer) { Mixer.SetOutputRect(static_cast<DWORD>(State.PipSmallStream), &rect); });
    WritePipSmallPosition(Preset);
    WritePipPositionType(PipPositionTypes::Preset);
}

void SetPipCustomRect(int Left, int Top, int Right, int Bottom) {
    // A rectangle without area (edges never stored read -1 each; bars showing nothing give 0s) would hide the
    // small picture for good: it is neither shown nor stored.
    if (Left == Right || Top == Bottom)
        return;
    const NORMALIZEDRECT rect{static_cast<float>(Left) / 100.0f, static_cast<float>(Top) / 100.0f,
                              static_cast<float>(Right) / 100.0f, static_cast<float>(Bottom) / 100.0f};
    WithPipMixer([&](auto& Mixer) { Mixer.SetOutputRect(static_cast<DWORD>(State.PipSmallStream), &rect); });
    WritePipRect(Left, Top, Right, Bottom);
}

void SwapPipVmr7() {
    SwapPipOn(State.Vmr7MixerControl.Get());
}

void SwapPipVmr9() {
    SwapPipOn(State.Vmr9MixerControl.Get());
}

void SwapPip() {
    if (State.RenderType == RenderTypes::Vmr7)
        SwapPipVmr7();
    else if (State.RenderType == RenderTypes::Vmr9)
        SwapPipVmr9();
    if (State.PlayListWindowHandle != nullptr)
        win32::PostMessage(State.PlayListWindowHandle, WM_PLAYLIST_PIPITEM, 0, State.PipMainStream);
}

void WritePipPositionType(int Value) {
    WritePipKey("PositionType", Value);
}

void WritePipSmallPosition(int Preset) {
    WritePipKey("SmallPosition", Preset);
}

void WritePipRect(int Left, int Top, int Right, int Bottom) {
    if (Left == Right || Top == Bottom)
        return; // no area: no place to keep
    WritePipKey("SmallLeft", Left);
    WritePipKey("SmallTop", Top);
    WritePipKey("SmallRight", Right);
    WritePipKey("SmallBottom", Bottom);
}
