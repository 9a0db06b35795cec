#include "platform/audio/Bass.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <limits>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/audio/BassProbe.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/LivePipelines.h"
#include "tests/support/StreamFaults.h"
#include "tests/support/TempDir.h"

namespace {

using namespace bass;
using testing_support::AudioFormat;
using testing_support::MakeToneFile;
using testing_support::TempDir;
using Clock = std::chrono::steady_clock;

constexpr QWORD Invalid = static_cast<QWORD>(-1);

// Waits until Done holds; a generous limit guards against a hang, never against a slow machine.
bool WaitFor(const std::function<bool()>& Done, std::chrono::seconds Limit = std::chrono::seconds(20)) {
    const auto deadline = Clock::now() + Limit;
    while (!Done()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

double PositionSeconds(HSTREAM Stream) {
    return BASS_ChannelBytes2Seconds(Stream, BASS_ChannelGetPosition(Stream, BASS_POS_BYTE));
}
double LengthSeconds(HSTREAM Stream) {
    return BASS_ChannelBytes2Seconds(Stream, BASS_ChannelGetLength(Stream, BASS_POS_BYTE));
}

class AudioLibrary : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr)); }
    void TearDown() override {
        for (HSTREAM stream : streams_)
            BASS_StreamFree(stream);
        BASS_SetVolume(1.0F);
    }

    // A stream of a new tone file; fails the test when it cannot be made.
    HSTREAM Open(AudioFormat Format, double Seconds, DWORD Flags = 0) {
        const std::string path =
            dir_.File("tone" + std::to_string(streams_.size()) + testing_support::AudioExtension(Format));
        if (!MakeToneFile(path, Format, Seconds))
            return 0;
        HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, Flags);
        EXPECT_NE(stream, 0U) << path;
        streams_.push_back(stream);
        return stream;
    }

    TempDir dir_;
    std::vector<HSTREAM> streams_;
};

TEST_F(AudioLibrary, VersionIsTwoPointFour) {
    EXPECT_EQ(BASS_GetVersion() >> 16, 0x0204U);
}

struct FormatCase {
    const char* name;
    AudioFormat format;
    double seconds;
    double tolerance; // how far the decoded length may lie from the tone's (encoder delay and frame rounding)
};

class EveryFormat : public AudioLibrary, public ::testing::WithParamInterface<FormatCase> {};

// The length is known as soon as the stream exists, and the stream plays, pauses and seeks.
TEST_P(EveryFormat, LengthIsKnownAtOnceAndTheStreamPlaysPausesAndSeeks) {
    const FormatCase& c = GetParam();
    HSTREAM stream = Open(c.format, c.seconds);
    ASSERT_NE(stream, 0U);
    EXPECT_NEAR(LengthSeconds(stream), c.seconds, c.tolerance);
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 0U);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);

    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);
    ASSERT_TRUE(WaitFor([&] { return PositionSeconds(stream) > 0.05; }));

    ASSERT_TRUE(BASS_ChannelPause(stream));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PAUSED);
    const QWORD paused = BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), paused) << "a paused stream holds its position";

    const QWORD middle = BASS_ChannelSeconds2Bytes(stream, c.seconds / 2);
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, middle, BASS_POS_BYTE));
    EXPECT_NEAR(PositionSeconds(stream), c.seconds / 2, 0.03) << "the seek lands where it was asked";
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PAUSED) << "a seek keeps a paused stream paused";

    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(WaitFor([&] { return PositionSeconds(stream) > c.seconds / 2 + 0.05; }))
        << "play goes on from the seek";
}

// The stream's own end ends it, and its position then is its length exactly, whatever the decoder reported.
TEST_P(EveryFormat, PlayedToItsEndThePositionIsTheLength) {
    const FormatCase& c = GetParam();
    HSTREAM stream = Open(c.format, 1.0);
    ASSERT_NE(stream, 0U);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(WaitFor([&] { return BASS_ChannelIsActive(stream) == BASS_ACTIVE_STOPPED; }));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), BASS_ChannelGetLength(stream, BASS_POS_BYTE));
    EXPECT_NEAR(LengthSeconds(stream), 1.0, c.tolerance);
}

