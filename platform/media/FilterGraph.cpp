#include "platform/media/FilterGraph.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <set>
#include <thread>

#include "platform/gst/Gst.h"
#include "platform/media/RenderedFiles.h"
#include "platform/win32/Window.h"

namespace dshow {

using com::E_INVALIDARG;
using com::E_NOINTERFACE;
using com::E_POINTER;
using com::S_OK;

namespace {

// How long a render, a state change or a seek may take before it counts as failed.
constexpr GstClockTime PrerollTimeLimit = 20 * GST_SECOND;
constexpr GstClockTime SettleTimeLimit = 5 * GST_SECOND;
// decodebin drops a demuxer's error that comes while it is still setting the demuxer up (a race in
// GStreamer), and the pipeline then waits for ever: a file that gives no stream at all within this time
// cannot be played.
constexpr auto FirstStreamTimeLimit = std::chrono::seconds(5);
constexpr auto StepTimeLimit = std::chrono::seconds(5);
// How long a prerolled graph is asked for its length: one that no element answers for yet (a graph whose
// length comes later still plays, and has it from then on), and one whose answer is 0.
constexpr auto UnansweredDurationPatience = std::chrono::seconds(1);
constexpr auto ZeroDurationPatience = std::chrono::milliseconds(500);

constexpr GstClockTime NanosecondsPer100 = 100;

// Every graph of the process, so that shutting down can stop them all. Never destroyed: the exit handler
// that stops the graphs, and graphs held by static objects, may come after every static object is gone.
struct GraphRegistry {
    std::mutex mutex;
    std::set<FilterGraph*> graphs;
};
GraphRegistry& LiveGraphs() {
    static auto* const registry = new GraphRegistry;
    return *registry;
}

// A wait is cut into slices this long; the hook of SetGraphWaitHook runs between them.
constexpr auto WaitSlice = std::chrono::milliseconds(20);

std::function<bool()>& GraphWaitHook() {
    static std::function<bool()> hook;
    return hook;
}

// Runs the wait hook; false when it gives the wait up. A wait inside the hook's own work does not run it
// again.
bool WaitGoesOn() {
    static thread_local bool inHook = false;
    if (!GraphWaitHook() || inHook)
        return true;
    inHook = true;
    const bool goesOn = GraphWaitHook()();
    inHook = false;
    return goesOn;
}

// Waits up to Limit for Element's state change; a wait given up (WaitGoesOn) fails. The wait may be woken
// early (a signal delivered to the waiting thread), and GStreamer then answers a failure: only the element's
// own last result tells a real one, so an early wake goes on waiting for the rest of the time.
GstStateChangeReturn WaitForStateChange(GstElement* Element, GstClockTime Limit) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::nanoseconds(Limit);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - std::chrono::steady_clock::now());
        const auto slice = std::clamp<std::chrono::nanoseconds>(left, std::chrono::nanoseconds(0), WaitSlice);
        const GstStateChangeReturn result =
            gst_element_get_state(Element, nullptr, nullptr, static_cast<GstClockTime>(slice.count()));
        if (result == GST_STATE_CHANGE_FAILURE) {
            GST_OBJECT_LOCK(Element);
            const GstStateChangeReturn last = GST_STATE_RETURN(Element);
            GST_OBJECT_UNLOCK(Element);
            if (last == GST_STATE_CHANGE_FAILURE)
                return result;
        } else if (result != GST_STATE_CHANGE_ASYNC) {
            return result;
        }
        if (left <= slice)
            return GST_STATE_CHANGE_ASYNC;
        if (!WaitGoesOn())
            return GST_STATE_CHANGE_FAILURE;
    }
}

bool HasPrefix(const gchar* Text, const char* Prefix) {
    return Text != nullptr && std::strncmp(Text, Prefix, std::strlen(Prefix)) == 0;
}

} // namespace

FilterGraph::FilterGraph() {
    gst::EnsureInitialised();
    positionQuery_ = gst_query_new_position(GST_FORMAT_TIME);
    CreatePipeline();
    static const bool shutdownAtExit = [] { return std::atexit(ShutdownMediaGraphs) == 0; }();
    (void)shutdownAtExit;
    GraphRegistry& live = LiveGraphs();
    std::lock_guard lock(live.mutex);
    live.graphs.insert(this);
}

FilterGraph::~FilterGraph() {
    {
        GraphRegistry& live = LiveGraphs();
        std::lock_guard lock(live.mutex);
        live.graphs.erase(this);
    }
    Shutdown();
    gst_query_unref(positionQuery_);
}

void FilterGraph::CreatePipeline() {
    pipeline_ = gst_pipeline_new(nullptr);
    gst_object_ref_sink(pipeline_);
    gst::LimitVideoDecoderThreads(GST_BIN(pipeline_));
    GstBus* bus = gst_element_get_bus(pipeline_);
    gst_bus_set_sync_handler(bus, &FilterGraph::OnBusMessage, this, nullptr);
    gst_object_unref(bus);
    ended_ = false;
    failed_ = false;
}

// Takes the pipeline down (streaming threads joined) and frees the renderer's inputs.
void FilterGraph::ResetPipeline() {
    if (pipeline_ != nullptr) {
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        GstBus* bus = gst_element_get_bus(pipeline_);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(pipeline_);
        pipeline_ = nullptr;
    }
    std::shared_ptr<VideoRenderer> renderer;
    std::shared_ptr<DvdNavigator> dvd;
    {
        std::lock_guard lock(mutex_);
        chains_.clear();
        audioBranch_ = audioMixer_ = volume_ = panorama_ = nullptr;
        renderer = std::move(renderer_);
        dvd = std::move(dvd_);
        dvdVideoQueue_ = dvdSubpictureQueue_ = dvdAudioFunnel_ = nullptr;
        dvdAudioDecoders_.clear();
    }
    {
        std::lock_guard lock(dvdMutex_);
        dvdForBus_.reset();
    }
    if (renderer)
        renderer->DisconnectInputs();
    // The disc outlives the graph in its navigator filter: it must not call back into a graph that is gone.
    if (dvd) {
        dvd->SetPlaybackClock({});
        dvd->SetJumpRunner({});
    }
    duration_ = 0;
    durationKnown_ = true;
    guessedLength_ = 0;
    lastPosition_ = 0;
    state_ = State_Stopped;
}

