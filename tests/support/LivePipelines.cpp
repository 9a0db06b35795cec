#include "tests/support/LivePipelines.h"

#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include <gst/gst.h>

#include "platform/gst/Gst.h"

namespace testing_support {

namespace {

std::mutex liveMutex;
std::set<const void*>& Live() {
    static auto* live = new std::set<const void*>; // never destroyed: hooks may run while the process ends
    return *live;
}

void ObjectCreated(GObject*, GstClockTime, GstObject* Object) {
    if (!GST_IS_PIPELINE(Object))
        return;
    std::lock_guard lock(liveMutex);
    Live().insert(Object);
}

void ObjectDestroyed(GObject*, GstClockTime, GstObject* Object) {
    std::lock_guard lock(liveMutex);
    Live().erase(Object);
}

// A tracer of our own whose only work is the two hooks.
GType PipelineCounterType() {
    static const GType type = g_type_register_static_simple(
        GST_TYPE_TRACER, "QuorelTestPipelineCounter", sizeof(GstTracerClass), nullptr, sizeof(GstTracer),
        [](GTypeInstance* Instance, gpointer) {
            auto* tracer = reinterpret_cast<GstTracer*>(Instance);
            gst_tracing_register_hook(tracer, "object-created", G_CALLBACK(&ObjectCreated));
            gst_tracing_register_hook(tracer, "object-destroyed", G_CALLBACK(&ObjectDestroyed));
        },
        GTypeFlags{});
    return type;
}

} // namespace

void CountPipelines() {
    gst::EnsureInitialised();
    // The tracer lives as long as the process: GStreamer keeps its hooks.
    static const gpointer counter = g_object_new(PipelineCounterType(), nullptr);
    (void)counter;
}

int LivePipelines() {
    CountPipelines();
    std::lock_guard lock(liveMutex);
    return static_cast<int>(Live().size());
}

int LivePipelinesSettlingAt(int Expected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    int live = LivePipelines();
    while (live != Expected && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        live = LivePipelines();
    }
    return live;
}

} // namespace testing_support