// A seek beyond the end lands on the end: the stream has then ended, not run past it or refused the seek.
TEST_P(EveryFormat, ASeekPastTheEndEndsTheStream) {
    const FormatCase& c = GetParam();
    HSTREAM stream = Open(c.format, 2.0);
    ASSERT_NE(stream, 0U);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    const QWORD length = BASS_ChannelGetLength(stream, BASS_POS_BYTE);
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, length * 2, BASS_POS_BYTE));
    ASSERT_TRUE(WaitFor([&] { return BASS_ChannelIsActive(stream) == BASS_ACTIVE_STOPPED; }));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), BASS_ChannelGetLength(stream, BASS_POS_BYTE));
    EXPECT_NEAR(LengthSeconds(stream), 2.0, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Formats, EveryFormat,
                         ::testing::Values(FormatCase{"Mp3", AudioFormat::Mp3, 3.0, 0.08},
                                           FormatCase{"VbrMp3", AudioFormat::VbrMp3, 3.0, 0.5},
                                           FormatCase{"Mp2", AudioFormat::Mp2, 3.0, 0.08},
                                           FormatCase{"Mp1", AudioFormat::Mp1, 3.0, 0.01},
                                           FormatCase{"Ogg", AudioFormat::Ogg, 3.0, 0.03},
                                           FormatCase{"Wav", AudioFormat::Wav, 3.0, 0.001},
                                           FormatCase{"Aiff", AudioFormat::Aiff, 3.0, 0.001}),
                         testing_support::CaseName{});

} // namespace

namespace {

// Every call on a handle that names no stream fails and changes nothing.
TEST_F(AudioLibrary, CallsOnHandlesOfNoStreamFailHarmlessly) {
    HSTREAM freed = Open(AudioFormat::Wav, 0.5);
    ASSERT_TRUE(BASS_StreamFree(freed));
    for (DWORD handle : {DWORD{0}, freed, DWORD{0xDEADBEEF}}) {
        SCOPED_TRACE(handle);
        EXPECT_FALSE(BASS_StreamFree(handle));
        EXPECT_FALSE(BASS_ChannelPlay(handle, FALSE));
        EXPECT_FALSE(BASS_ChannelPause(handle));
        EXPECT_FALSE(BASS_ChannelStop(handle));
        EXPECT_EQ(BASS_ChannelIsActive(handle), BASS_ACTIVE_STOPPED);
        EXPECT_EQ(BASS_ChannelGetLength(handle, BASS_POS_BYTE), Invalid);
        EXPECT_EQ(BASS_ChannelGetPosition(handle, BASS_POS_BYTE), Invalid);
        EXPECT_FALSE(BASS_ChannelSetPosition(handle, 0, BASS_POS_BYTE));
        EXPECT_LT(BASS_ChannelBytes2Seconds(handle, 0), 0);
        EXPECT_EQ(BASS_ChannelSeconds2Bytes(handle, 1.0), Invalid);
        EXPECT_EQ(BASS_ChannelSetFX(handle, BASS_FX_DX8_PARAMEQ, 128), 0U);
    }
}

TEST_F(AudioLibrary, FilesThatAreNotAudioGiveNoStream) {
    testing_support::WriteFile(dir_.File("notes.mp3"), std::string(4000, 'x'));
    testing_support::WriteFile(dir_.File("empty.wav"), "");
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, dir_.File("notes.mp3").c_str(), 0, 0, 0), 0U);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, dir_.File("empty.wav").c_str(), 0, 0, 0), 0U);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, dir_.File("missing.ogg").c_str(), 0, 0, 0), 0U);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, nullptr, 0, 0, 0), 0U);
}