void FilterGraph::Shutdown() {
    ResetPipeline();
    ownRenderer_.reset();
    edges_.clear();
    filters_.clear();
}

void SetGraphWaitHook(std::function<bool()> Hook) {
    GraphWaitHook() = std::move(Hook);
}

void ShutdownMediaGraphs() {
    std::vector<FilterGraph*> graphs;
    {
        GraphRegistry& live = LiveGraphs();
        std::lock_guard lock(live.mutex);
        graphs.assign(live.graphs.begin(), live.graphs.end());
    }
    for (FilterGraph* graph : graphs)
        graph->Shutdown();
}

// Runs on whatever thread posts: nothing is queued, so the bus never grows. A dropped message is the
// handler's to release; one kept would hold its source, and so the whole pipeline, alive.
GstBusSyncReply FilterGraph::OnBusMessage(GstBus*, GstMessage* Message, gpointer Self) {
    auto* graph = static_cast<FilterGraph*>(Self);
    switch (GST_MESSAGE_TYPE(Message)) {
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_ERROR: {
        (GST_MESSAGE_TYPE(Message) == GST_MESSAGE_EOS ? graph->ended_ : graph->failed_) = true;
        graph->WakeStep();
        std::shared_ptr<DvdNavigator> dvd;
        {
            std::lock_guard lock(graph->dvdMutex_);
            dvd = graph->dvdForBus_;
        }
        // Nothing more comes from the disc: the screen keeps what was shown last.
        if (dvd)
            dvd->SetEnded(true);
        break;
    }
    case GST_MESSAGE_STEP_DONE: {
        GstFormat format;
        guint64 amount = 0, duration = 0;
        gdouble rate = 1.0;
        gboolean flush = FALSE, intermediate = FALSE, eos = FALSE;
        gst_message_parse_step_done(Message, &format, &amount, &rate, &flush, &intermediate, &duration, &eos);
        GstElement* audio = nullptr;
        {
            std::lock_guard lock(graph->mutex_);
            if (format == GST_FORMAT_BUFFERS && graph->audioBranch_ != nullptr)
                audio = GST_ELEMENT(gst_object_ref(graph->audioBranch_));
        }
        // The audio follows the picture by the time the video step took, so that both go on together.
        if (audio != nullptr) {
            gst_element_send_event(audio, gst_event_new_step(GST_FORMAT_TIME, duration, rate, TRUE, FALSE));
            gst_object_unref(audio);
        }
        if (format == GST_FORMAT_BUFFERS) {
            std::lock_guard lock(graph->stepMutex_);
            ++graph->stepsDone_;
            graph->stepReachedEnd_ = eos != FALSE;
            graph->stepDone_.notify_all();
        }
        break;
    }
    default:
        break;
    }
    gst_message_unref(Message);
    return GST_BUS_DROP;
}

// --- Building -----------------------------------------------------------------------------------------

HRESULT FilterGraph::AddFilter(IBaseFilter* Filter, LPCWSTR Name) {
    if (Filter == nullptr)
        return E_POINTER;
    for (auto& [filter, name] : filters_)
        if (filter.Get() == Filter)
            return VFW_E_WRONG_STATE;
    filters_.emplace_back(com::ComPtr<IBaseFilter>::Share(Filter),
                          Name ? std::u16string(Name) : std::u16string());
    return S_OK;
}

HRESULT FilterGraph::RemoveFilter(IBaseFilter* Filter) {
    auto it =
        std::find_if(filters_.begin(), filters_.end(), [&](auto& f) { return f.first.Get() == Filter; });
    if (it == filters_.end())
        return VFW_E_NOT_FOUND;
    std::erase_if(edges_, [&](const Edge& e) { return e.from == Filter || e.to == Filter; });
    filters_.erase(it);
    return S_OK;
}

namespace {

bool IsReadableFile(const std::string& Path) {
    std::error_code ec;
    return !Path.empty() && std::filesystem::is_regular_file(Path, ec);
}

} // namespace

FilterGraph::Chain* FilterGraph::AddChain(const std::string& File, com::ComPtr<IBaseFilter> Source) {
    if (pipeline_ == nullptr)
        CreatePipeline();
    auto chain = std::make_unique<Chain>();
    chain->graph = this;
    chain->file = File;
    chain->sourceFilter = std::move(Source);
    chain->source = gst_element_factory_make("filesrc", nullptr);
    g_object_set(chain->source, "location", File.c_str(), nullptr);
    gst_bin_add(GST_BIN(pipeline_), chain->source);
    std::lock_guard lock(mutex_);
    chains_.push_back(std::move(chain));
    return chains_.back().get();
}

HRESULT FilterGraph::RenderFile(LPCWSTR File, LPCWSTR /*PlayList*/) {
    if (File == nullptr)
        return E_POINTER;
    const std::string path = com::NarrowString(File);
    if (!IsReadableFile(path))
        return VFW_E_NOT_FOUND;
    Chain* chain = AddChain(path, nullptr);
    return CompleteChain(*chain);
}

HRESULT FilterGraph::AddSourceFilter(LPCWSTR File, LPCWSTR FilterName, IBaseFilter** Filter) {
    if (File == nullptr || Filter == nullptr)
        return E_POINTER;
    *Filter = nullptr;
    const std::string path = com::NarrowString(File);
    if (!IsReadableFile(path))
        return VFW_E_NOT_FOUND;
    auto source = com::ComPtr<IBaseFilter>::Adopt(new SourceFilter(path));
    AddFilter(source.Get(), FilterName);
    AddChain(path, source);
    *Filter = source.Get();
    (*Filter)->AddRef();
    return S_OK;
}

