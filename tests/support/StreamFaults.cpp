#include "tests/support/StreamFaults.h"

#include <cstring>

#include <gst/gst.h>

#include "platform/gst/Gst.h"

namespace testing_support {

namespace {

void CountCritical(const gchar* Domain, GLogLevelFlags Level, const gchar* Message, gpointer Count) {
    if ((Level & G_LOG_LEVEL_CRITICAL) != 0)
        ++*static_cast<std::atomic<int>*>(Count);
    g_log_default_handler(Domain, Level, Message, nullptr);
}

std::atomic<bool> holdBackEnds{false};
// While set, the sinks made refuse duration queries.
std::atomic<bool> withholdLength{false};

GstPadProbeReturn RefuseDuration(GstPad*, GstPadProbeInfo* Info, gpointer) {
    const bool refused = GST_QUERY_TYPE(GST_PAD_PROBE_INFO_QUERY(Info)) == GST_QUERY_DURATION && withholdLength;
    return refused ? GST_PAD_PROBE_DROP : GST_PAD_PROBE_OK;
}

GstPadProbeReturn DropEndOfStream(GstPad*, GstPadProbeInfo* Info, gpointer) {
    return GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(Info)) == GST_EVENT_EOS ? GST_PAD_PROBE_DROP
                                                                           : GST_PAD_PROBE_OK;
}

// Called for every element added to a bin, on any thread.
void ElementAdded(GObject*, GstClockTime, GstBin*, GstElement* Element, gboolean Added) {
    if (Added && withholdLength && GST_OBJECT_FLAG_IS_SET(Element, GST_ELEMENT_FLAG_SINK)) {
        if (GstPad* pad = gst_element_get_static_pad(Element, "sink")) {
            gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_QUERY_UPSTREAM, RefuseDuration, nullptr, nullptr);
            gst_object_unref(pad);
        }
    }
    if (!Added || !holdBackEnds)
        return;
    GstElementFactory* factory = gst_element_get_factory(Element);
    if (factory == nullptr || std::strcmp(GST_OBJECT_NAME(factory), "fakesink") != 0)
        return;
    GstPad* pad = gst_element_get_static_pad(Element, "sink");
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, DropEndOfStream, nullptr, nullptr);
    gst_object_unref(pad);
}

GType BinWatchType() {
    static const GType type = g_type_register_static_simple(
        GST_TYPE_TRACER, "QuorelTestBinWatch", sizeof(GstTracerClass), nullptr, sizeof(GstTracer),
        [](GTypeInstance* Instance, gpointer) {
            gst_tracing_register_hook(reinterpret_cast<GstTracer*>(Instance), "bin-add-post",
                                      G_CALLBACK(&ElementAdded));
        },
        GTypeFlags{});
    return type;
}

void WatchBins() {
    gst::EnsureInitialised();
    // The tracer lives as long as the process: GStreamer keeps its hooks.
    static const gpointer watch = g_object_new(BinWatchType(), nullptr);
    (void)watch;
}

} // namespace

GstWarningCount::GstWarningCount() {
    const auto levels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING);
    handlers_[0] = g_log_set_handler("GStreamer", levels, CountCritical, &criticals_);
    handlers_[1] = g_log_set_handler("GLib-GObject", levels, CountCritical, &criticals_);
}

GstWarningCount::~GstWarningCount() {
    g_log_remove_handler("GStreamer", handlers_[0]);
    g_log_remove_handler("GLib-GObject", handlers_[1]);
}

EndOfStreamHeldBack::EndOfStreamHeldBack() {
    WatchBins();
    holdBackEnds = true;
}

EndOfStreamHeldBack::~EndOfStreamHeldBack() {
    holdBackEnds = false;
}

LengthWithheld::LengthWithheld() {
    WatchBins();
    withholdLength = true;
}

LengthWithheld::~LengthWithheld() {
    withholdLength = false;
}

void LengthWithheld::Tell() {
    withholdLength = false;
}

} // namespace testing_support
