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

} // namespace gst