HRESULT FilterGraph::Render(IPin* Output) {
    auto* pin = dynamic_cast<Pin*>(Output);
    if (pin == nullptr)
        return E_POINTER;
    PIN_DIRECTION direction;
    pin->QueryDirection(&direction);
    if (direction != PINDIR_OUTPUT)
        return E_INVALIDARG;
    Chain* chain = nullptr;
    {
        std::lock_guard lock(mutex_);
        for (auto& c : chains_)
            if (c->sourceFilter.Get() == pin->Owner() && c->decoder == nullptr)
                chain = c.get();
    }
    if (chain == nullptr)
        return VFW_E_NOT_CONNECTED; // not a pin of a source in this graph, or rendered already
    return CompleteChain(*chain);
}

// Decodes the chain's source, routes what comes out to the renderer and the audio output, and prerolls.
// On failure the whole pipeline is taken down: nothing half built keeps running.
HRESULT FilterGraph::CompleteChain(Chain& C) {
    std::shared_ptr<VideoRenderer> renderer;
    for (auto& [filter, name] : filters_) {
        auto* role = dynamic_cast<FilterRole*>(filter.Get());
        if (role == nullptr)
            continue;
        if (!renderer)
            renderer = role->Renderer();
        for (const std::string& factory : role->Factories())
            C.preferred.push_back(factory);
    }
    if (!renderer) {
        if (!ownRenderer_)
            ownRenderer_ = std::make_shared<VideoRenderer>(VideoRenderer::Mode::Window);
        renderer = ownRenderer_;
    }
    {
        std::lock_guard lock(mutex_);
        renderer_ = renderer;
    }

    C.decoder = gst_element_factory_make("decodebin", nullptr);
    g_signal_connect(C.decoder, "pad-added", G_CALLBACK(&FilterGraph::OnDecodedPad), &C);
    g_signal_connect(C.decoder, "autoplug-sort", G_CALLBACK(&FilterGraph::OnAutoplugSort), &C);
    gst_bin_add(GST_BIN(pipeline_), C.decoder);
    gst_element_link(C.source, C.decoder);

    // A pipeline that has prerolled already takes a new chain in without waiting for it to preroll (its
    // state does not change), so the chain would count as giving nothing: the graph is taken down and
    // prerolled again with every chain, from the start, as a render leaves it stopped.
    if (GST_STATE(pipeline_) != GST_STATE_NULL) {
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        ended_ = false;
        lastPosition_ = 0;
    }
    if (chains_.size() > 1)
        MixAudioOfEveryChain();
    HRESULT result = Preroll(&C);
    if (com::SUCCEEDED(result)) {
        std::lock_guard lock(mutex_);
        if (C.videoBranch == nullptr && !C.audio)
            result = VFW_E_CANNOT_RENDER;
    }
    if (com::SUCCEEDED(result))
        result = ProbeSeeking();
    if (com::FAILED(result)) {
        ResetPipeline();
        return result;
    }
    duration_ = QueryDuration();
    state_ = State_Stopped; // as after a render: prerolled, not running
    RememberChains();
    return S_OK;
}

// What each file's decoder gives out, now that the graph has prerolled: the media detector reads it instead
// of decoding the file again.
void FilterGraph::RememberChains() {
    std::vector<std::pair<std::string, GstElement*>> decoders;
    {
        std::lock_guard lock(mutex_);
        for (auto& chain : chains_)
            if (chain->decoder != nullptr)
                decoders.emplace_back(chain->file, GST_ELEMENT(gst_object_ref(chain->decoder)));
    }
    for (auto& [file, decoder] : decoders) {
        RenderedFile facts;
        gint64 length = -1;
        GstIterator* pads = gst_element_iterate_src_pads(decoder);
        GValue item = G_VALUE_INIT;
        for (GstIteratorResult next = gst_iterator_next(pads, &item);
             next != GST_ITERATOR_DONE && next != GST_ITERATOR_ERROR; next = gst_iterator_next(pads, &item)) {
            if (next == GST_ITERATOR_RESYNC) { // pads came or went meanwhile: read them all again
                facts.streams.clear();
                gst_iterator_resync(pads);
                continue;
            }
            auto* pad = GST_PAD(g_value_get_object(&item));
            GstCaps* caps = gst_pad_get_current_caps(pad);
            const GstStructure* s =
                caps != nullptr && gst_caps_get_size(caps) > 0 ? gst_caps_get_structure(caps, 0) : nullptr;
            RenderedStream stream;
            if (s != nullptr && HasPrefix(gst_structure_get_name(s), "video/")) {
                stream.video = true;
                gst_structure_get_int(s, "width", &stream.width);
                gst_structure_get_int(s, "height", &stream.height);
                int numerator = 0, denominator = 0;
                if (gst_structure_get_fraction(s, "framerate", &numerator, &denominator) && denominator != 0)
                    stream.frameRate = static_cast<double>(numerator) / denominator;
                facts.streams.push_back(stream);
            } else if (s != nullptr && HasPrefix(gst_structure_get_name(s), "audio/")) {
                gst_structure_get_int(s, "channels", &stream.channels);
                gst_structure_get_int(s, "rate", &stream.sampleRate);
                facts.streams.push_back(stream);
            }
            if (caps != nullptr)
                gst_caps_unref(caps);
            if (length < 0)
                gst_pad_query_duration(pad, GST_FORMAT_TIME, &length);
            g_value_reset(&item);
        }
        g_value_unset(&item);
        gst_iterator_free(pads);
        gst_object_unref(decoder);
        facts.length = length > 0 ? static_cast<double>(length) / GST_SECOND : 0.0;
        RememberRenderedFile(file, std::move(facts));
    }
}

namespace {

// Whether every demuxer in Pipeline is one whose answer to the seeking query holds (and there is one).
bool SplitByTrustedDemuxers(GstElement* Pipeline) {
    static constexpr const char* Trusted[] = {"qtdemux", "matroskademux", "avidemux", "flvdemux", "wavparse"};
    bool demuxed = false;
    bool trusted = true;
    GstIterator* elements = gst_bin_iterate_recurse(GST_BIN(Pipeline));
    GValue item = G_VALUE_INIT;
    for (GstIteratorResult next = gst_iterator_next(elements, &item);
         next != GST_ITERATOR_DONE && next != GST_ITERATOR_ERROR; next = gst_iterator_next(elements, &item)) {
        if (next == GST_ITERATOR_RESYNC) {
            demuxed = false;
            trusted = true;
            gst_iterator_resync(elements);
            continue;
        }
        GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&item)));
        if (factory != nullptr &&
            gst_element_factory_list_is_type(factory, GST_ELEMENT_FACTORY_TYPE_DEMUXER)) {
            demuxed = true;
            const gchar* name = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory));
            trusted = trusted && std::any_of(std::begin(Trusted), std::end(Trusted),
                                             [name](const char* t) { return std::strcmp(name, t) == 0; });
        }
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(elements);
    return demuxed && trusted;
}

} // namespace

