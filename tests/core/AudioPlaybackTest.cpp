#include "core/AudioPlayback.h"

#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "platform/audio/Bass.h"
#include "platform/audio/BassProbe.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/RunTree.h"

namespace {

using namespace bass;
using testing_support::AudioFormat;
using Clock = std::chrono::steady_clock;

bool WaitFor(const std::function<bool()>& Done) {
    const auto deadline = Clock::now() + std::chrono::seconds(20); // a guard against a hang only
    while (!Done()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

double StreamPosition() {
    return BASS_ChannelBytes2Seconds(State.BassStream,
                                     BASS_ChannelGetPosition(State.BassStream, BASS_POS_BYTE));
}

struct ExtensionCase {
    const char* name;
    const char* file;
    bool audio;
};

class IsAudioFileCases : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(IsAudioFileCases, SixExtensionsInAnyCase) {
    EXPECT_EQ(IsAudioFile(GetParam().file), GetParam().audio);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IsAudioFileCases,
    ::testing::Values(ExtensionCase{"Mp3", "/music/a.mp3", true},
                      ExtensionCase{"UpperMp3", "/music/A.MP3", true}, ExtensionCase{"Mp2", "b.mp2", true},
                      ExtensionCase{"Mp1", "b.Mp1", true}, ExtensionCase{"Ogg", "c.Ogg", true},
                      ExtensionCase{"Wav", "d.wav", true}, ExtensionCase{"Aif", "e.AIF", true},
                      ExtensionCase{"Aiff", "e.aiff", false}, ExtensionCase{"Wma", "f.wma", false},
                      ExtensionCase{"Flac", "g.flac", false}, ExtensionCase{"Video", "h.mp4", false},
                      ExtensionCase{"NoExtension", "/music/mp3", false},
                      ExtensionCase{"DotInFolderOnly", "/music.mp3/track", false},
                      ExtensionCase{"LastDotCounts", "i.mp3.txt", false}),
    testing_support::CaseName{});

class AudioPlayback : public ::testing::Test {
protected:
    void SetUp() override { State.SoundLevel = 60; }
    void TearDown() override { BassStop(); }

    std::string Tone(AudioFormat Format, double Seconds) {
        const std::string path =
            tree.Root() + "/tone" + std::to_string(made++) + testing_support::AudioExtension(Format);
        EXPECT_TRUE(testing_support::MakeToneFile(path, Format, Seconds));
        return path;
    }

    testing_support::RunTree tree;
    int made = 0;
};

struct FormatCase {
    const char* name;
    AudioFormat format;
    double tolerance;
};

class EveryAudioFormat : public AudioPlayback, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(EveryAudioFormat, OpensAndPlaysWithItsLength) {
    ASSERT_TRUE(PlayAudioFile(Tone(GetParam().format, 2.2)));
    EXPECT_NE(State.BassStream, 0U);
    EXPECT_EQ(State.PlayType, PlayTypes::Audio);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_FALSE(State.IsPaused);
    EXPECT_TRUE(State.PositionReady);
    EXPECT_EQ(State.VideoWidth, 550);
    EXPECT_EQ(State.VideoHeight, 350);
    EXPECT_NEAR(State.AudioLength, 2.2, GetParam().tolerance);
    EXPECT_EQ(State.AudioSeconds, 2);
    EXPECT_EQ(BASS_ChannelIsActive(State.BassStream), BASS_ACTIVE_PLAYING);
    EXPECT_GE(probe::OutputSampleBits(State.BassStream), 16) << "flag 1 asks for 8-bit samples: not heard";
    EXPECT_TRUE(WaitFor([] { return StreamPosition() > 0.05; })) << "the stream plays";
}

INSTANTIATE_TEST_SUITE_P(Formats, EveryAudioFormat,
                         ::testing::Values(FormatCase{"Mp3", AudioFormat::Mp3, 0.08},
                                           FormatCase{"Mp2", AudioFormat::Mp2, 0.08},
                                           FormatCase{"Mp1", AudioFormat::Mp1, 0.01},
                                           FormatCase{"Ogg", AudioFormat::Ogg, 0.03},
                                           FormatCase{"Wav", AudioFormat::Wav, 0.001},
                                           FormatCase{"Aiff", AudioFormat::Aiff, 0.001}),
                         testing_support::CaseName{});

TEST_F(AudioPlayback, WholeSecondsRoundHalvesToEven) {
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 10.5)));
    EXPECT_DOUBLE_EQ(State.AudioLength, 10.5);
    EXPECT_EQ(State.AudioSeconds, 10);
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 11.5)));
    EXPECT_DOUBLE_EQ(State.AudioLength, 11.5);
    EXPECT_EQ(State.AudioSeconds, 12);
}