// Only regular files make streams: a FIFO or a device named like an audio file would hold the library while
// it waits for data that may never come. A FIFO is refused even when it is fed a whole WAV file.
TEST_F(AudioLibrary, OnlyRegularFilesMakeStreams) {
    const std::string tone = dir_.File("tone.wav");
    ASSERT_TRUE(MakeToneFile(tone, AudioFormat::Wav, 0.2)); // fits into the FIFO's buffer
    const std::string wav = testing_support::ReadFile(tone);
    const std::string fifo = dir_.File("fifo.wav");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Feeds every reader that opens the FIFO with the tone file.
    std::atomic<bool> done{false};
    void (*const previous)(int) = std::signal(SIGPIPE, SIG_IGN); // a reader that gives up is no crash
    std::thread writer([&] {
        while (!done) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::fcntl(fd, F_SETFL, 0);
                [[maybe_unused]] const ssize_t written = ::write(fd, wav.data(), wav.size());
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, fifo.c_str(), 0, 0, 0);
    done = true;
    writer.join();
    std::signal(SIGPIPE, previous);
    if (stream != 0)
        streams_.push_back(stream);
    EXPECT_EQ(stream, 0U);

    std::filesystem::create_directory(dir_.File("folder.wav"));
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, dir_.File("folder.wav").c_str(), 0, 0, 0), 0U);
    streams_.push_back(BASS_StreamCreateFile(FALSE, tone.c_str(), 0, 0, 0));
    EXPECT_NE(streams_.back(), 0U) << "the same data in a file plays";
}

// An output that opens but cannot start a stream: it posts an error at the first sound that reaches it.
GstElement* OutputThatRefusesToStart() {
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    GstPad* pad = gst_element_get_static_pad(sink, "sink");
    gst_pad_add_probe(
        pad, GST_PAD_PROBE_TYPE_BUFFER,
        +[](GstPad* Pad, GstPadProbeInfo* Info, gpointer) {
            GstElement* output = GST_PAD_PARENT(Pad);
            GError* error =
                g_error_new_literal(GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_BUSY, "the device is taken");
            gst_element_post_message(output, gst_message_new_error(GST_OBJECT(output), error, nullptr));
            g_error_free(error);
            gst_buffer_unref(GST_PAD_PROBE_INFO_BUFFER(Info));
            GST_PAD_PROBE_INFO_FLOW_RETURN(Info) = GST_FLOW_ERROR;
            return GST_PAD_PROBE_HANDLED;
        },
        nullptr, nullptr);
    gst_object_unref(pad);
    return sink;
}

// A desktop output that fails to start a stream leaves it on the clocked fake output: the file plays instead
// of being one that cannot be played. A file that is not audio still gives no stream.
TEST_F(AudioLibrary, AnOutputThatCannotStartAStreamGivesWayToTheFakeOne) {
    const std::string tone = dir_.File("tone.wav");
    ASSERT_TRUE(MakeToneFile(tone, AudioFormat::Wav, 1.0));
    testing_support::WriteFile(dir_.File("notes.mp3"), std::string(4000, 'x'));
    probe::UseDesktopOutput(OutputThatRefusesToStart);
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, tone.c_str(), 0, 0, 0);
    const HSTREAM notAudio = BASS_StreamCreateFile(FALSE, dir_.File("notes.mp3").c_str(), 0, 0, 0);
    probe::UseDesktopOutput(nullptr);
    streams_.push_back(stream);
    streams_.push_back(notAudio);
    EXPECT_EQ(notAudio, 0U);
    ASSERT_NE(stream, 0U);
    EXPECT_DOUBLE_EQ(LengthSeconds(stream), 1.0);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    EXPECT_TRUE(WaitFor([&] { return PositionSeconds(stream) > 0.1; })) << "the stream plays";
}

// A freed stream and a file that gives no stream leave no pipeline behind (nor the file, decoder and output
// it holds), also for a file whose length is found by reading it through.
TEST_F(AudioLibrary, NoPipelineOutlivesItsStream) {
    const std::string tone = dir_.File("tone.mp3");
    const std::string vbr = dir_.File("vbr.mp3");
    ASSERT_TRUE(MakeToneFile(tone, AudioFormat::Mp3, 1.0));
    ASSERT_TRUE(MakeToneFile(vbr, AudioFormat::VbrMp3, 1.0));
    testing_support::WriteFile(dir_.File("notes.ogg"), std::string(4000, 'x'));
    testing_support::CountPipelines();
    const int before = testing_support::LivePipelines();
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, dir_.File("notes.ogg").c_str(), 0, 0, 0), 0U);
    EXPECT_EQ(testing_support::LivePipelinesSettlingAt(before), before);
    for (const std::string& file : {tone, vbr}) {
        HSTREAM stream = BASS_StreamCreateFile(FALSE, file.c_str(), 0, 0, 0);
        ASSERT_NE(stream, 0U) << file;
        ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
        EXPECT_EQ(testing_support::LivePipelinesSettlingAt(before + 1), before + 1) << file;
        ASSERT_TRUE(BASS_StreamFree(stream));
        EXPECT_EQ(testing_support::LivePipelinesSettlingAt(before), before) << file;
    }
}