// Finds whether seeks can be made. A demuxer may say it can seek and then fail every seek after it has
// flushed the streams, which leaves them stalled for good (rmdemux on a file without an index): a seek to
// the start, made while the pipeline stands there prerolled anyway, finds that out, and a failed one is
// undone by prerolling again from the start. Later seeks and rate changes are then refused before they are
// made. Fails when the pipeline does not preroll again. The demuxers of the common containers are taken at
// their word: the seek would decode the start of the file a second time at every open.
HRESULT FilterGraph::ProbeSeeking() {
    GstQuery* query = gst_query_new_seeking(GST_FORMAT_TIME);
    gboolean seekable = FALSE;
    if (gst_element_query(pipeline_, query))
        gst_query_parse_seeking(query, nullptr, &seekable, nullptr, nullptr);
    gst_query_unref(query);
    // The audio mixer of a graph of several files answers no for its inputs, though it passes seeks on to
    // them: the seek itself tells.
    bool mixing = false;
    {
        std::lock_guard lock(mutex_);
        mixing = audioMixer_ != nullptr;
    }
    if (mixing)
        seekable = TRUE;
    else if (seekable && SplitByTrustedDemuxers(pipeline_)) {
        seekable_ = true;
        return S_OK;
    }
    seekable_ = seekable != FALSE &&
                gst_element_seek(pipeline_, 1.0, GST_FORMAT_TIME,
                                 static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                 GST_SEEK_TYPE_SET, 0, GST_SEEK_TYPE_NONE, -1);
    if (seekable_)
        return WaitForState(SettleTimeLimit) ? S_OK : com::E_FAIL;
    if (!seekable)
        return S_OK; // said so, nothing was tried
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    ended_ = false;
    return Preroll();
}

HRESULT FilterGraph::Preroll(const Chain* Rendered) {
    // A wait given up already (the program is closing) is not begun.
    if (!WaitGoesOn())
        return com::E_ABORT;
    failed_ = false;
    const int padsBefore = decodedPads_;
    const int renderedPadsBefore = Rendered != nullptr ? Rendered->pads.load() : 0;
    if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return VFW_E_UNKNOWN_FILE_TYPE;
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + std::chrono::nanoseconds(PrerollTimeLimit);
    while (std::chrono::steady_clock::now() < deadline) {
        // The file being rendered must give its own stream: the other files of the graph give theirs anew.
        if ((decodedPads_ == padsBefore || (Rendered != nullptr && Rendered->pads == renderedPadsBefore)) &&
            std::chrono::steady_clock::now() - start > FirstStreamTimeLimit)
            return VFW_E_UNKNOWN_FILE_TYPE;
        const GstStateChangeReturn state = WaitForStateChange(
            pipeline_, static_cast<GstClockTime>(std::chrono::nanoseconds(WaitSlice).count()));
        if (failed_ || state == GST_STATE_CHANGE_FAILURE)
            return VFW_E_UNKNOWN_FILE_TYPE;
        if (state == GST_STATE_CHANGE_SUCCESS || state == GST_STATE_CHANGE_NO_PREROLL)
            return S_OK;
        if (!WaitGoesOn())
            return com::E_ABORT;
    }
    return VFW_E_TIMEOUT;
}

GValueArray* FilterGraph::OnAutoplugSort(GstElement*, GstPad*, GstCaps*, GValueArray* Factories,
                                         gpointer ChainPtr) {
    auto* chain = static_cast<Chain*>(ChainPtr);
    if (chain->preferred.empty())
        return nullptr; // decodebin's own order
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    std::vector<GValue*> first, rest;
    for (guint i = 0; i < Factories->n_values; ++i) {
        GValue* value = g_value_array_get_nth(Factories, i);
        auto* factory = static_cast<GstPluginFeature*>(g_value_get_object(value));
        const std::string name = gst_plugin_feature_get_name(factory);
        const bool preferred =
            std::find(chain->preferred.begin(), chain->preferred.end(), name) != chain->preferred.end();
        (preferred ? first : rest).push_back(value);
    }
    GValueArray* sorted = g_value_array_new(Factories->n_values);
    for (GValue* value : first)
        g_value_array_append(sorted, value);
    for (GValue* value : rest)
        g_value_array_append(sorted, value);
    G_GNUC_END_IGNORE_DEPRECATIONS
    return sorted;
}

void FilterGraph::OnDecodedPad(GstElement*, GstPad* Pad, gpointer ChainPtr) {
    auto* chain = static_cast<Chain*>(ChainPtr);
    chain->graph->ConnectDecodedPad(*chain, Pad);
}