TEST_F(AudioPlayback, OpeningTheNextFileFreesThePreviousStream) {
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 1.0)));
    const HSTREAM first = State.BassStream;
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Ogg, 1.0)));
    EXPECT_NE(State.BassStream, first);
    EXPECT_EQ(BASS_ChannelGetLength(first, BASS_POS_BYTE), static_cast<QWORD>(-1))
        << "only one stream exists";
}

TEST_F(AudioPlayback, AMissingFileChangesNothing) {
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 2.0)));
    const HSTREAM playing = State.BassStream;
    EXPECT_FALSE(PlayAudioFile(tree.Root() + "/gone.mp3"));
    EXPECT_EQ(State.BassStream, playing);
    EXPECT_EQ(BASS_ChannelIsActive(playing), BASS_ACTIVE_PLAYING);
    EXPECT_TRUE(State.IsPlaying);
}

// A file that cannot be played leaves nothing playing and PlayType as it was: it is not "playing".
TEST_F(AudioPlayback, AFileThatIsNotAudioLeavesThePlayerStopped) {
    const std::string notAudio = tree.Root() + "/notes.mp3";
    testing_support::WriteFile(notAudio, std::string(5000, 'n'));

    State.PlayType = PlayTypes::MediaFile; // a graph medium was stopped before this open
    State.PositionReady = false;
    EXPECT_FALSE(PlayAudioFile(notAudio));
    EXPECT_EQ(State.PlayType, PlayTypes::MediaFile);
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_FALSE(State.PositionReady);
    EXPECT_EQ(State.BassStream, 0U);

    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 2.0))); // the same entry again, as repeat-one does
    EXPECT_FALSE(PlayAudioFile(notAudio));
    EXPECT_EQ(State.PlayType, PlayTypes::Audio);
    EXPECT_FALSE(State.IsPlaying) << "the stream that played was freed";
    EXPECT_FALSE(State.IsPaused);
    EXPECT_EQ(State.BassStream, 0U);
}

TEST_F(AudioPlayback, VolumeAndMuteReachTheStream) {
    State.isSlience = true;
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 2.0)));
    EXPECT_DOUBLE_EQ(probe::OutputGain(State.BassStream), 0.0) << "opened while muted";

    SetVolumePercent(70);
    EXPECT_EQ(State.SoundLevel, 70);
    EXPECT_DOUBLE_EQ(probe::OutputGain(State.BassStream), 0.0) << "muted: the new level waits";

    EXPECT_EQ(ToggleMuteBass(State.SoundLevel), "Sound_normal_btn.bmp");
    EXPECT_FALSE(State.isSlience);
    EXPECT_NEAR(probe::OutputGain(State.BassStream), 0.7, 1e-6);
    EXPECT_EQ(ReadIniInteger("Play", "isSlience"), 0);

    SetVolumePercent(25);
    EXPECT_NEAR(probe::OutputGain(State.BassStream), 0.25, 1e-6);

    EXPECT_EQ(ToggleMuteBass(State.SoundLevel), "Slience_Normal_btn.bmp");
    EXPECT_DOUBLE_EQ(probe::OutputGain(State.BassStream), 0.0);
    EXPECT_EQ(ReadIniInteger("Play", "isSlience"), 1);

    State.isSlience = false;
    State.SoundLevel = -1; // a missing [Play] SoundLevel
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 1.0)));
    EXPECT_DOUBLE_EQ(probe::OutputGain(State.BassStream), 0.0);
}

TEST_F(AudioPlayback, PauseResumeAndStopKeepTheFlagsInStep) {
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 3.0)));
    ASSERT_TRUE(WaitFor([] { return StreamPosition() > 0.05; }));

    BassPause();
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_TRUE(State.IsPaused);
    const double paused = StreamPosition();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_DOUBLE_EQ(StreamPosition(), paused);

    BassPlay();
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_FALSE(State.IsPaused);
    EXPECT_TRUE(WaitFor([&] { return StreamPosition() > paused + 0.05; })) << "goes on where it stood";

    const HSTREAM stream = State.BassStream;
    BassStop();
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_FALSE(State.IsPaused);
    EXPECT_EQ(State.BassStream, 0U);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ChannelGetLength(stream, BASS_POS_BYTE), static_cast<QWORD>(-1)) << "the stream is freed";

    BassStop(); // twice is harmless
    BassPlay();
    EXPECT_FALSE(State.IsPlaying) << "nothing to play: the flags stay stopped";
    BassPause();
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_FALSE(State.IsPaused);
}

TEST_F(AudioPlayback, EqualizerEffectsAreTenNeutralBands) {
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Mp3, 1.0)));
    AddEqualizerEffects();
    EXPECT_EQ(probe::EqualizerBands(State.BassStream), 10);
    EXPECT_DOUBLE_EQ(probe::LargestEqualizerGain(State.BassStream), 0.0);
}