// Bytes count sample frames in the format the flags name; the seconds they stand for do not change, nor does
// the sound: the output gets the file's 16-bit samples, not 8-bit ones for flag 1.
TEST_F(AudioLibrary, BytesCountSamplesInTheFormatTheFlagsName) {
    const std::string path = dir_.File("tone.wav");
    ASSERT_TRUE(MakeToneFile(path, AudioFormat::Wav, 3.0)); // 44.1 kHz stereo
    struct {
        DWORD flags;
        QWORD bytesPerFrame;
    } cases[] = {{0, 4}, {BASS_SAMPLE_8BITS, 2}, {BASS_SAMPLE_FLOAT, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, c.flags);
        ASSERT_NE(stream, 0U);
        streams_.push_back(stream);
        EXPECT_EQ(BASS_ChannelGetLength(stream, BASS_POS_BYTE), 3 * 44100 * c.bytesPerFrame);
        EXPECT_DOUBLE_EQ(LengthSeconds(stream), 3.0);
        EXPECT_EQ(BASS_ChannelSeconds2Bytes(stream, 1.5), 66150 * c.bytesPerFrame);
        EXPECT_DOUBLE_EQ(BASS_ChannelBytes2Seconds(stream, 66150 * c.bytesPerFrame), 1.5);
        EXPECT_GE(probe::OutputSampleBits(stream), 16);
    }
}

// Positions far past any real length, in bytes or from seconds, stand for the end: they saturate instead of
// wrapping round to a negative time or to 0 bytes.
TEST_F(AudioLibrary, HugePositionsSaturateAndLandOnTheEnd) {
    HSTREAM stream = Open(AudioFormat::Wav, 1.0); // 44.1 kHz stereo: four bytes a frame
    ASSERT_NE(stream, 0U);
    const QWORD length = BASS_ChannelGetLength(stream, BASS_POS_BYTE);
    ASSERT_EQ(length, 44100U * 4);
    const QWORD mostBytes = (Invalid - 1) / 4 * 4; // the last whole frame below the error value
    struct {
        const char* name;
        QWORD bytes;
        double seconds; // >= 0: the bytes are what BASS_ChannelSeconds2Bytes gives for these seconds
        QWORD converted;
    } cases[] = {
        {"2^62 bytes", QWORD{1} << 62, -1, 0},
        {"2^63 + 8 bytes", (QWORD{1} << 63) + 8, -1, 0},
        {"the largest byte position", Invalid - 1, -1, 0},
        {"1e15 seconds", 0, 1e15, mostBytes},
        {"1e300 seconds", 0, 1e300, mostBytes},
        {"the largest double", 0, std::numeric_limits<double>::max(), mostBytes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWORD bytes = c.bytes;
        if (c.seconds >= 0) {
            bytes = BASS_ChannelSeconds2Bytes(stream, c.seconds);
            EXPECT_EQ(bytes, c.converted);
        }
        ASSERT_TRUE(BASS_ChannelSetPosition(stream, 0, BASS_POS_BYTE));
        EXPECT_TRUE(BASS_ChannelSetPosition(stream, bytes, BASS_POS_BYTE));
        EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), length);
    }
    // -1 is the library's error value (what a failed conversion gives): refused, the stream stays where it
    // is.
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, 44100 * 2, BASS_POS_BYTE));
    EXPECT_FALSE(BASS_ChannelSetPosition(stream, Invalid, BASS_POS_BYTE));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 44100U * 2);
}