// On a streaming thread. The first video stream of each file goes to a free renderer input, the first audio
// stream of each file to the audio output (mixed with the others' when the graph plays more than one file);
// other streams stay unconnected. After a stop the decoder exposes its pads again, and they go back to the
// branches they had.
void FilterGraph::ConnectDecodedPad(Chain& C, GstPad* Pad) {
    ++decodedPads_;
    ++C.pads;
    GstCaps* caps = gst_pad_get_current_caps(Pad);
    if (caps == nullptr)
        caps = gst_pad_query_caps(Pad, nullptr);
    const gchar* kind =
        gst_caps_get_size(caps) > 0 ? gst_structure_get_name(gst_caps_get_structure(caps, 0)) : "";
    const bool video = HasPrefix(kind, "video/x-raw");
    const bool audio = HasPrefix(kind, "audio/x-raw");
    gst_caps_unref(caps);

    GstElement* branch = nullptr;
    GstPad* sink = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (video) {
            if (C.videoBranch == nullptr && renderer_) {
                C.videoBranch = renderer_->CreateInput(nullptr);
                if (C.videoBranch) {
                    gst_bin_add(GST_BIN(pipeline_), C.videoBranch);
                    GstPad* input = gst_element_get_static_pad(C.videoBranch, "sink");
                    gst::GuardSegment(input);
                    gst_object_unref(input);
                }
            }
            branch = C.videoBranch;
            if (branch != nullptr)
                sink = gst_element_get_static_pad(branch, "sink");
        } else if (audio) {
            if (C.audioSink == nullptr) {
                if (audioBranch_ == nullptr) {
                    audioBranch_ = CreateAudioBranch(chains_.size() > 1);
                    gst_bin_add(GST_BIN(pipeline_), audioBranch_);
                }
                C.audioSink = AddAudioInput();
                C.audio = C.audioSink != nullptr;
            }
            if (C.audioSink != nullptr) {
                branch = audioBranch_;
                sink = GST_PAD(gst_object_ref(C.audioSink));
            }
        }
    }
    if (branch == nullptr)
        return;
    if (!gst_pad_is_linked(sink))
        gst_pad_link(Pad, sink);
    gst_object_unref(sink);
    gst_element_sync_state_with_parent(branch);
}

// A graph of more than one file mixes their sound: an output branch made for one file alone gives way to a
// mixing one, into which every file's sound goes at the next preroll. Called while the pipeline is stopped.
void FilterGraph::MixAudioOfEveryChain() {
    GstElement* plain = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (audioBranch_ == nullptr || audioMixer_ != nullptr)
            return;
        plain = audioBranch_;
        audioBranch_ = volume_ = panorama_ = nullptr;
        for (auto& chain : chains_) {
            if (chain->audioSink != nullptr)
                gst_object_unref(chain->audioSink);
            chain->audioSink = nullptr;
            chain->audio = false;
        }
    }
    gst_element_set_state(plain, GST_STATE_NULL);
    gst_bin_remove(GST_BIN(pipeline_), plain);
}

// The branch's pad for one more file's sound (a reference for the caller), or nullptr when a branch that does
// not mix has it taken already. Called under the mutex.
GstPad* FilterGraph::AddAudioInput() {
    if (audioMixer_ == nullptr) {
        GstPad* sink = gst_element_get_static_pad(audioBranch_, "sink");
        if (gst_pad_is_linked(sink)) {
            gst_object_unref(sink);
            return nullptr;
        }
        return sink;
    }
    // Each file's sound is made the mixer's format on its own way in.
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    GstElement* resample = gst_element_factory_make("audioresample", nullptr);
    gst_bin_add_many(GST_BIN(audioBranch_), convert, resample, nullptr);
    gst_element_link(convert, resample);
    GstPad* mixerPad = gst_element_request_pad_simple(audioMixer_, "sink_%u");
    GstPad* resampled = gst_element_get_static_pad(resample, "src");
    gst_pad_link(resampled, mixerPad);
    gst_object_unref(resampled);
    gst_object_unref(mixerPad);
    GstPad* target = gst_element_get_static_pad(convert, "sink");
    GstPad* ghost = gst_ghost_pad_new(nullptr, target);
    gst_object_unref(target);
    gst_pad_set_active(ghost, TRUE);
    gst_element_add_pad(audioBranch_, ghost);
    gst::GuardSegment(ghost);
    gst_element_sync_state_with_parent(resample);
    gst_element_sync_state_with_parent(convert);
    return GST_PAD(gst_object_ref(ghost));
}

// [mixer !] convert ! resample ! volume ! panorama ! convert ! output: the graph's one audio output, with its
// volume and balance. Called under the mutex.
GstElement* FilterGraph::CreateAudioBranch(bool Mixing) {
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    GstElement* resample = gst_element_factory_make("audioresample", nullptr);
    volume_ = gst_element_factory_make("volume", nullptr);
    panorama_ = gst_element_factory_make("audiopanorama", nullptr);
    GstElement* convertOut = gst_element_factory_make("audioconvert", nullptr);
    GstElement* output = gst::CreateAudioOutput();
    gst_bin_add_many(GST_BIN(bin), convert, resample, volume_, convertOut, output, nullptr);
    if (panorama_ != nullptr) {
        g_object_set(panorama_, "method", 1 /* simple: the other channel is attenuated */, nullptr);
        gst_bin_add(GST_BIN(bin), panorama_);
        gst_element_link_many(convert, resample, volume_, panorama_, convertOut, output, nullptr);
    } else {
        gst_element_link_many(convert, resample, volume_, convertOut, output, nullptr);
    }
    audioMixer_ = Mixing ? gst_element_factory_make("audiomixer", nullptr) : nullptr;
    if (audioMixer_ != nullptr) {
        gst_bin_add(GST_BIN(bin), audioMixer_);
        gst_element_link(audioMixer_, convert);
    } else {
        GstPad* target = gst_element_get_static_pad(convert, "sink");
        GstPad* input = gst_ghost_pad_new("sink", target);
        gst_element_add_pad(bin, input);
        gst::GuardSegment(input);
        gst_object_unref(target);
    }
    ApplyAudio();
    return bin;
}

// Volume in hundredths of a decibel to a linear gain; balance to the panorama. Called under the mutex.
void FilterGraph::ApplyAudio() {
    if (volume_ != nullptr) {
        const double gain = volumeLevel_ <= -10000 ? 0.0 : std::pow(10.0, volumeLevel_ / 2000.0);
        g_object_set(volume_, "volume", gain, nullptr);
    }
    if (panorama_ != nullptr)
        g_object_set(panorama_, "panorama", static_cast<gfloat>(balance_) / 10000.0f, nullptr);
}

LONGLONG FilterGraph::QueryDuration() {
    // Some demuxers know the duration only a moment after preroll, and on a busy machine that moment can be
    // long; a bare stream without a container (an H.264 elementary stream) is given a length only once some
    // of it has played. A graph that no element answers for yet is asked again for a while (the wait hook
    // running), and then plays without a length until one comes (RefreshDuration); one that answers a length
    // of 0 (a WAV header without data) is asked only briefly, and is then empty.
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        gint64 duration = 0;
        const bool answered = gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) && duration >= 0;
        durationKnown_ = answered;
        if (answered && duration > 0)
            return duration / static_cast<gint64>(NanosecondsPer100);
        const auto waited = std::chrono::steady_clock::now() - start;
        if (waited >= (answered ? ZeroDurationPatience : UnansweredDurationPatience) || !WaitGoesOn())
            return 0;
        std::this_thread::sleep_for(WaitSlice);
    }
}

