// The filter graph's connections and the DVD graph built from them: the navigator's source element, the
// program-stream demuxer, the MPEG video decoder with the subpicture overlay into the video renderer, and the
// disc's audio decoded into the graph's audio output.

#include <algorithm>
#include <cstring>

#include "platform/media/DvdFilters.h"
#include "platform/media/DvdSource.h"
#include "platform/media/FilterGraph.h"
#include "platform/win32/Window.h"

namespace dshow {

using com::E_POINTER;
using com::S_OK;

namespace {

constexpr HRESULT VFW_E_INVALID_DIRECTION = static_cast<HRESULT>(0x80040208u);
constexpr HRESULT VFW_E_ALREADY_CONNECTED = static_cast<HRESULT>(0x80040204u);
constexpr HRESULT VFW_E_NO_ACCEPTABLE_TYPES = static_cast<HRESULT>(0x80040207u);
constexpr HRESULT VFW_E_NOT_IN_GRAPH = static_cast<HRESULT>(0x8004025Fu);

// Connections follow no loop and no chain longer than a real graph's.
constexpr int DepthLimit = 16;

FilterRole* RoleOf(IBaseFilter* Filter) {
    return dynamic_cast<FilterRole*>(Filter);
}

bool Accepts(const PinShape& Output, const PinShape& Input) {
    const StreamKind given = Output.Kinds.empty() ? StreamKind::Any : Output.Kinds.front();
    if (given == StreamKind::Any)
        return true;
    return std::any_of(Input.Kinds.begin(), Input.Kinds.end(),
                       [&](StreamKind k) { return k == StreamKind::Any || k == given; });
}

std::vector<std::string> Available(const std::vector<std::string>& Factories) {
    return AvailableFactories(Factories);
}

// The first of the decoders for the disc's audio of these caps that the machine has (with its parser first
// where the decoder needs one).
std::vector<std::string> AudioChainFor(const gchar* Caps, const std::vector<std::string>& Offered) {
    struct Route {
        const char* caps;
        std::vector<std::string> decoders;
        const char* parser;
    };
    static const Route routes[] = {
        {"audio/x-private1-ac3", {"a52dec", "avdec_ac3"}, nullptr},
        {"audio/x-private1-dts", {"dtsdec", "avdec_dca"}, nullptr},
        {"audio/x-private1-lpcm", {"dvdlpcmdec"}, nullptr},
        {"audio/mpeg", {"mpg123audiodec", "avdec_mp2float", "avdec_mp3"}, "mpegaudioparse"},
    };
    for (const Route& route : routes) {
        if (std::strcmp(route.caps, Caps) != 0)
            continue;
        // The decoders the graph's audio decoder filter stands for come first.
        std::vector<std::string> order;
        for (const std::string& name : Offered)
            if (std::find(route.decoders.begin(), route.decoders.end(), name) != route.decoders.end())
                order.push_back(name);
        for (const std::string& name : route.decoders)
            if (std::find(order.begin(), order.end(), name) == order.end())
                order.push_back(name);
        const std::vector<std::string> found = Available(order);
        if (found.empty())
            return {};
        if (route.parser != nullptr)
            return {route.parser, found.front()};
        return {found.front()};
    }
    return {};
}

} // namespace

// --- Connections --------------------------------------------------------------------------------------

HRESULT FilterGraph::Connect(IPin* Output, IPin* Input) {
    auto* out = dynamic_cast<Pin*>(Output);
    auto* in = dynamic_cast<Pin*>(Input);
    if (out == nullptr || in == nullptr)
        return E_POINTER;
    if (out->Shape().Direction != PINDIR_OUTPUT || in->Shape().Direction != PINDIR_INPUT)
        return VFW_E_INVALID_DIRECTION;
    const auto inGraph = [&](IBaseFilter* f) {
        return std::any_of(filters_.begin(), filters_.end(),
                           [&](auto& entry) { return entry.first.Get() == f; });
    };
    if (!inGraph(out->Owner()) || !inGraph(in->Owner()))
        return VFW_E_NOT_IN_GRAPH;
    for (const Edge& e : edges_)
        if ((e.from == out->Owner() && e.fromPin == out->Index()) ||
            (e.to == in->Owner() && e.toPin == in->Index()))
            return VFW_E_ALREADY_CONNECTED;
    if (!Accepts(out->Shape(), in->Shape()))
        return VFW_E_NO_ACCEPTABLE_TYPES;
    edges_.push_back({out->Owner(), out->Index(), in->Owner(), in->Index()});
    // The graph is built once the disc's picture reaches a renderer; what is connected later adds nothing.
    if (dvd_ || chains_.size() > 0)
        return S_OK;
    IBaseFilter* navigator = nullptr;
    for (auto& [filter, name] : filters_)
        if (FilterRole* role = RoleOf(filter.Get());
            role != nullptr && role->Kind() == FilterKind::DvdNavigator)
            navigator = filter.Get();
    const Edge* video = navigator != nullptr ? EdgeFrom(navigator, u"Video") : nullptr;
    if (video == nullptr || !RendererDownstreamOf(video->to, 0))
        return S_OK;
    const HRESULT built = BuildDvdGraph();
    if (com::FAILED(built))
        edges_.pop_back();
    return built;
}

const FilterGraph::Edge* FilterGraph::EdgeFrom(IBaseFilter* Filter, const std::u16string& PinName) const {
    FilterRole* role = RoleOf(Filter);
    if (role == nullptr)
        return nullptr;
    const std::vector<PinShape> pins = role->Pins();
    for (const Edge& e : edges_)
        if (e.from == Filter && e.fromPin >= 0 && e.fromPin < static_cast<int>(pins.size()) &&
            pins[static_cast<std::size_t>(e.fromPin)].Name == PinName)
            return &e;
    return nullptr;
}

// The renderer that pictures leaving Filter reach (through decoders and mixers); nullptr when none.
std::shared_ptr<VideoRenderer> FilterGraph::RendererDownstreamOf(IBaseFilter* Filter, int Depth) const {
    FilterRole* role = RoleOf(Filter);
    if (role == nullptr || Depth > DepthLimit)
        return nullptr;
    if (role->Kind() == FilterKind::VideoRenderer)
        return role->Renderer();
    const std::vector<PinShape> pins = role->Pins();
    for (const Edge& e : edges_) {
        if (e.from != Filter || e.fromPin < 0 || e.fromPin >= static_cast<int>(pins.size()))
            continue;
        const PinShape& pin = pins[static_cast<std::size_t>(e.fromPin)];
        if (!pin.Kinds.empty() && pin.Kinds.front() != StreamKind::Pictures)
            continue;
        if (auto renderer = RendererDownstreamOf(e.to, Depth + 1))
            return renderer;
    }
    return nullptr;
}

// The decoders the filters on the way from Filter to an audio output stand for, in the order met.
std::vector<std::string> FilterGraph::AudioDecodersDownstreamOf(IBaseFilter* Filter, bool& ReachesOutput,
                                                                int Depth) const {
    ReachesOutput = false;
    FilterRole* role = RoleOf(Filter);
    if (role == nullptr || Depth > DepthLimit)
        return {};
    if (role->Kind() == FilterKind::AudioRenderer) {
        ReachesOutput = true;
        return {};
    }
    for (const Edge& e : edges_) {
        if (e.from != Filter)
            continue;
        std::vector<std::string> further = AudioDecodersDownstreamOf(e.to, ReachesOutput, Depth + 1);
        if (!ReachesOutput)
            continue;
        std::vector<std::string> decoders;
        if (role->Kind() == FilterKind::AudioDecoder || role->Kind() == FilterKind::AudioProcessor)
            decoders = role->Factories();
        decoders.insert(decoders.end(), further.begin(), further.end());
        return decoders;
    }
    return {};
}

// --- The DVD graph ------------------------------------------------------------------------------------

HRESULT FilterGraph::BuildDvdGraph() {
    DvdNavigatorFilter* navigatorFilter = nullptr;
    for (auto& [filter, name] : filters_)
        if (auto* candidate = dynamic_cast<DvdNavigatorFilter*>(filter.Get()))
            navigatorFilter = candidate;
    if (navigatorFilter == nullptr)
        return VFW_E_NOT_IN_GRAPH;
    std::shared_ptr<DvdNavigator> navigator = navigatorFilter->Navigator();
    if (!navigator)
        return VFW_E_DVD_GRAPHNOTREADY; // no disc given yet
    const Edge* video = EdgeFrom(navigatorFilter, u"Video");
    std::shared_ptr<VideoRenderer> renderer = RendererDownstreamOf(video->to, 0);
    FilterRole* videoDecoder = RoleOf(video->to);
    const std::vector<std::string> videoFactories = Available(videoDecoder->Factories());
    if (videoFactories.empty() || Available({"mpegvideoparse"}).empty())
        return VFW_E_CANNOT_RENDER;
    const Edge* subpicture = EdgeFrom(navigatorFilter, u"SubPicture");
    const bool overlay =
        subpicture != nullptr && subpicture->to == video->to && !Available({"dvdspu"}).empty();
    bool audio = false;
    std::vector<std::string> audioDecoders;
    if (const Edge* ac3 = EdgeFrom(navigatorFilter, u"AC3"))
        audioDecoders = AudioDecodersDownstreamOf(ac3->to, audio, 0);

    if (pipeline_ == nullptr)
        CreatePipeline();
    // A still picture holds the stream, not the clock: the system clock goes on through it whatever the
    // audio output does.
    GstClock* clock = gst_system_clock_obtain();
    gst_pipeline_use_clock(GST_PIPELINE(pipeline_), clock);
    gst_object_unref(clock);

    GstElement* spu = overlay ? gst_element_factory_make("dvdspu", nullptr) : nullptr;
    // The overlay learns its input's kind from its first caps, and forgets what it was told when it does: it
    // is given them before it is told anything, or the first menu's highlight would be lost.
    GstElement* source = CreateDvdSource(navigator, [spu, typed = false](GstEvent* Event) mutable {
        if (spu == nullptr) {
            gst_event_unref(Event);
            return;
        }
        GstPad* pad = gst_element_get_static_pad(spu, "subpicture");
        if (!typed && !gst_pad_has_current_caps(pad)) {
            gst_pad_send_event(pad, gst_event_new_stream_start("dvd-subpicture"));
            GstCaps* caps = gst_caps_new_empty_simple("subpicture/x-dvd");
            gst_pad_send_event(pad, gst_event_new_caps(caps));
            gst_caps_unref(caps);
        }
        typed = true;
        gst_pad_send_event(pad, Event);
        gst_object_unref(pad);
    });
    GstElement* demuxer = gst_element_factory_make("mpegpsdemux", nullptr);
    GstElement* videoQueue = gst_element_factory_make("queue", nullptr);
    // The decoder takes whole pictures, each with its own time stamp, which the demuxer does not cut out.
    GstElement* parser = gst_element_factory_make("mpegvideoparse", nullptr);
    GstElement* decoder = gst_element_factory_make(videoFactories.front().c_str(), nullptr);
    g_object_set(videoQueue, "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time", 3 * GST_SECOND,
                 nullptr);
    gst_bin_add_many(GST_BIN(pipeline_), source, demuxer, videoQueue, parser, decoder, nullptr);
    gst_element_link(source, demuxer);
    gst_element_link_many(videoQueue, parser, decoder, nullptr);
    GstElement* pictures = decoder;
    if (spu != nullptr) {
        gst_bin_add(GST_BIN(pipeline_), spu);
        gst_element_link_pads(decoder, "src", spu, "video");
        pictures = spu;
        dvdSubpictureQueue_ = gst_element_factory_make("queue", nullptr);
        g_object_set(dvdSubpictureQueue_, "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time",
                     3 * GST_SECOND, nullptr);
        gst_bin_add(GST_BIN(pipeline_), dvdSubpictureQueue_);
        gst_element_link_pads(dvdSubpictureQueue_, "src", spu, "subpicture");
    }
    auto chain = std::make_unique<Chain>();
    chain->graph = this;
    chain->source = source;
    chain->decoder = demuxer;
    {
        std::lock_guard lock(mutex_);
        renderer_ = renderer;
        chain->videoBranch = renderer->CreateInput(nullptr);
        dvdVideoQueue_ = videoQueue;
        dvdAudioDecoders_ = audioDecoders;
        chain->audio = audio;
        dvd_ = navigator;
    }
    {
        std::lock_guard lock(dvdMutex_);
        dvdForBus_ = navigator;
    }
    if (chain->videoBranch == nullptr) {
        ResetPipeline();
        return VFW_E_CANNOT_RENDER;
    }
    gst_bin_add(GST_BIN(pipeline_), chain->videoBranch);
    gst_element_link(pictures, chain->videoBranch);
    g_signal_connect(demuxer, "pad-added", G_CALLBACK(&FilterGraph::OnDvdPad), this);
    {
        std::lock_guard lock(mutex_);
        chains_.push_back(std::move(chain));
    }

    navigator->SetPlaybackClock([this] { return DvdPlaybackPosition(); });
    navigator->SetJumpRunner(
        [source](const std::function<bool()>& Command) { return DvdSourceJump(source, Command); });
    // Points of the window the picture is shown in, to the picture's own pixels.
    navigatorFilter->SetPointMapper([renderer, navigator](win32::POINT Point, int& X, int& Y) {
        const QRect shown = renderer->WindowRect();
        const DvdScreen screen = navigator->Screen();
        const DvdVideoFacts picture = navigator->StreamsOf(screen.domain, screen.TitleSet).Video;
        if (shown.width() <= 0 || shown.height() <= 0 || !shown.contains(Point.x, Point.y))
            return false;
        X = (Point.x - shown.left()) * picture.Width / shown.width();
        Y = (Point.y - shown.top()) * picture.Height / shown.height();
        return true;
    });

    const HRESULT prerolled = Preroll();
    if (com::FAILED(prerolled)) {
        ResetPipeline();
        return prerolled;
    }
    duration_ = 0;
    state_ = State_Stopped;
    return S_OK;
}

void FilterGraph::OnDvdPad(GstElement*, GstPad* Pad, gpointer Self) {
    static_cast<FilterGraph*>(Self)->ConnectDvdPad(Pad);
}

// On the streaming thread: the demuxer's outputs as their data first comes. The navigator passes on one
// stream of each kind, under the first number of its kind, so each output here is made once.
void FilterGraph::ConnectDvdPad(GstPad* Pad) {
    ++decodedPads_;
    gchar* name = gst_pad_get_name(Pad);
    const std::string pad = name;
    g_free(name);
    GstElement* target = nullptr;
    std::vector<GstElement*> added;
    {
        std::lock_guard lock(mutex_);
        if (pad.rfind("video_", 0) == 0) {
            target = dvdVideoQueue_;
        } else if (pad.rfind("subpicture_", 0) == 0) {
            target = dvdSubpictureQueue_;
        } else if (pad.rfind("audio_", 0) == 0 && !chains_.empty() && chains_.front()->audio) {
            GstCaps* caps = gst_pad_query_caps(Pad, nullptr);
            const std::string kind =
                gst_caps_get_size(caps) > 0 ? gst_structure_get_name(gst_caps_get_structure(caps, 0)) : "";
            gst_caps_unref(caps);
            const std::vector<std::string> route = AudioChainFor(kind.c_str(), dvdAudioDecoders_);
            if (!route.empty()) {
                if (audioBranch_ == nullptr) {
                    audioBranch_ = CreateAudioBranch(false);
                    dvdAudioFunnel_ = gst_element_factory_make("funnel", nullptr);
                    gst_bin_add_many(GST_BIN(pipeline_), audioBranch_, dvdAudioFunnel_, nullptr);
                    gst_element_link(dvdAudioFunnel_, audioBranch_);
                    added = {audioBranch_, dvdAudioFunnel_};
                }
                GstElement* queue = gst_element_factory_make("queue", nullptr);
                g_object_set(queue, "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time",
                             3 * GST_SECOND, nullptr);
                std::vector<GstElement*> elements{queue};
                for (const std::string& factory : route)
                    elements.push_back(gst_element_factory_make(factory.c_str(), nullptr));
                elements.push_back(gst_element_factory_make("audioconvert", nullptr));
                for (GstElement* element : elements)
                    gst_bin_add(GST_BIN(pipeline_), element);
                for (std::size_t i = 0; i + 1 < elements.size(); ++i)
                    gst_element_link(elements[i], elements[i + 1]);
                gst_element_link(elements.back(), dvdAudioFunnel_);
                added.insert(added.end(), elements.rbegin(), elements.rend());
                target = queue;
            }
        }
    }
    for (GstElement* element : added)
        gst_element_sync_state_with_parent(element);
    if (target == nullptr)
        return;
    GstPad* sink = gst_element_get_static_pad(target, "sink");
    if (!gst_pad_is_linked(sink))
        gst_pad_link(Pad, sink);
    gst_object_unref(sink);
}

// The playback position on the navigator's timeline: the stream time the sinks report, which the demuxer
// counts from the run's start.
std::optional<std::int64_t> FilterGraph::DvdPlaybackPosition() {
    // While the pipeline prerolls again after a flush, the sinks still tell the position of the run before.
    if (pipeline_ == nullptr || GST_STATE(pipeline_) < GST_STATE_PAUSED ||
        gst_element_get_state(pipeline_, nullptr, nullptr, 0) == GST_STATE_CHANGE_ASYNC)
        return std::nullopt;
    gst_query_set_position(positionQuery_, GST_FORMAT_TIME, -1);
    gint64 position = -1;
    if (!gst_element_query(pipeline_, positionQuery_))
        return std::nullopt;
    gst_query_parse_position(positionQuery_, nullptr, &position);
    if (position < 0)
        return std::nullopt;
    return gst_util_uint64_scale_int(static_cast<guint64>(position), 90000, GST_SECOND) +
           DvdNavigator::RunStart;
}

} // namespace dshow