struct SeekCase {
    const char* name;
    std::int64_t seconds;
    double expected; // -1: the real end
    bool paused;
};

class SeekAudioSecondsCases : public AudioPlayback, public ::testing::WithParamInterface<SeekCase> {};

// An 11.5 s file: AudioSeconds is 12, past its real end.
TEST_P(SeekAudioSecondsCases, ClampsToTheStreamAndKeepsItsState) {
    const SeekCase& c = GetParam();
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 11.5)));
    if (c.paused)
        BassPause();
    SeekAudioSeconds(c.seconds);
    const QWORD length = BASS_ChannelGetLength(State.BassStream, BASS_POS_BYTE);
    if (c.expected < 0) {
        EXPECT_EQ(BASS_ChannelGetPosition(State.BassStream, BASS_POS_BYTE), length);
    } else {
        EXPECT_NEAR(StreamPosition(), c.expected, 0.02);
    }
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.IsPaused, c.paused);
    if (c.paused) {
        EXPECT_EQ(BASS_ChannelIsActive(State.BassStream), BASS_ACTIVE_PAUSED)
            << "a paused stream stays paused";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, SeekAudioSecondsCases,
                         ::testing::Values(SeekCase{"Inside", 4, 4.0, false},
                                           SeekCase{"Negative", -5, 0.0, false},
                                           SeekCase{"ToAudioSeconds", 12, -1, false},
                                           SeekCase{"PastTheEnd", 99, -1, false},
                                           SeekCase{"WhilePaused", 7, 7.0, true}),
                         testing_support::CaseName{});

TEST_F(AudioPlayback, SeekWaitsForTheTickAndForAStream) {
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 5.0)));
    BassPause();
    State.PositionReady = false; // a progress tick is working
    SeekAudioSeconds(3);
    EXPECT_LT(StreamPosition(), 1.0);
    State.PositionReady = true;
    BassStop();
    SeekAudioSeconds(3); // nothing plays: nothing to seek, nothing breaks
    EXPECT_EQ(State.BassStream, 0U);
}

// The stream's own end ends it: while the rounded position already equals AudioSeconds the tail still plays,
// and at the end the position is the real length.
TEST_F(AudioPlayback, TheEndIsTheStreamsOwnEnd) {
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 1.3)));
    ASSERT_EQ(State.AudioSeconds, 1);
    ASSERT_TRUE(WaitFor([] { return std::nearbyint(StreamPosition()) == State.AudioSeconds; }));
    EXPECT_FALSE(AudioStreamEnded()) << "the rounded seconds are reached early; the tail is still to play";
    ASSERT_TRUE(WaitFor([] { return AudioStreamEnded(); }));
    EXPECT_DOUBLE_EQ(StreamPosition(), 1.3);
    EXPECT_EQ(BASS_ChannelGetPosition(State.BassStream, BASS_POS_BYTE),
              BASS_ChannelGetLength(State.BassStream, BASS_POS_BYTE));
}

// A variable-bit-rate file whose length is only an estimate still ends at the end of its last sample.
TEST_F(AudioPlayback, AVariableBitRateFileEndsAtItsRealLength) {
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::VbrMp3, 2.0)));
    EXPECT_NEAR(State.AudioLength, 2.0, 0.5);
    SeekAudioSeconds(1);
    ASSERT_TRUE(WaitFor([] { return AudioStreamEnded(); }));
    EXPECT_EQ(BASS_ChannelGetPosition(State.BassStream, BASS_POS_BYTE),
              BASS_ChannelGetLength(State.BassStream, BASS_POS_BYTE));
    EXPECT_NEAR(StreamPosition(), 2.0, 0.1);
}

// A stream whose output fails while it plays has ended: the audio tick goes on as at the end of the file
// instead of showing "playing" forever at a position that no longer moves.
TEST_F(AudioPlayback, AStreamThatFailsWhilePlayingHasEnded) {
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Mp3, 3.0)));
    ASSERT_TRUE(WaitFor([] { return StreamPosition() > 0.2; }));
    EXPECT_FALSE(AudioStreamEnded());
    ASSERT_TRUE(probe::BreakOutput(State.BassStream));
    ASSERT_TRUE(WaitFor([] { return AudioStreamEnded(); }));
    EXPECT_DOUBLE_EQ(StreamPosition(), State.AudioLength);
}

TEST_F(AudioPlayback, NoStreamHasNotEnded) {
    EXPECT_FALSE(AudioStreamEnded());
    ASSERT_TRUE(PlayAudioFile(Tone(AudioFormat::Wav, 1.0)));
    BassPause();
    EXPECT_FALSE(AudioStreamEnded());
}

} // namespace