// A length not known at the render is asked for once more, without waiting. One that comes before the graph
// plays is its length; one that comes while it plays may be a parser's guess from what it has read so far
// (a bare stream's), which is only the least the stream still holds (StopPosition).
void FilterGraph::RefreshDuration() {
    if (durationKnown_ || pipeline_ == nullptr || dvd_)
        return;
    gint64 duration = 0;
    if (!gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) || duration <= 0)
        return;
    if (GST_STATE_TARGET(pipeline_) < GST_STATE_PLAYING) {
        duration_ = duration / static_cast<gint64>(NanosecondsPer100);
        durationKnown_ = true;
    } else {
        guessedLength_ = duration / static_cast<gint64>(NanosecondsPer100);
    }
}

// --- Control ------------------------------------------------------------------------------------------

bool FilterGraph::WaitForState(GstClockTime Limit) {
    return WaitForStateChange(pipeline_, Limit) != GST_STATE_CHANGE_FAILURE;
}

HRESULT FilterGraph::Run() {
    if (pipeline_ == nullptr || chains_.empty())
        return VFW_E_WRONG_STATE;
    RefreshDuration();
    if (duration_ == 0 && durationKnown_ && !dvd_) {
        // Nothing to play (a file whose length is 0, a WAV header without data): at its end at once. Run, some
        // parsers would send empty buffers for ever, taking a whole core. A disc has no length of its own:
        // its titles have theirs, and its end is the navigator's to find.
        ended_ = true;
        state_ = State_Running;
        return S_OK;
    }
    GstState current = GST_STATE_NULL;
    gst_element_get_state(pipeline_, &current, nullptr, 0);
    if (current < GST_STATE_PAUSED || GST_STATE_TARGET(pipeline_) < GST_STATE_PAUSED) {
        // Started again after a stop: preroll first, so that a stored position and rate apply from the start.
        if (com::FAILED(Preroll()))
            return com::E_FAIL;
        if (pendingStart_ >= 0 || rate_ != 1.0)
            Seek(rate_, std::max<LONGLONG>(pendingStart_, 0), -1);
        pendingStart_ = -1;
    }
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return com::E_FAIL;
    state_ = State_Running;
    return S_OK;
}

HRESULT FilterGraph::Pause() {
    if (pipeline_ == nullptr || chains_.empty())
        return VFW_E_WRONG_STATE;
    if (GST_STATE_TARGET(pipeline_) < GST_STATE_PAUSED) {
        if (com::FAILED(Preroll()))
            return com::E_FAIL;
        if (pendingStart_ >= 0)
            Seek(rate_, pendingStart_, -1);
        pendingStart_ = -1;
    } else if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        return com::E_FAIL;
    }
    state_ = State_Paused;
    return S_OK;
}

HRESULT FilterGraph::Stop() {
    if (pipeline_ == nullptr)
        return VFW_E_WRONG_STATE;
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    state_ = State_Stopped;
    ended_ = false;
    failed_ = false;
    lastPosition_ = 0;
    return S_OK;
}

HRESULT FilterGraph::GetState(LONG Timeout, OAFilterState* State) {
    if (State == nullptr)
        return E_POINTER;
    *State = state_;
    if (pipeline_ == nullptr || state_ == State_Stopped)
        return S_OK;
    const GstStateChangeReturn change =
        WaitForStateChange(pipeline_, static_cast<GstClockTime>(std::max<LONG>(Timeout, 0)) * GST_MSECOND);
    return change == GST_STATE_CHANGE_ASYNC ? VFW_S_STATE_INTERMEDIATE : S_OK;
}

HRESULT FilterGraph::SetNotifyWindow(HWND Window, LONG Message, LONG_PTR) {
    // The layer keeps no event queue (the player asks for positions instead), so nothing is ever posted.
    notifyWindow_ = Window;
    notifyMessage_ = Message;
    return S_OK;
}

// --- Seeking ------------------------------------------------------------------------------------------

HRESULT FilterGraph::GetDuration(LONGLONG* Duration) {
    if (Duration == nullptr)
        return E_POINTER;
    if (pipeline_ == nullptr || chains_.empty())
        return VFW_E_WRONG_STATE;
    RefreshDuration();
    if (!LengthKnown())
        return com::E_FAIL; // not known yet: the stream plays on, and its length may come
    *Duration = durationKnown_ || dvd_ ? duration_ : StopPosition();
    return S_OK;
}

// A graph whose length was never given tells one once a guess of it has come, and knows it at its end:
// where it ended.
bool FilterGraph::LengthKnown() const {
    return durationKnown_ || dvd_ || ended_ || failed_ || guessedLength_ > 0;
}

LONGLONG FilterGraph::StopPosition() const {
    if (!durationKnown_ && !dvd_) {
        // Until its end, beyond where it is: a guess that falls short must not end the stream early.
        if (ended_ || failed_)
            return lastPosition_;
        return std::max(guessedLength_, lastPosition_ + 1);
    }
    return stop_ >= 0 ? std::min(stop_, duration_) : duration_;
}

HRESULT FilterGraph::GetStopPosition(LONGLONG* Stop) {
    if (Stop == nullptr)
        return E_POINTER;
    if (pipeline_ == nullptr || chains_.empty())
        return VFW_E_WRONG_STATE;
    RefreshDuration();
    if (!LengthKnown())
        return com::E_FAIL;
    *Stop = StopPosition();
    return S_OK;
}

