#pragma once
// The mixer of a picture-in-picture pair as an open leaves it, without files: the renderer of a RenderType
// made into the shared state (windowless, two streams, clipped to a 640 x 480 video panel that the video
// fills), PlayType 3, file A full size in stream 0 and file B small in stream 1, alphas 0.8 and 0.6. The
// mixer is the real one, read back by the tests.

#include <string>

#include "core/MediaOpen.h"
#include "core/PipLayout.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "tests/support/MediaPanel.h"
#include "tests/support/RunTree.h"

namespace testing_support {

// A rectangle as text, for failure messages.
inline std::string Describe(const dshow::NORMALIZEDRECT& R) {
    return "(" + std::to_string(R.left) + ", " + std::to_string(R.top) + ", " + std::to_string(R.right) +
           ", " + std::to_string(R.bottom) + ")";
}

class PipMixer {
public:
    explicit PipMixer(TRenderType Renderer) : window(640, 480) {
        State.RenderType = Renderer;
        if (Renderer == RenderTypes::Vmr9)
            CreateVmr9();
        else if (Renderer == RenderTypes::Vmr7)
            CreateVmr7();
        State.PlayType = PlayTypes::Pip;
        State.IsPlaying = true;
        State.PipMainStream = 0;
        State.PipSmallStream = 1;
        WithPipMixer([](auto& Mixer) {
            Mixer.SetAlpha(0, 0.8f);
            Mixer.SetAlpha(1, 0.6f);
        });
        SetDestination(0, 0, 640, 480);
    }
    ~PipMixer() { ReleaseGraphInterfaces(); }
    PipMixer(const PipMixer&) = delete;
    PipMixer& operator=(const PipMixer&) = delete;

    // Where the video is drawn in the panel.
    void SetDestination(int Left, int Top, int Right, int Bottom) {
        const win32::RECT destination{Left, Top, Right, Bottom};
        if (State.Vmr9WindowlessControl)
            State.Vmr9WindowlessControl->SetVideoPosition(nullptr, &destination);
        if (State.Vmr7WindowlessControl)
            State.Vmr7WindowlessControl->SetVideoPosition(nullptr, &destination);
    }
    static dshow::NORMALIZEDRECT Rect(int Stream) {
        dshow::NORMALIZEDRECT rect{-9, -9, -9, -9};
        WithPipMixer([&](auto& Mixer) { Mixer.GetOutputRect(static_cast<dshow::DWORD>(Stream), &rect); });
        return rect;
    }
    static void SetRect(int Stream, const dshow::NORMALIZEDRECT& Rect) {
        WithPipMixer([&](auto& Mixer) { Mixer.SetOutputRect(static_cast<dshow::DWORD>(Stream), &Rect); });
    }
    static float Alpha(int Stream) {
        float alpha = -1.0f;
        WithPipMixer([&](auto& Mixer) { Mixer.GetAlpha(static_cast<dshow::DWORD>(Stream), &alpha); });
        return alpha;
    }
    static dshow::DWORD ZOrder(int Stream) {
        dshow::DWORD z = 99;
        WithPipMixer([&](auto& Mixer) { Mixer.GetZOrder(static_cast<dshow::DWORD>(Stream), &z); });
        return z;
    }
    // A [Pip] key as stored ("Value no find" when missing).
    static std::string Stored(const char* Key) { return ReadIniString("Pip", Key); }

    RunTree tree;
    MediaWindow window;
};

} // namespace testing_support
