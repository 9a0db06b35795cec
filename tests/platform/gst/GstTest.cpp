#include "platform/gst/Gst.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Plays Pipeline until it ends, which it must within Limit and without an error.
void PlayToTheEnd(GstElement* Pipeline, GstClockTime Limit) {
    gst_element_set_state(Pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(Pipeline);
    GstMessage* done = gst_bus_timed_pop_filtered(
        bus, Limit, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    gst_object_unref(bus);
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(GST_MESSAGE_TYPE(done), GST_MESSAGE_EOS);
    gst_message_unref(done);
}

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
    PlayToTheEnd(pipeline, 10 * GST_SECOND);
    gint64 position = 0;
    gst_element_query_position(pipeline, GST_FORMAT_TIME, &position);
    GstClockTime runningTime =
        gst_clock_get_time(gst_element_get_clock(pipeline)) - gst_element_get_base_time(pipeline);
    EXPECT_GE(runningTime, 900 * GST_MSECOND) << "a clocked output takes the stream's own time";
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

TEST(VideoDecoderThreads, GrowWithThePictureAndStayWithinTheMachine) {
    struct Case {
        int width, height, cores, threads;
    } const cases[] = {
        {0, 0, 8, 1},       {720, 576, 8, 1},   {1280, 720, 8, 1},  {1920, 1080, 8, 2},
        {2560, 1440, 8, 3}, {3840, 2160, 8, 5}, {3840, 2160, 2, 2}, {7680, 4320, 8, 8},
        {1920, 1080, 1, 1}, {1920, 1080, 0, 1}, {-5, 100, 8, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gst::VideoDecoderThreads(c.width, c.height, c.cores), c.threads)
            << c.width << "x" << c.height << " on " << c.cores;
}

// The decoder that decodebin plugs is told its thread count before it opens the codec.
TEST(VideoDecoderThreads, ReachTheDecoderDecodebinPlugs) {
    gst::EnsureInitialised();
    struct Case {
        int width, height;
    } const cases[] = {{1920, 1080}, {640, 360}};
    for (const Case& c : cases) {
        const std::string description =
            "videotestsrc num-buffers=2 ! video/x-raw,width=" + std::to_string(c.width) +
            ",height=" + std::to_string(c.height) +
            " ! x264enc speed-preset=ultrafast ! h264parse ! decodebin ! fakesink sync=false";
        GError* error = nullptr;
        GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
        ASSERT_NE(pipeline, nullptr) << (error ? error->message : "");
        gst::LimitVideoDecoderThreads(GST_BIN(pipeline));
        std::vector<GstElement*> decoders;
        g_signal_connect(pipeline, "deep-element-added",
                         G_CALLBACK(+[](GstBin*, GstBin*, GstElement* Element, gpointer Found) {
                             GstElementFactory* factory = gst_element_get_factory(Element);
                             if (factory &&
                                 gst_element_factory_list_is_type(factory, GST_ELEMENT_FACTORY_TYPE_DECODER))
                                 static_cast<std::vector<GstElement*>*>(Found)->push_back(
                                     GST_ELEMENT(gst_object_ref(Element)));
                         }),
                         &decoders);
        PlayToTheEnd(pipeline, 20 * GST_SECOND);
        ASSERT_EQ(decoders.size(), 1U);
        int threads = -1;
        g_object_get(decoders.front(), "max-threads", &threads, nullptr);
        const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
        EXPECT_EQ(threads, gst::VideoDecoderThreads(c.width, c.height, cores)) << c.width << "x" << c.height;
        for (GstElement* decoder : decoders)
            gst_object_unref(decoder);
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
    }
}

} // namespace