HRESULT FilterGraph::GetCurrentPosition(LONGLONG* Current) {
    if (Current == nullptr)
        return E_POINTER;
    if (pipeline_ == nullptr || chains_.empty())
        return VFW_E_WRONG_STATE;
    // An error after preroll ends the stream as its end does: nothing more comes, and the player, which
    // finds the end by the position, goes on as at any end.
    if (ended_ || failed_) {
        *Current = StopPosition();
        return S_OK;
    }
    // Right after a flushing seek, and while stopped, the pipeline gives no position: the last good one
    // holds.
    if (GST_STATE(pipeline_) >= GST_STATE_PAUSED) {
        // One query kept for the graph's life: the player asks many times a second, and a new query each
        // time would allocate.
        gst_query_set_position(positionQuery_, GST_FORMAT_TIME, -1);
        gint64 position = -1;
        if (gst_element_query(pipeline_, positionQuery_)) {
            gst_query_parse_position(positionQuery_, nullptr, &position);
            if (position >= 0)
                lastPosition_ = durationKnown_ || dvd_
                                    ? std::clamp<LONGLONG>(position / static_cast<gint64>(NanosecondsPer100), 0,
                                                           StopPosition())
                                    : position / static_cast<gint64>(NanosecondsPer100);
        }
    }
    *Current = lastPosition_;
    return S_OK;
}

bool FilterGraph::Seek(double Rate, LONGLONG Start, LONGLONG Stop) {
    if (!seekable_)
        return false;
    const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    const gint64 start = Start * static_cast<gint64>(NanosecondsPer100);
    const gint64 stop = Stop >= 0 ? Stop * static_cast<gint64>(NanosecondsPer100) : -1;
    // Cleared before the seek is sent: the end or an error of the new segment may come before it returns.
    const bool wasEnded = ended_.exchange(false);
    const bool wasFailed = failed_.exchange(false);
    if (!gst_element_seek(pipeline_, Rate, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, start,
                          stop >= 0 ? GST_SEEK_TYPE_SET : GST_SEEK_TYPE_NONE, stop)) {
        ended_ = ended_ || wasEnded;
        failed_ = failed_ || wasFailed;
        return false;
    }
    lastPosition_ = Start;
    // Done when the pipeline has prerolled again at the new place, so the next position read is the new one.
    WaitForState(SettleTimeLimit);
    return true;
}

HRESULT FilterGraph::SetPositions(LONGLONG* Current, DWORD CurrentFlags, LONGLONG* Stop, DWORD StopFlags) {
    if (pipeline_ == nullptr || chains_.empty())
        return VFW_E_WRONG_STATE;
    const DWORD currentMode = CurrentFlags & AM_SEEKING_PositioningBitsMask;
    const DWORD stopMode = StopFlags & AM_SEEKING_PositioningBitsMask;
    if ((currentMode != AM_SEEKING_NoPositioning && Current == nullptr) ||
        (stopMode != AM_SEEKING_NoPositioning && Stop == nullptr))
        return E_POINTER;
    if (currentMode == AM_SEEKING_NoPositioning && stopMode == AM_SEEKING_NoPositioning)
        return S_OK;
    // A disc is moved by its navigator, in its titles.
    if (dvd_)
        return com::E_NOTIMPL;
    // A stream that cannot seek keeps its place and its end, and goes on playing; so does one whose length is
    // not known yet (a place in it cannot be checked against its end).
    RefreshDuration();
    if (!seekable_ || !durationKnown_)
        return com::E_FAIL;
    LONGLONG now = 0;
    GetCurrentPosition(&now);
    auto resolve = [](DWORD mode, LONGLONG value, LONGLONG base) {
        return mode == AM_SEEKING_AbsolutePositioning ? value : base + value;
    };
    if (stopMode != AM_SEEKING_NoPositioning)
        stop_ = std::clamp<LONGLONG>(resolve(stopMode, *Stop, StopPosition()), 0, duration_);
    if (currentMode == AM_SEEKING_NoPositioning)
        return Seek(rate_, now, stop_) ? S_OK : com::E_FAIL;
    // A target beyond the stop position is the stop position: the end, not a refused seek.
    const LONGLONG target = std::clamp<LONGLONG>(resolve(currentMode, *Current, now), 0, StopPosition());
    if (GST_STATE_TARGET(pipeline_) < GST_STATE_PAUSED) {
        pendingStart_ = target;
        lastPosition_ = target;
        return S_OK;
    }
    return Seek(rate_, target, stop_) ? S_OK : com::E_FAIL;
}

HRESULT FilterGraph::SetRate(double Rate) {
    if (!(Rate > 0.0))
        return E_INVALIDARG;
    if (pipeline_ == nullptr || chains_.empty())
        return VFW_E_WRONG_STATE;
    // A disc's rate is its navigator's (in its titles; in a menu only the normal rate stands).
    if (dvd_)
        return dvd_->Rate() == Rate || dvd_->SetRate(Rate) ? S_OK : com::E_FAIL;
    if (Rate == rate_)
        return S_OK;
    // A rate is a seek: a stream that cannot seek keeps its rate and goes on playing.
    if (!seekable_)
        return com::E_FAIL;
    if (GST_STATE_TARGET(pipeline_) < GST_STATE_PAUSED) {
        rate_ = Rate; // applied when the graph runs again
        return S_OK;
    }
    LONGLONG now = 0;
    GetCurrentPosition(&now);
    // A rate is a seek at the current position; some demuxers refuse it.
    if (!Seek(Rate, now, stop_))
        return com::E_FAIL;
    rate_ = Rate;
    return S_OK;
}

HRESULT FilterGraph::GetRate(double* Rate) {
    if (Rate == nullptr)
        return E_POINTER;
    *Rate = dvd_ ? dvd_->Rate() : rate_;
    return S_OK;
}

// --- Audio --------------------------------------------------------------------------------------------

HRESULT FilterGraph::put_Volume(LONG Volume) {
    if (Volume < -10000 || Volume > 0)
        return E_INVALIDARG;
    std::lock_guard lock(mutex_);
    volumeLevel_ = Volume;
    ApplyAudio();
    return audioBranch_ ? S_OK : com::E_NOTIMPL;
}

HRESULT FilterGraph::get_Volume(LONG* Volume) {
    if (Volume == nullptr)
        return E_POINTER;
    std::lock_guard lock(mutex_);
    *Volume = volumeLevel_;
    return audioBranch_ ? S_OK : com::E_NOTIMPL;
}