// A decoder or an output that fails in mid-stream ends the stream as its end does: stopped, its position its
// length, where the pipeline would report "playing" at a frozen position (a failed output) or end early at a
// shorter length (a failed decoder). The stream then stays there.
TEST_F(AudioLibrary, AFailureWhilePlayingEndsTheStream) {
    struct {
        const char* name;
        AudioFormat format;
        BOOL (*breakIt)(DWORD);
    } cases[] = {{"a pulling decoder fails", AudioFormat::Wav, probe::BreakDecoding},
                 {"a pushed decoder fails", AudioFormat::Mp3, probe::BreakDecoding},
                 {"the output fails", AudioFormat::Ogg, probe::BreakOutput}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HSTREAM stream = Open(c.format, 3.0);
        ASSERT_NE(stream, 0U);
        const QWORD length = BASS_ChannelGetLength(stream, BASS_POS_BYTE);
        ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
        ASSERT_TRUE(WaitFor([&] { return PositionSeconds(stream) > 0.2; }));
        ASSERT_TRUE(c.breakIt(stream));
        ASSERT_TRUE(WaitFor([&] { return BASS_ChannelIsActive(stream) == BASS_ACTIVE_STOPPED; }))
            << "a failed stream does not go on playing";
        EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), length);
        EXPECT_EQ(BASS_ChannelGetLength(stream, BASS_POS_BYTE), length) << "the length stays what it was";

        EXPECT_FALSE(BASS_ChannelPlay(stream, FALSE)) << "nothing plays any more";
        EXPECT_FALSE(BASS_ChannelPlay(stream, TRUE));
        EXPECT_FALSE(BASS_ChannelPause(stream));
        EXPECT_FALSE(BASS_ChannelSetPosition(stream, 0, BASS_POS_BYTE));
        EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
        EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), length);
    }
}

// A stream with nothing to play, made from the first 44 bytes of a WAV file, is at its end as soon as it
// plays: stopped, its position its length 0. It neither plays for ever at 0:00:00 nor has its parser send
// empty buffers that every element after it warns about, one critical warning each.
TEST_F(AudioLibrary, AStreamWithNothingToPlayIsAtItsEndAtOnce) {
    struct {
        const char* name;
        std::string contents;
    } cases[] = {
        {"the header cut inside the chunk after the format", testing_support::WavHeaderOnly()},
        {"an empty data chunk", testing_support::WavHeaderThen(std::string("data\0\0\0\0", 8))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir_.File("nothing.wav");
        testing_support::WriteFile(path, c.contents);
        testing_support::GstWarningCount warnings;
        const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
        ASSERT_NE(stream, 0U);
        streams_.push_back(stream);
        EXPECT_EQ(BASS_ChannelGetLength(stream, BASS_POS_BYTE), 0U);
        ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
        EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
        EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 0U);
        EXPECT_EQ(BASS_ChannelGetLength(stream, BASS_POS_BYTE), 0U) << "the length stays 0";
        ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
        EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED) << "played again, it ends again";
        EXPECT_EQ(warnings.Criticals(), 0);
    }
}

// A stream whose output never gets the end of the stream stands at its length after the last sample: it
// ends there a few seconds later as at its end, while a paused stream stands as long as it is paused.
TEST_F(AudioLibrary, AStreamStandingAtItsEndWithoutEndingEndsAFewSecondsLater) {
    testing_support::EndOfStreamHeldBack heldBack;
    HSTREAM stream = Open(AudioFormat::Wav, 1.0);
    ASSERT_NE(stream, 0U);
    const QWORD length = BASS_ChannelGetLength(stream, BASS_POS_BYTE);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(WaitFor([&] { return PositionSeconds(stream) > 0.3; }));
    ASSERT_TRUE(BASS_ChannelPause(stream));
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PAUSED) << "a pause is not a stall";
    const auto start = Clock::now();
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(WaitFor([&] { return BASS_ChannelGetPosition(stream, BASS_POS_BYTE) == length; }));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING) << "the end did not come";
    ASSERT_TRUE(WaitFor([&] { return BASS_ChannelIsActive(stream) == BASS_ACTIVE_STOPPED; }));
    EXPECT_GT(Clock::now() - start, std::chrono::seconds(2)) << "it stood a while at its end first";
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), length);
    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING) << "it plays again from the start";
    EXPECT_LT(PositionSeconds(stream), 0.5);
}

