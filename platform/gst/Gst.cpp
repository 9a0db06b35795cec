#include "platform/gst/Gst.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

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

} // namespace gst