HRESULT FilterGraph::put_Balance(LONG Balance) {
    if (Balance < -10000 || Balance > 10000)
        return E_INVALIDARG;
    std::lock_guard lock(mutex_);
    balance_ = Balance;
    ApplyAudio();
    return audioBranch_ ? S_OK : com::E_NOTIMPL;
}

HRESULT FilterGraph::get_Balance(LONG* Balance) {
    if (Balance == nullptr)
        return E_POINTER;
    std::lock_guard lock(mutex_);
    *Balance = balance_;
    return audioBranch_ ? S_OK : com::E_NOTIMPL;
}

// --- Video window -------------------------------------------------------------------------------------

// The renderer in window mode that the video of this graph goes to, or nullptr (no video, or windowless).
std::shared_ptr<VideoRenderer> FilterGraph::WindowRenderer() const {
    if (!renderer_ || renderer_->GetMode() != VideoRenderer::Mode::Window ||
        renderer_->ConnectedInputs() == 0)
        return nullptr;
    return renderer_;
}

HRESULT FilterGraph::put_Owner(HWND Owner) {
    auto renderer = WindowRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    if (Owner != nullptr && !win32::IsWindow(Owner))
        return E_INVALIDARG;
    renderer->SetOwner(Owner);
    return S_OK;
}

HRESULT FilterGraph::get_Owner(HWND* Owner) {
    if (Owner == nullptr)
        return E_POINTER;
    auto renderer = WindowRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    *Owner = renderer->Owner();
    return S_OK;
}

HRESULT FilterGraph::put_MessageDrain(HWND Drain) {
    // The video window lets mouse and keys through to the window beneath it, whatever is named here.
    if (!WindowRenderer())
        return E_NOINTERFACE;
    drain_ = Drain;
    return S_OK;
}

HRESULT FilterGraph::put_WindowStyle(LONG Style) {
    if (!WindowRenderer())
        return E_NOINTERFACE;
    style_ = Style;
    return S_OK;
}

HRESULT FilterGraph::get_WindowStyle(LONG* Style) {
    if (Style == nullptr)
        return E_POINTER;
    if (!WindowRenderer())
        return E_NOINTERFACE;
    *Style = style_;
    return S_OK;
}

HRESULT FilterGraph::SetWindowPosition(LONG Left, LONG Top, LONG Width, LONG Height) {
    auto renderer = WindowRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    if (Width < 0 || Height < 0)
        return E_INVALIDARG;
    renderer->SetWindowRect(QRect(Left, Top, Width, Height));
    return S_OK;
}

HRESULT FilterGraph::GetWindowPosition(LONG* Left, LONG* Top, LONG* Width, LONG* Height) {
    auto renderer = WindowRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    const QRect r = renderer->WindowRect();
    if (Left)
        *Left = r.left();
    if (Top)
        *Top = r.top();
    if (Width)
        *Width = r.width();
    if (Height)
        *Height = r.height();
    return S_OK;
}

HRESULT FilterGraph::put_Visible(LONG Visible) {
    auto renderer = WindowRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    renderer->SetWindowVisible(Visible != OAFALSE);
    return S_OK;
}

HRESULT FilterGraph::get_Visible(LONG* Visible) {
    if (Visible == nullptr)
        return E_POINTER;
    auto renderer = WindowRenderer();
    if (!renderer)
        return E_NOINTERFACE;
    *Visible = renderer->WindowVisible() ? OATRUE : OAFALSE;
    return S_OK;
}

// --- Frame step ---------------------------------------------------------------------------------------

GstElement* FilterGraph::VideoBranch() const {
    for (auto& chain : chains_)
        if (chain->videoBranch)
            return chain->videoBranch;
    return nullptr;
}

HRESULT FilterGraph::Step(DWORD Frames, com::IUnknown*) {
    if (pipeline_ == nullptr || chains_.empty())
        return VFW_E_WRONG_STATE;
    GstElement* video = VideoBranch();
    if (video == nullptr)
        return E_NOINTERFACE;
    if (Frames == 0)
        return E_INVALIDARG;
    // After the end there is no frame to step to: that is said at once, and the graph stays as it is. The
    // video may end before the sound (and so before the graph's end): its sink pad holds the end then.
    if (ended_ || failed_ || VideoEnded(video))
        return VFW_E_WRONG_STATE;
    // A step shows the next frame and leaves the graph paused there, also when it was running.
    if (state_ != State_Paused && com::FAILED(Pause()))
        return com::E_FAIL;
    if (!WaitForState(SettleTimeLimit))
        return com::E_FAIL;
    std::unique_lock lock(stepMutex_);
    const int before = stepsDone_;
    lock.unlock();
    if (!gst_element_send_event(video, gst_event_new_step(GST_FORMAT_BUFFERS, Frames, 1.0, TRUE, FALSE)))
        return com::E_FAIL;
    lock.lock();
    const auto deadline = std::chrono::steady_clock::now() + StepTimeLimit;
    while (!stepDone_.wait_for(lock, WaitSlice, [&] { return stepsDone_ != before || ended_ || failed_; })) {
        if (std::chrono::steady_clock::now() >= deadline)
            return VFW_E_TIMEOUT;
        lock.unlock();
        const bool goesOn = WaitGoesOn();
        lock.lock();
        if (!goesOn)
            return com::E_ABORT;
    }
    // The stream may end instead of giving the frame.
    return stepsDone_ != before && !stepReachedEnd_ ? S_OK : VFW_E_WRONG_STATE;
}

bool FilterGraph::VideoEnded(GstElement* Branch) {
    GstPad* sink = gst_element_get_static_pad(Branch, "sink");
    const bool ended = GST_PAD_IS_EOS(sink);
    gst_object_unref(sink);
    return ended;
}

void FilterGraph::WakeStep() {
    std::lock_guard lock(stepMutex_);
    stepDone_.notify_all();
}

HRESULT FilterGraph::CanStep(LONG, com::IUnknown*) {
    return VideoBranch() ? S_OK : com::S_FALSE;
}

HRESULT FilterGraph::CancelStep() {
    return S_OK;
}

} // namespace dshow
