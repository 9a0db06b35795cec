#include "platform/gst/Gst.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

namespace gst {

void EnsureInitialised() {
    static std::once_flag once;
    std::call_once(once, [] { gst_init(nullptr, nullptr); });
}

GstElement* CreateFakeAudioOutput() {
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}

namespace {

bool ForcedFake() {
    const char* output = std::getenv("QUOREL_AUDIO_OUTPUT");
    return output != nullptr && std::strcmp(output, "fake") == 0;
}

// Whether the desktop's default output opens; asked once, as opening a device can take a while.
bool DefaultOutputOpens() {
    static const bool opens = [] {
        GstElement* sink = gst_element_factory_make("autoaudiosink", nullptr);
        if (sink == nullptr)
            return false;
        gst_object_ref_sink(sink);
        bool ok = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
        gst_element_set_state(sink, GST_STATE_NULL);
        gst_object_unref(sink);
        return ok;
    }();
    return opens;
}

} // namespace

bool AudioOutputIsFake() {
    EnsureInitialised();
    return ForcedFake() || !DefaultOutputOpens();
}

GstElement* CreateAudioOutput() {
    if (AudioOutputIsFake())
        return CreateFakeAudioOutput();
    GstElement* sink = gst_element_factory_make("autoaudiosink", nullptr);
    return sink != nullptr ? sink : CreateFakeAudioOutput();
}

namespace {

// Per pad: whether a segment came since the stream started or was last flushed. Read and written in the
// pad's streaming thread, under its stream lock.
struct SegmentSeen {
    bool seen = false;
};

GstPadProbeReturn OnGuardedData(GstPad* Pad, GstPadProbeInfo* Info, gpointer Data) {
    auto* state = static_cast<SegmentSeen*>(Data);
    if ((GST_PAD_PROBE_INFO_TYPE(Info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) != 0) {
        switch (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(Info))) {
        case GST_EVENT_SEGMENT:
            state->seen = true;
            break;
        case GST_EVENT_STREAM_START:
        case GST_EVENT_FLUSH_STOP: // a flush takes the segment away: a new one must come
            state->seen = false;
            break;
        default:
            break;
        }
        return GST_PAD_PROBE_OK;
    }
    if (!state->seen) {
        state->seen = true;
        GstSegment segment;
        gst_segment_init(&segment, GST_FORMAT_TIME);
        gst_pad_send_event(Pad, gst_event_new_segment(&segment));
    }
    return GST_PAD_PROBE_OK;
}

} // namespace

void GuardSegment(GstPad* Pad) {
    gst_pad_add_probe(
        Pad,
        static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST |
                                     GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
        OnGuardedData, new SegmentSeen, [](gpointer Data) { delete static_cast<SegmentSeen*>(Data); });
}

int VideoDecoderThreads(int Width, int Height, int Cores) {
    constexpr long long Pixels720p = 1280LL * 720;
    constexpr long long Pixels1080p = 1920LL * 1088;
    const long long pixels = static_cast<long long>(std::max(Width, 0)) * std::max(Height, 0);
    const long long threads = pixels <= Pixels720p ? 1 : 1 + (pixels + Pixels1080p - 1) / Pixels1080p;
    return static_cast<int>(std::clamp<long long>(threads, 1, std::max(Cores, 1)));
}

namespace {

// At the decoder's sink pad: its caps tell the picture size, and the decoder reads its thread count when
// those caps reach it, just after this.
GstPadProbeReturn OnDecoderCaps(GstPad* Pad, GstPadProbeInfo* Info, gpointer) {
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(Info);
    if (GST_EVENT_TYPE(event) != GST_EVENT_CAPS)
        return GST_PAD_PROBE_OK;
    GstCaps* caps = nullptr;
    gst_event_parse_caps(event, &caps);
    const GstStructure* structure =
        caps != nullptr && gst_caps_get_size(caps) > 0 ? gst_caps_get_structure(caps, 0) : nullptr;
    int width = 0, height = 0;
    if (structure == nullptr || !gst_structure_get_int(structure, "width", &width) ||
        !gst_structure_get_int(structure, "height", &height))
        return GST_PAD_PROBE_OK;
    static const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    GstElement* decoder = gst_pad_get_parent_element(Pad);
    if (decoder != nullptr) {
        g_object_set(decoder, "max-threads", VideoDecoderThreads(width, height, cores), nullptr);
        gst_object_unref(decoder);
    }
    return GST_PAD_PROBE_OK;
}

void OnElementAdded(GstBin*, GstBin*, GstElement* Element, gpointer) {
    GstElementFactory* factory = gst_element_get_factory(Element);
    if (factory == nullptr ||
        !gst_element_factory_list_is_type(factory, GST_ELEMENT_FACTORY_TYPE_DECODER |
                                                       GST_ELEMENT_FACTORY_TYPE_MEDIA_VIDEO))
        return;
    GParamSpec* threads = g_object_class_find_property(G_OBJECT_GET_CLASS(Element), "max-threads");
    if (threads == nullptr || threads->value_type != G_TYPE_INT)
        return;
    GstPad* sink = gst_element_get_static_pad(Element, "sink");
    if (sink == nullptr)
        return;
    gst_pad_add_probe(sink, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, OnDecoderCaps, nullptr, nullptr);
    gst_object_unref(sink);
}

} // namespace

void LimitVideoDecoderThreads(GstBin* Bin) {
    g_signal_connect(Bin, "deep-element-added", G_CALLBACK(OnElementAdded), nullptr);
}

} // namespace gst