TEST_F(AudioLibrary, LengthsTellHalfSeconds) {
    HSTREAM shorter = Open(AudioFormat::Wav, 10.5);
    HSTREAM longer = Open(AudioFormat::Wav, 11.5);
    EXPECT_DOUBLE_EQ(LengthSeconds(shorter), 10.5);
    EXPECT_DOUBLE_EQ(LengthSeconds(longer), 11.5);
}

// The volume belongs to the library: it reaches the stream that plays and every stream made later.
TEST_F(AudioLibrary, VolumeAppliesToEveryStreamNowAndLater) {
    HSTREAM first = Open(AudioFormat::Wav, 0.5);
    EXPECT_DOUBLE_EQ(bass::probe::OutputGain(first), 1.0);
    ASSERT_TRUE(BASS_SetVolume(0.3F));
    EXPECT_NEAR(bass::probe::OutputGain(first), 0.3, 1e-6);
    HSTREAM second = Open(AudioFormat::Ogg, 0.5);
    EXPECT_NEAR(bass::probe::OutputGain(second), 0.3, 1e-6);

    EXPECT_FALSE(BASS_SetVolume(1.5F));
    EXPECT_FALSE(BASS_SetVolume(-0.1F));
    EXPECT_NEAR(bass::probe::OutputGain(second), 0.3, 1e-6) << "a refused volume changes nothing";
    ASSERT_TRUE(BASS_SetVolume(0.0F));
    EXPECT_DOUBLE_EQ(bass::probe::OutputGain(first), 0.0);
}

// Each parametric-equaliser effect is a band of its own, neutral until its parameters are set.
TEST_F(AudioLibrary, EachEqualiserEffectIsANeutralBand) {
    HSTREAM stream = Open(AudioFormat::Wav, 1.0);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    EXPECT_EQ(bass::probe::EqualizerBands(stream), 0);
    std::vector<HFX> effects;
    for (int i = 0; i < 10; ++i)
        effects.push_back(BASS_ChannelSetFX(stream, BASS_FX_DX8_PARAMEQ, 128));
    EXPECT_EQ(std::count(effects.begin(), effects.end(), 0U), 0);
    std::sort(effects.begin(), effects.end());
    EXPECT_EQ(std::unique(effects.begin(), effects.end()), effects.end())
        << "every effect has its own handle";
    EXPECT_EQ(bass::probe::EqualizerBands(stream), 10);
    EXPECT_DOUBLE_EQ(bass::probe::LargestEqualizerGain(stream), 0.0);
    EXPECT_EQ(BASS_ChannelSetFX(stream, 3, 128), 0U) << "other effect types are not offered";
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING) << "adding bands does not stop the stream";
}

TEST_F(AudioLibrary, PlayResumesOrRestartsAndStopKeepsThePosition) {
    HSTREAM stream = Open(AudioFormat::Wav, 3.0);
    EXPECT_FALSE(BASS_ChannelPause(stream)) << "a stream that does not play cannot pause";
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, BASS_ChannelSeconds2Bytes(stream, 2.0), BASS_POS_BYTE));
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(BASS_ChannelStop(stream));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
    const double stopped = PositionSeconds(stream);
    EXPECT_GE(stopped, 2.0);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    EXPECT_GE(PositionSeconds(stream), stopped) << "play after stop goes on from the same place";
    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    EXPECT_LT(PositionSeconds(stream), 1.0) << "restart goes back to the start";
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);
}

// The fake output keeps real time, so the position never runs ahead of the clock on the wall.
TEST_F(AudioLibrary, PositionFollowsRealTime) {
    HSTREAM stream = Open(AudioFormat::Mp3, 3.0);
    const auto start = Clock::now();
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const double position = PositionSeconds(stream);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_GT(position, 0.0);
    EXPECT_LE(position, elapsed + 0.05);
}

} // namespace
