#pragma once
// The filter graph: one GStreamer pipeline that plays the files rendered into it, behind the graph's
// interfaces. Rendering is synchronous (it returns once the pipeline has prerolled, or failed and been taken
// down again); the layer drains the pipeline's bus itself; after the end of the stream the current position
// is the stop position exactly.

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/media/DvdNavigator.h"
#include "platform/media/Filters.h"
#include "platform/media/Interfaces.h"
#include "platform/media/VideoRenderer.h"

#include <gst/gst.h>

namespace dshow {

class FilterGraph final : public com::Object<IGraphBuilder, IMediaControl, IMediaEventEx, IMediaSeeking,
                                             IBasicAudio, IVideoWindow, IVideoFrameStep> {
public:
    FilterGraph();
    ~FilterGraph() override;

    // IGraphBuilder
    HRESULT AddFilter(IBaseFilter* Filter, LPCWSTR Name) override;
    HRESULT RemoveFilter(IBaseFilter* Filter) override;
    HRESULT RenderFile(LPCWSTR File, LPCWSTR PlayList) override;
    HRESULT AddSourceFilter(LPCWSTR File, LPCWSTR FilterName, IBaseFilter** Filter) override;
    HRESULT Render(IPin* Output) override;
    HRESULT Connect(IPin* Output, IPin* Input) override;

    // IMediaControl
    HRESULT Run() override;
    HRESULT Pause() override;
    HRESULT Stop() override;
    HRESULT GetState(LONG Timeout, OAFilterState* State) override;

    // IMediaEventEx
    HRESULT SetNotifyWindow(HWND Window, LONG Message, LONG_PTR InstanceData) override;

    // IMediaSeeking
    HRESULT GetDuration(LONGLONG* Duration) override;
    HRESULT GetStopPosition(LONGLONG* Stop) override;
    HRESULT GetCurrentPosition(LONGLONG* Current) override;
    HRESULT SetPositions(LONGLONG* Current, DWORD CurrentFlags, LONGLONG* Stop, DWORD StopFlags) override;
    HRESULT SetRate(double Rate) override;
    HRESULT GetRate(double* Rate) override;

    // IBasicAudio
    HRESULT put_Volume(LONG Volume) override;
    HRESULT get_Volume(LONG* Volume) override;
    HRESULT put_Balance(LONG Balance) override;
    HRESULT get_Balance(LONG* Balance) override;

    // IVideoWindow (the graph's own renderer in window mode)
    HRESULT put_Owner(HWND Owner) override;
    HRESULT get_Owner(HWND* Owner) override;
    HRESULT put_MessageDrain(HWND Drain) override;
    HRESULT put_WindowStyle(LONG Style) override;
    HRESULT get_WindowStyle(LONG* Style) override;
    HRESULT SetWindowPosition(LONG Left, LONG Top, LONG Width, LONG Height) override;
    HRESULT GetWindowPosition(LONG* Left, LONG* Top, LONG* Width, LONG* Height) override;
    HRESULT put_Visible(LONG Visible) override;
    HRESULT get_Visible(LONG* Visible) override;

    // IVideoFrameStep
    HRESULT Step(DWORD Frames, com::IUnknown* StepObject) override;
    HRESULT CanStep(LONG Multiple, com::IUnknown* StepObject) override;
    HRESULT CancelStep() override;

    // Stops the pipeline and lets go of it; every later call fails. Also what the destructor does.
    void Shutdown();

private:
    // What plays one source: the file (or disc) it reads, the element that decodes or splits it, and where
    // its video and audio went.
    struct Chain {
        FilterGraph* graph = nullptr;
        std::string file;
        com::ComPtr<IBaseFilter> sourceFilter; // the filter given out by AddSourceFilter, if any
        GstElement* source = nullptr;
        GstElement* decoder = nullptr;
        std::vector<std::string> preferred;
        GstElement* videoBranch = nullptr;
        bool audio = false;
        // Streams its decoder has given out (counted by the streaming threads).
        std::atomic<int> pads{0};
        // The audio branch's pad this file's sound goes to (a reference of ours), kept across stops.
        GstPad* audioSink = nullptr;

        Chain() = default;
        Chain(const Chain&) = delete;
        Chain& operator=(const Chain&) = delete;
        ~Chain() {
            if (audioSink != nullptr)
                gst_object_unref(audioSink);
        }
    };
    // A connection made by Connect: the filters and their pins' places.
    struct Edge {
        IBaseFilter* from = nullptr;
        int fromPin = 0;
        IBaseFilter* to = nullptr;
        int toPin = 0;
    };

    static GstBusSyncReply OnBusMessage(GstBus* Bus, GstMessage* Message, gpointer Self);
    static void OnDecodedPad(GstElement* Decoder, GstPad* Pad, gpointer ChainPtr);
    static GValueArray* OnAutoplugSort(GstElement* Decoder, GstPad* Pad, GstCaps* Caps,
                                       GValueArray* Factories, gpointer ChainPtr);

    void CreatePipeline();
    Chain* AddChain(const std::string& File, com::ComPtr<IBaseFilter> Source);
    HRESULT CompleteChain(Chain& C);
    void RememberChains();
    // Pauses the pipeline and waits until it has prerolled, failed or run out of time. Rendered, when given,
    // is the file being rendered, which must give a stream of its own.
    HRESULT Preroll(const Chain* Rendered = nullptr);
    void ResetPipeline();
    void ConnectDecodedPad(Chain& C, GstPad* Pad);
    void MixAudioOfEveryChain();
    GstPad* AddAudioInput();
    GstElement* CreateAudioBranch(bool Mixing);
    void ApplyAudio();
    std::shared_ptr<VideoRenderer> WindowRenderer() const;
    GstElement* VideoBranch() const;
    HRESULT ProbeSeeking();
    bool Seek(double Rate, LONGLONG Start, LONGLONG Stop);
    static bool VideoEnded(GstElement* Branch);
    void WakeStep();
    bool WaitForState(GstClockTime Limit);
    LONGLONG QueryDuration();
    void RefreshDuration();
    bool LengthKnown() const;
    LONGLONG StopPosition() const;

    // The DVD graph (FilterGraphDvd.cpp), built from the connections once the navigator's picture reaches a
    // video renderer.
    const Edge* EdgeFrom(IBaseFilter* Filter, const std::u16string& PinName) const;
    std::shared_ptr<VideoRenderer> RendererDownstreamOf(IBaseFilter* Filter, int Depth) const;
    std::vector<std::string> AudioDecodersDownstreamOf(IBaseFilter* Filter, bool& ReachesOutput,
                                                       int Depth) const;
    HRESULT BuildDvdGraph();
    static void OnDvdPad(GstElement* Demuxer, GstPad* Pad, gpointer Self);
    void ConnectDvdPad(GstPad* Pad);
    std::optional<std::int64_t> DvdPlaybackPosition();

    GstElement* pipeline_ = nullptr;
    GstQuery* positionQuery_ = nullptr;
    std::vector<std::pair<com::ComPtr<IBaseFilter>, std::u16string>> filters_;
    std::vector<Edge> edges_;
    std::vector<std::unique_ptr<Chain>> chains_;
    // Where video goes in the current pipeline; set under mutex_, as streaming threads read it.
    std::shared_ptr<VideoRenderer> renderer_;
    std::shared_ptr<VideoRenderer> ownRenderer_; // the graph's own, when no renderer filter was added

    std::mutex mutex_; // chains' elements, the renderer and the audio branch, touched by streaming threads
    GstElement* audioBranch_ = nullptr;
    GstElement* audioMixer_ = nullptr; // in the audio branch of a graph of more than one file
    // The DVD graph: the disc, where its pictures and subpictures go in, and how its audio is decoded.
    std::shared_ptr<DvdNavigator> dvd_;
    // The same for the bus handler, which may run while a streaming thread holds mutex_.
    std::mutex dvdMutex_;
    std::shared_ptr<DvdNavigator> dvdForBus_;
    GstElement* dvdVideoQueue_ = nullptr;
    GstElement* dvdSubpictureQueue_ = nullptr;
    GstElement* dvdAudioFunnel_ = nullptr;
    std::vector<std::string> dvdAudioDecoders_;
    GstElement* volume_ = nullptr;
    GstElement* panorama_ = nullptr;

    std::atomic<bool> ended_{false};
    // An error came since the last preroll or seek: during a preroll the render fails; after it, the stream
    // has ended.
    std::atomic<bool> failed_{false};
    bool seekable_ = true;
    std::atomic<int> decodedPads_{0};
    std::mutex stepMutex_;
    std::condition_variable stepDone_;
    int stepsDone_ = 0;
    bool stepReachedEnd_ = false; // the last step ended at the end of the stream

    OAFilterState state_ = State_Stopped;
    LONGLONG duration_ = 0;
    bool durationKnown_ = true; // false while no element has answered for the graph's length
    LONGLONG guessedLength_ = 0; // the latest length answered while it plays, when none was before (RefreshDuration)
    LONGLONG stop_ = -1;
    LONGLONG lastPosition_ = 0;
    LONGLONG pendingStart_ = -1;
    double rate_ = 1.0;
    LONG volumeLevel_ = 0;
    LONG balance_ = 0;
    LONG style_ = WS_CHILD | WS_CLIPSIBLINGS;
    HWND drain_ = nullptr;
    HWND notifyWindow_ = nullptr;
    LONG notifyMessage_ = 0;
};

} // namespace dshow
