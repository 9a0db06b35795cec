#include "platform/gst/Gst.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace {

// The fake output must keep real time: a second of tone takes about a second to play, not a few milliseconds.
// (Checked by the clock of the pipeline, not by a timed assertion on the machine's speed.)
TEST(AudioOutput, FakeOutputRunsAgainstTheClock) {
    gst::EnsureInitialised();
    ASSERT_TRUE(gst::AudioOutputIsFake()) << "tests run with QUOREL_AUDIO_OUTPUT=fake";
    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* source = gst_element_factory_make("audiotestsrc", nullptr);
    g_object_set(source, "num-buffers", 10, "samplesperbuffer", 4410, nullptr); // 10 x 0.1 s at 44.1 kHz
    GstElement* sink = gst::CreateAudioOutput();
    gst_bin_add_many(GST_BIN(pipeline), source, sink, nullptr);
    ASSERT_TRUE(gst_element_link(source, sink));
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* done = gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND,
                                                  static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(GST_MESSAGE_TYPE(done), GST_MESSAGE_EOS);
    gint64 position = 0;
    gst_element_query_position(pipeline, GST_FORMAT_TIME, &position);
    GstClockTime runningTime = gst_clock_get_time(gst_element_get_clock(pipeline)) - gst_element_get_base_time(pipeline);
    EXPECT_GE(runningTime, 900 * GST_MSECOND) << "a clocked output takes the stream's own time";
    gst_message_unref(done);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

} // namespace
