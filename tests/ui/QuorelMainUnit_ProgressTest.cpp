#include "ui/QuorelMainUnit_Progress.h"

#include <QTest>

#include <gtest/gtest.h>

#include "core/AudioPlayback.h"
#include "core/MediaOpen.h"
#include "core/PlaybackState.h"
#include "core/Transport.h"
#include "core/WindowMessages.h"
#include "core/shared/TimeSplit.h"
#include "platform/audio/Bass.h"
#include "platform/win32/Power.h"
#include "platform/win32/Window.h"
#include "tests/support/CaseName.h"
#include "tests/support/FakeGraph.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/MediaPanel.h"
#include "tests/support/QtApp.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/QuorelMainUnit.h"

using namespace forms;
using testing_support::FakeGraph;

namespace {

constexpr std::int64_t Second = RefTimeUnitsPerSecond;

// --- The arithmetic. ---

struct OffsetCase {
    const char* name;
    std::int64_t position;
    std::int64_t length;
    int span;
    int expected;
};

class KnobOffsetTest : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(KnobOffsetTest, StandsForThePositionWithinTheTravel) {
    const OffsetCase& c = GetParam();
    EXPECT_EQ(KnobOffsetFor(c.position, c.length, c.span), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, KnobOffsetTest,
    ::testing::Values(OffsetCase{"Start", 0, 100, 50, 0}, OffsetCase{"Half", 50, 100, 50, 25},
                      OffsetCase{"TruncatesTowardsTheStart", 99, 100, 50, 49}, OffsetCase{"End", 100, 100, 50, 50},
                      OffsetCase{"PastTheEndStaysAtTheEnd", 150, 100, 50, 50},
                      OffsetCase{"BeforeTheStartStaysAtTheStart", -5, 100, 50, 0},
                      OffsetCase{"UnknownLengthGivesTheStart", 50, 0, 50, 0},
                      OffsetCase{"NoTravelGivesTheStart", 50, 100, 0, 0},
                      OffsetCase{"NegativeTravelGivesTheStart", 50, 100, -10, 0},
                      OffsetCase{"TwoHoursIn100nsUnits", 3600 * Second, 7200 * Second, 604, 302},
                      OffsetCase{"CorruptHugeLengthDoesNotOverflow", INT64_MAX / 2 + 1, INT64_MAX, 600, 300}),
    testing_support::CaseName());

TEST(EndOfAGraphMedium, FoundAtOrPastTheStopAndWhenThereIsNothingToPlay) {
    EXPECT_TRUE(GraphMediumAtEnd(100 * Second, 100 * Second));
    EXPECT_TRUE(GraphMediumAtEnd(100 * Second + 1, 100 * Second));
    EXPECT_FALSE(GraphMediumAtEnd(100 * Second - 1, 100 * Second)) << "a hair short is not the end yet";
    EXPECT_FALSE(GraphMediumAtEnd(0, 100 * Second));
    EXPECT_TRUE(GraphMediumAtEnd(0, 0)) << "nothing was rendered";
}

struct EndCase {
    const char* name;
    TPlayType playType;
    TPlayMode playMode;
    bool played;
    TEndStep expected;
};

class EndOfMediumStepTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(EndOfMediumStepTest, FollowsThePlayTypeAndThePlayMode) {
    const EndCase& c = GetParam();
    EXPECT_EQ(EndOfMediumStep(c.playType, c.playMode, c.played), c.expected);
}

using S = TEndStep;
INSTANTIATE_TEST_SUITE_P(
    Steps, EndOfMediumStepTest,
    ::testing::Values(
        EndCase{"FileNoneStops", 1, 0, true, S::StopAndAfterPlay},
        EndCase{"FileSequentialNext", 1, 1, true, S::NextEntry},
        EndCase{"FileRandomRandom", 1, 2, true, S::RandomEntry},
        EndCase{"FileRepeatOneRepeats", 1, 3, true, S::RepeatEntry},
        EndCase{"FileUnknownModeRests", 1, 7, true, S::RestAtEnd},
        EndCase{"FileMissingModeRests", 1, -1, true, S::RestAtEnd},
        EndCase{"AudioNoneStops", 4, 0, true, S::StopAndAfterPlay},
        EndCase{"AudioSequentialNext", 4, 1, true, S::NextEntry},
        EndCase{"AudioRandomRandom", 4, 2, true, S::RandomEntry},
        EndCase{"AudioRepeatOneRepeats", 4, 3, true, S::RepeatEntry},
        EndCase{"AudioUnknownModeRests", 4, 7, true, S::RestAtEnd},
        EndCase{"PipNoneStops", 3, 0, true, S::StopAndAfterPlay},
        EndCase{"PipSequentialStops", 3, 1, true, S::StopAndAfterPlay},
        EndCase{"PipRandomStops", 3, 2, true, S::StopAndAfterPlay},
        EndCase{"PipRepeatOneStops", 3, 3, true, S::StopAndAfterPlay},
        EndCase{"PipUnknownModeStops", 3, 7, true, S::StopAndAfterPlay},
        EndCase{"DvdNoneStops", 2, 0, true, S::StopAndAfterPlay},
        EndCase{"DvdSequentialStops", 2, 1, true, S::StopAndAfterPlay},
        EndCase{"DvdRandomStops", 2, 2, true, S::StopAndAfterPlay},
        EndCase{"DvdRepeatOneStops", 2, 3, true, S::StopAndAfterPlay},
        EndCase{"UnplayedFileRepeatOneOnlyStops", 1, 3, false, S::StopOnly},
        EndCase{"UnplayedFileSequentialOnlyStops", 1, 1, false, S::StopOnly},
        EndCase{"UnplayedFileNoneOnlyStops", 1, 0, false, S::StopOnly},
        EndCase{"UnplayedAudioRepeatOneOnlyStops", 4, 3, false, S::StopOnly},
        EndCase{"UnplayedAudioRandomOnlyStops", 4, 2, false, S::StopOnly},
        EndCase{"UnplayedPipOnlyStops", 3, 0, false, S::StopOnly},
        EndCase{"NothingLoadedRests", 0, 1, true, S::RestAtEnd},
        EndCase{"UnknownPlayTypeRests", 9, 1, true, S::RestAtEnd}),
    testing_support::CaseName());

// --- The knob procedures on controls. ---

class KnobTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        // A 100-pixel track at 40 with a 10-pixel knob: the travel is 90 pixels, 40 .. 130.
        track.SetBounds(40, 9, 100, 4);
        knob.SetBounds(40, 6, 10, 10);
        fill.SetBounds(40, 9, 0, 4);
    }
    TControl parent;
    TControl track{&parent};
    TControl knob{&parent};
    TControl fill{&parent};
};

TEST_F(KnobTest, ValueFromKnobScalesTheOffsetToTheRange) {
    knob.SetLeft(40);
    EXPECT_EQ(ValueFromKnob(&track, &knob, &fill, 0, 100), 0);
    knob.SetLeft(85);
    EXPECT_EQ(ValueFromKnob(&track, &knob, &fill, 0, 100), 50);
    knob.SetLeft(130);
    EXPECT_EQ(ValueFromKnob(&track, &knob, &fill, 0, 100), 100);
    knob.SetLeft(139);
    EXPECT_EQ(ValueFromKnob(&track, &knob, &fill, 0, 100), 100) << "kept within the range";
    knob.SetLeft(20);
    EXPECT_EQ(ValueFromKnob(&track, &knob, &fill, 0, 100), 0);
    EXPECT_EQ(ValueFromKnob(&track, &knob, &fill, 5, 100), 5);
}

TEST_F(KnobTest, ValueFromKnobWithoutTravelGivesTheMinimum) {
    for (int width : {10, 6}) {
        track.SetWidth(width);
        knob.SetLeft(42);
        EXPECT_EQ(ValueFromKnob(&track, &knob, &fill, 3, 100), 3) << width;
    }
}

TEST_F(KnobTest, PlaceKnobAtCentresTheKnobOnTheClickWithinItsTravel) {
    PlaceKnobAt(50, &track, &knob, &fill);
    EXPECT_EQ(knob.Left(), 85);
    EXPECT_EQ(fill.Width(), 45);
    PlaceKnobAt(2, &track, &knob, &fill);
    EXPECT_EQ(knob.Left(), 40);
    EXPECT_EQ(fill.Width(), 0);
    PlaceKnobAt(99, &track, &knob, &fill);
    EXPECT_EQ(knob.Left(), 130);
    EXPECT_EQ(fill.Width(), 90);
    track.SetWidth(4); // narrower than the knob: the knob stays at the track's start
    PlaceKnobAt(3, &track, &knob, &fill);
    EXPECT_EQ(knob.Left(), 40);
    EXPECT_EQ(fill.Width(), 0);
}

TEST_F(KnobTest, DragKnobFollowsTheMouseOnlyWithTheLeftButton) {
    knob.SetLeft(60);
    fill.SetWidth(24);
    DragKnob(0, 15, &track, &knob, &fill);
    EXPECT_EQ(knob.Left(), 60) << "no button held";
    DragKnob(ssLeft, 15, &track, &knob, &fill); // 10 pixels right of the knob's centre
    EXPECT_EQ(knob.Left(), 70);
    EXPECT_EQ(fill.Width(), 34);
    DragKnob(ssLeft, -20, &track, &knob, &fill);
    EXPECT_EQ(knob.Left(), 45);
    EXPECT_EQ(fill.Width(), 9);
    DragKnob(ssLeft, -100, &track, &knob, &fill);
    EXPECT_EQ(knob.Left(), 40) << "kept at the start";
    EXPECT_EQ(fill.Width(), 0);
    DragKnob(ssLeft, 500, &track, &knob, &fill);
    EXPECT_EQ(knob.Left(), 130) << "kept at the end";
    EXPECT_EQ(fill.Width(), 94) << "the fill at most 4 pixels past the travel";
}

TEST_F(KnobTest, DragKnobLeavesAKnobOutsideItsTravel) {
    knob.SetLeft(38); // where the first layout puts it, 2 pixels before the track
    DragKnob(ssLeft, 30, &track, &knob, &fill);
    EXPECT_EQ(knob.Left(), 38);
    EXPECT_EQ(fill.Width(), 0);
}

TEST_F(KnobTest, DragScrollThumbWithoutTheLeftButtonLeavesThumbAndOrigin) {
    track.SetBounds(0, 10, 8, 200);
    knob.SetBounds(0, 50, 8, 30);
    win32::POINT origin{7, 9};
    DragScrollThumb(origin, 0, &track, &knob);
    EXPECT_EQ(knob.Top(), 50);
    EXPECT_EQ(origin.x, 7);
    EXPECT_EQ(origin.y, 9);
}

TEST_F(KnobTest, DragScrollThumbMovesByTheCursorsTravelWithinTheTrack) {
    track.SetBounds(0, 10, 8, 200);
    knob.SetBounds(0, 50, 8, 30);
    win32::POINT cursor;
    win32::GetCursorPos(&cursor);
    win32::POINT origin{cursor.x, cursor.y - 25};
    DragScrollThumb(origin, ssLeft, &track, &knob);
    EXPECT_EQ(knob.Top(), 75);
    EXPECT_EQ(origin.y, cursor.y) << "the next move counts from here";
    origin.y = cursor.y - 500;
    DragScrollThumb(origin, ssLeft, &track, &knob);
    EXPECT_EQ(knob.Top(), 180) << "the thumb's bottom at the track's bottom";
    origin.y = cursor.y + 500;
    DragScrollThumb(origin, ssLeft, &track, &knob);
    EXPECT_EQ(knob.Top(), 10);
}

// --- The ticks on the main window. ---

// The main window with a recording power service: the after-play action it sees is the suspend.
class ProgressTickTest : public ui_testing::MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        win32::SetPowerService(&power);
        answer = win32::IDOK;
        StartShown();
        State.AfterPlay = AfterPlays::Suspend;
        State.PlayMode = PlayModes::None;
    }
    void TearDown() override {
        MainFormTest::TearDown();
        win32::SetPowerService(nullptr);
    }

    // A file playing through the fake graph, as an open leaves it.
    FakeGraph& PlayFakeGraph(TPlayType PlayType, std::int64_t Stop) {
        graph_ = testing_support::PlayFakeGraph(Stop);
        State.PlayType = PlayType;
        State.VideoTimeText = "0:01:40";
        form->Ctrl_T->SetInterval(30);
        form->Ctrl_T->SetEnabled(true);
        screenSaver.SetActive(false);
        return *graph_;
    }
    int KnobOffset() const { return form->VideoBar_XI->Left() - form->VideoPro_XI->Left(); }
    int Span() const { return form->VideoPro_XI->Width() - form->VideoBar_XI->Width(); }
    bool AfterPlayRan() const { return power.Calls == std::vector<std::string>{"Suspend"}; }

    win32::FakePowerService power;
    com::ComPtr<FakeGraph> graph_;
};

TEST_F(ProgressTickTest, MediaTickMovesTheKnobAndWritesTheTimeText) {
    FakeGraph& graph = PlayFakeGraph(PlayTypes::MediaFile, 100 * Second);
    graph.current = 25 * Second + 9'999'999;
    form->Ctrl_TTimer(nullptr);
    const int offset = static_cast<int>(graph.current * Span() / (100 * Second));
    EXPECT_EQ(KnobOffset(), offset);
    EXPECT_EQ(form->VideoGo_XI->Width(), offset + 4);
    EXPECT_EQ(form->Time_L->Caption(), "0:00:25 / 0:01:40") << "whole seconds, truncated";
    EXPECT_EQ(form->Time_L->Left(), form->Width() - form->Time_L->Width() - 10);
    EXPECT_EQ(form->PositionSeconds, 25);
    EXPECT_TRUE(State.PositionReady);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_TRUE(form->Ctrl_T->Running());
    EXPECT_FALSE(screenSaver.Active()) << "the screen saver stays off while playing";
    EXPECT_TRUE(power.Calls.empty());
}

TEST_F(ProgressTickTest, MediaAHairShortOfTheEndIsNotYetEnded) {
    FakeGraph& graph = PlayFakeGraph(PlayTypes::MediaFile, 100 * Second);
    graph.current = 100 * Second - 1;
    form->Ctrl_TTimer(nullptr);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_TRUE(form->Ctrl_T->Running());
    EXPECT_EQ(form->PositionSeconds, 99);
}

TEST_F(ProgressTickTest, MediaAtItsEndWithPlayModeNoneStopsAndRunsTheAfterPlayActionOnce) {
    FakeGraph& graph = PlayFakeGraph(PlayTypes::MediaFile, 100 * Second);
    graph.current = 100 * Second;
    form->Ctrl_TTimer(nullptr);
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    EXPECT_EQ(KnobOffset(), 0);
    EXPECT_EQ(form->VideoGo_XI->Width(), 0);
    EXPECT_EQ(form->Time_L->Caption(), "");
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
    EXPECT_EQ(form->PositionSeconds, 100);
    EXPECT_TRUE(screenSaver.Active());
    EXPECT_TRUE(State.PositionReady);
    EXPECT_TRUE(AfterPlayRan());
    form->Ctrl_TTimer(nullptr); // a late tick finds nothing playing
    EXPECT_TRUE(AfterPlayRan());
}

TEST_F(ProgressTickTest, MediaWithAnUnknownPlayModeRestsAtItsEnd) {
    State.PlayMode = 7;
    FakeGraph& graph = PlayFakeGraph(PlayTypes::MediaFile, 100 * Second);
    graph.current = 100 * Second;
    form->Ctrl_TTimer(nullptr);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_TRUE(form->Ctrl_T->Running());
    EXPECT_EQ(KnobOffset(), Span());
    EXPECT_TRUE(screenSaver.Active());
    EXPECT_TRUE(power.Calls.empty());
}

TEST_F(ProgressTickTest, AGraphWithNothingToPlayStopsWithoutGoingOn) {
    for (TPlayMode mode : {PlayModes::RepeatOne, PlayModes::Sequential, PlayModes::None}) {
        State.PlayMode = mode;
        PlayFakeGraph(PlayTypes::MediaFile, 0);
        form->Ctrl_TTimer(nullptr);
        EXPECT_FALSE(State.IsPlaying) << mode;
        EXPECT_FALSE(form->Ctrl_T->Enabled()) << mode;
        EXPECT_EQ(form->Time_L->Caption(), "") << mode;
        EXPECT_TRUE(power.Calls.empty()) << "a medium that never played runs no after-play action";
    }
}

// A stream that has not told its length plays on (the time shows no length), shows the length once it tells
// one, and ends where it tells its end.
TEST_F(ProgressTickTest, AStreamWithoutALengthPlaysOnUntilItTellsItsEnd) {
    State.MediaDuration = 0; // as an open leaves a stream whose length was not known
    FakeGraph& graph = PlayFakeGraph(PlayTypes::MediaFile, 0);
    State.VideoTimeText = "0:00:00";
    graph.lengthUntold = true;
    graph.current = 3 * Second;
    form->Ctrl_TTimer(nullptr);
    EXPECT_TRUE(State.IsPlaying) << "no length is no end";
    EXPECT_TRUE(form->Ctrl_T->Running());
    EXPECT_EQ(form->Time_L->Caption(), "0:00:03 / 0:00:00");
    graph.lengthUntold = false;
    graph.stop = 90 * Second;
    graph.current = 4 * Second;
    form->Ctrl_TTimer(nullptr);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_EQ(form->Time_L->Caption(), "0:00:04 / 0:01:30");
    EXPECT_EQ(KnobOffset(), static_cast<int>(graph.current * Span() / graph.stop));
    graph.current = graph.stop;
    form->Ctrl_TTimer(nullptr);
    EXPECT_FALSE(State.IsPlaying) << "its end";
    EXPECT_TRUE(AfterPlayRan()) << "it played";
}

TEST_F(ProgressTickTest, PictureInPictureStopsAtItsEndWhateverThePlayMode) {
    State.PlayMode = PlayModes::RepeatOne;
    FakeGraph& graph = PlayFakeGraph(PlayTypes::Pip, 40 * Second);
    graph.current = 10 * Second;
    form->Ctrl_TTimer(nullptr);
    EXPECT_EQ(KnobOffset(), Span() / 4);
    EXPECT_EQ(form->PositionSeconds, 10);
    graph.current = 40 * Second;
    form->Ctrl_TTimer(nullptr);
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    EXPECT_TRUE(screenSaver.Active());
    EXPECT_TRUE(AfterPlayRan());
}

TEST_F(ProgressTickTest, TicksDoNothingWhileNothingPlays) {
    FakeGraph& graph = PlayFakeGraph(PlayTypes::MediaFile, 100 * Second);
    graph.current = 100 * Second;
    State.IsPlaying = false;
    form->Ctrl_TTimer(nullptr);
    State.PlayType = PlayTypes::Nothing;
    State.IsPlaying = true;
    form->Ctrl_TTimer(nullptr);
    EXPECT_EQ(form->Time_L->Caption(), "");
    EXPECT_TRUE(power.Calls.empty());
    EXPECT_FALSE(screenSaver.Active());
}

TEST_F(ProgressTickTest, UpdatePositionKnobPlacesTheKnobForEachPlayType) {
    FakeGraph& graph = PlayFakeGraph(PlayTypes::MediaFile, 100 * Second);
    graph.current = 50 * Second;
    form->UpdatePositionKnob();
    EXPECT_EQ(KnobOffset(), Span() / 2);
    EXPECT_EQ(form->VideoGo_XI->Width(), Span() / 2 + 4);
    State.PlayType = PlayTypes::Dvd;
    State.DvdTitleLength = 400;
    form->PositionSeconds = 100;
    form->UpdatePositionKnob();
    EXPECT_EQ(KnobOffset(), Span() / 4);
    State.DvdTitleLength = 0; // unknown: the knob stays
    form->PositionSeconds = 300;
    form->UpdatePositionKnob();
    EXPECT_EQ(KnobOffset(), Span() / 4);
}

TEST_F(ProgressTickTest, AClickOnThePositionTrackSeeksThere) {
    FakeGraph& graph = PlayFakeGraph(PlayTypes::MediaFile, 100 * Second);
    const int x = Span() / 2 + form->VideoBar_XI->Width() / 2;
    form->VideoPro_XI->SetEnabled(true);
    QTest::mouseClick(form->VideoPro_XI, Qt::LeftButton, {}, QPoint(x, 2));
    EXPECT_EQ(KnobOffset(), Span() / 2);
    ASSERT_EQ(graph.seeks.size(), 1u);
    EXPECT_EQ(graph.seeks[0], 100 * Second * (Span() / 2) / Span());
}

TEST_F(ProgressTickTest, TheVolumeStripSetsTheLevelAndShowsItWhileHeld) {
    form->SoundPro_XI->SetEnabled(true);
    const int span = form->SoundPro_XI->Width() - form->SoundBar_XI->Width();
    const int x = span / 2 + form->SoundBar_XI->Width() / 2;
    const int level = static_cast<int>(static_cast<double>(span / 2) / span * 100);
    QTest::mousePress(form->SoundPro_XI, Qt::LeftButton, {}, QPoint(x, 2));
    EXPECT_EQ(State.SoundLevel, level);
    EXPECT_EQ(form->Volume_L->Caption(), std::to_string(level) + "%");
    EXPECT_EQ(form->SoundBar_XI->Left() - form->SoundPro_XI->Left(), span / 2);
    QTest::mouseRelease(form->SoundPro_XI, Qt::LeftButton, {}, QPoint(x, 2));
    EXPECT_EQ(form->Volume_L->Caption(), "");
    // Dragging the knob to the far right with the button held: full volume.
    form->SoundBar_XIMouseMove(nullptr, ssLeft, 1000, 3);
    EXPECT_EQ(State.SoundLevel, 100);
    EXPECT_EQ(form->Volume_L->Caption(), "100%");
    form->SoundBar_XIMouseMove(nullptr, 0, -1000, 3);
    EXPECT_EQ(State.SoundLevel, 100) << "no button held, nothing changes";
}

// A real medium through the media graph: the timer moves the knob while it plays, and at its end the tick
// stops it.
TEST_F(ProgressTickTest, ARealFileMovesTheKnobWhilePlayingAndEndsAtItsEnd) {
    ASSERT_TRUE(OpenMediaFile(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264Aac)));
    State.VideoTimeText = "0:00:02";
    form->Ctrl_T->SetInterval(30);
    form->Ctrl_T->SetEnabled(true);
    ASSERT_TRUE(testing_support::WaitUntil([&] { return KnobOffset() > 0; }));
    const int first = form->VideoBar_XI->Left();
    ASSERT_TRUE(testing_support::WaitUntil([&] { return form->VideoBar_XI->Left() > first + 2 || !State.IsPlaying; }));
    EXPECT_NE(form->VideoBar_XI->Left(), first) << "the knob follows playback";
    ASSERT_TRUE(testing_support::WaitUntil([&] { return !State.IsPlaying; })) << "the end was found";
    EXPECT_TRUE(AfterPlayRan());
    EXPECT_EQ(form->PositionSeconds, 2);
    EXPECT_FALSE(form->Ctrl_T->Enabled());
}

TEST_F(ProgressTickTest, AudioTickFollowsTheStreamAndEndsAtItsOwnEndNotAtTheRoundedLength) {
    const std::string file = testing_support::FixtureFolder() + "/progress-tone.wav";
    ASSERT_TRUE(testing_support::MakeToneFile(file, testing_support::AudioFormat::Wav, 1.6));
    ASSERT_TRUE(PlayAudioFile(file));
    ASSERT_EQ(State.AudioSeconds, 2);
    State.AudioTimeText = "0:00:02";
    // Held at 1.55 s, which rounds to the length: the last twentieth of a second is still to play.
    bass::BASS_ChannelPause(State.BassStream);
    bass::BASS_ChannelSetPosition(State.BassStream, bass::BASS_ChannelSeconds2Bytes(State.BassStream, 1.55),
                                  bass::BASS_POS_BYTE);
    form->Ctrl_TTimer(nullptr);
    EXPECT_EQ(form->Time_L->Caption(), "0:00:02 / 0:00:02");
    EXPECT_EQ(form->AudioPositionSeconds, 2);
    EXPECT_EQ(KnobOffset(), Span());
    EXPECT_TRUE(State.IsPlaying) << "not the end yet";
    EXPECT_TRUE(power.Calls.empty());
    bass::BASS_ChannelSetPosition(State.BassStream, bass::BASS_ChannelSeconds2Bytes(State.BassStream, 0.7),
                                  bass::BASS_POS_BYTE);
    form->Ctrl_TTimer(nullptr);
    EXPECT_EQ(form->Time_L->Caption(), "0:00:01 / 0:00:02");
    EXPECT_EQ(KnobOffset(), Span() / 2);
    // Playing on from there, the timer finds the stream's end.
    bass::BASS_ChannelPlay(State.BassStream, bass::FALSE);
    form->Ctrl_T->SetInterval(1);
    form->Ctrl_T->SetEnabled(true);
    ASSERT_TRUE(testing_support::WaitUntil([&] { return !State.IsPlaying; }));
    EXPECT_TRUE(AfterPlayRan());
    EXPECT_EQ(form->Time_L->Caption(), "");
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
    EXPECT_EQ(State.BassStream, 0u) << "the stream was stopped and freed";
    EXPECT_EQ(KnobOffset(), 0);
    EXPECT_FALSE(form->Ctrl_T->Enabled());
}

// The audio tick comes a hundred times a second and shows a new time about once a second: a tick within the
// second the last one showed moves nothing (the knob stays where it is), while a position in another second,
// later or earlier (a seek back), is shown at the next tick.
TEST_F(ProgressTickTest, AudioTickShowsEachNewSecondAndNothingInBetween) {
    const std::string file = testing_support::FixtureFolder() + "/progress-quiet.wav";
    ASSERT_TRUE(testing_support::MakeToneFile(file, testing_support::AudioFormat::Wav, 4.0));
    ASSERT_TRUE(PlayAudioFile(file));
    State.AudioTimeText = "0:00:04";
    bass::BASS_ChannelPause(State.BassStream);
    const auto holdAt = [](double Seconds) {
        bass::BASS_ChannelSetPosition(State.BassStream,
                                      bass::BASS_ChannelSeconds2Bytes(State.BassStream, Seconds),
                                      bass::BASS_POS_BYTE);
    };
    holdAt(1.1);
    form->Ctrl_TTimer(nullptr);
    ASSERT_EQ(form->Time_L->Caption(), "0:00:01 / 0:00:04");
    const int shown = KnobOffset();
    form->VideoBar_XI->SetLeft(form->VideoPro_XI->Left());
    holdAt(1.45);
    form->Ctrl_TTimer(nullptr);
    EXPECT_EQ(KnobOffset(), 0) << "a tick within the shown second places nothing";
    EXPECT_EQ(form->Time_L->Caption(), "0:00:01 / 0:00:04");
    holdAt(1.6);
    form->Ctrl_TTimer(nullptr);
    EXPECT_EQ(form->Time_L->Caption(), "0:00:02 / 0:00:04");
    EXPECT_GT(KnobOffset(), shown);
    EXPECT_EQ(form->AudioPositionSeconds, 2);
    holdAt(0.2);
    form->Ctrl_TTimer(nullptr);
    EXPECT_EQ(form->Time_L->Caption(), "0:00:00 / 0:00:04") << "a seek back is shown";
    EXPECT_EQ(KnobOffset(), 0);
    EXPECT_EQ(form->AudioPositionSeconds, 0);
    EXPECT_TRUE(State.PositionReady);
}

// --- The continuations at the end of a medium, through real opens. ---

// What the play-list window is told at each continuation, with what plays at that moment.
struct Continuation {
    int direction;
    int index;
    TPlayType playType;
    std::string file;
    bool playing;
    std::string status;
};

class ContinuationTest : public ProgressTickTest {
protected:
    void SetUp() override {
        ProgressTickTest::SetUp();
        playList.SetMessageHandler(WM_PLAYLIST_SETCURRENT, [this](TMessage& Message) {
            seen.push_back({static_cast<int>(Message.WParam), static_cast<int>(Message.LParam), State.PlayType,
                            State.CurrentMediaFile, State.IsPlaying, form->Status_L->Caption()});
        });
        State.PlayListWindowHandle = playList.Handle();
    }
    void TearDown() override {
        State.PlayListWindowHandle = nullptr;
        ProgressTickTest::TearDown();
    }
    // Files become the play list and its first entry plays in Mode.
    void PlayList(const std::vector<std::string>& Files, TPlayMode Mode) {
        TStringList list;
        for (const auto& file : Files)
            list.Add(file);
        form->SetPlayList(list);
        State.PlayMode = Mode;
        form->PlayPlayListEntry(0);
        ASSERT_TRUE(State.IsPlaying);
    }
    bool WaitForContinuations(std::size_t Count) {
        return testing_support::WaitUntil([&] { return seen.size() >= Count; }, std::chrono::seconds(30));
    }

    TForm playList;
    std::vector<Continuation> seen;
};

TEST_F(ContinuationTest, SequentialModePlaysTheEntriesInTurnAndWrapsToTheFirst) {
    const std::string a = Clip("a.mp4"), b = Tone("b.wav", 1.0), c = Clip("c.mp4");
    PlayList({a, b, c}, PlayModes::Sequential);
    ASSERT_TRUE(WaitForContinuations(3));
    const std::vector<std::pair<int, std::string>> expected{{1, b}, {2, c}, {0, a}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(seen[i].direction, 0) << i;
        EXPECT_EQ(seen[i].index, expected[i].first) << i;
        EXPECT_EQ(seen[i].file, expected[i].second) << i;
        EXPECT_TRUE(seen[i].playing) << i;
        EXPECT_EQ(seen[i].status, "播放中") << i;
    }
    EXPECT_EQ(seen[0].playType, PlayTypes::Audio);
    EXPECT_EQ(seen[1].playType, PlayTypes::MediaFile);
    EXPECT_TRUE(power.Calls.empty()) << "a continuing play mode runs no after-play action";
}

TEST_F(ContinuationTest, RepeatOneOpensTheSameFileAgain) {
    const std::string a = Clip("a.mp4"), b = Clip("b.mp4");
    PlayList({a, b}, PlayModes::RepeatOne);
    const com::ComPtr<dshow::IMediaSeeking> first = State.MediaSeeking;
    ASSERT_TRUE(WaitForContinuations(1));
    EXPECT_EQ(seen[0].index, 0);
    EXPECT_EQ(seen[0].file, a);
    EXPECT_TRUE(seen[0].playing);
    EXPECT_TRUE(State.MediaSeeking && State.MediaSeeking != first) << "a new open of the same file";
    EXPECT_EQ(State.PlayRate, 1.0);
}

TEST_F(ContinuationTest, RepeatOneRestartsAnAudioFileWithoutAStopInBetween) {
    const std::string a = Tone("a.wav", 0.5);
    PlayList({a}, PlayModes::RepeatOne);
    screenSaver.Calls.clear();
    ASSERT_TRUE(WaitForContinuations(2));
    for (const Continuation& c : seen) {
        EXPECT_EQ(c.index, 0);
        EXPECT_EQ(c.direction, 0);
        EXPECT_EQ(c.playType, PlayTypes::Audio);
        EXPECT_TRUE(c.playing);
    }
    EXPECT_TRUE(screenSaver.Calls.empty()) << "the stopped state was never shown in between";
}

TEST_F(ContinuationTest, RandomModeOnlyPlaysEntriesOfTheList) {
    const std::vector<std::string> files{Tone("a.wav", 0.3), Tone("b.wav", 0.3), Tone("c.wav", 0.3)};
    PlayList(files, PlayModes::Random);
    ASSERT_TRUE(WaitForContinuations(5));
    for (const Continuation& c : seen) {
        ASSERT_GE(c.index, 0);
        ASSERT_LT(c.index, 3);
        EXPECT_EQ(c.file, files[static_cast<std::size_t>(c.index)]);
        EXPECT_TRUE(c.playing);
    }
}

TEST_F(ContinuationTest, AnEmptyListAtAContinuingEndStopsAndRunsTheAfterPlayAction) {
    for (TPlayMode mode : {PlayModes::Sequential, PlayModes::Random}) {
        power.Calls.clear();
        State.PlayListFiles->Clear();
        State.PlayListIndex = 0;
        State.PlayMode = mode;
        FakeGraph& graph = PlayFakeGraph(PlayTypes::MediaFile, 10 * Second);
        graph.current = 10 * Second;
        form->Ctrl_TTimer(nullptr);
        EXPECT_FALSE(State.IsPlaying) << mode;
        EXPECT_FALSE(form->Ctrl_T->Enabled()) << mode;
        EXPECT_EQ(form->Status_L->Caption(), "准备完毕") << mode;
        EXPECT_TRUE(AfterPlayRan()) << mode;
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(seen.empty());
}

// An entry that does not open is passed over for the next one, its status text shown meanwhile, with no box:
// nobody picked it just now.
TEST_F(ContinuationTest, AnEntryThatDoesNotOpenIsPassedOverForTheNext) {
    const std::string a = Clip("a.mp4"), missing = tree.Root() + "/missing.mp4";
    const std::string notMedia =
        Copy(testing_support::MediaFile(testing_support::MediaFixture::NotMedia), "text.avi");
    const std::string d = Tone("d.wav", 0.5);
    for (TPlayMode mode : {PlayModes::Sequential, PlayModes::Random}) {
        seen.clear();
        PlayList({a, missing, notMedia, d}, mode);
        ASSERT_TRUE(testing_support::WaitUntil([&] { return !seen.empty() && seen.back().playing; },
                                               std::chrono::seconds(30)));
        for (const Continuation& c : seen) {
            if (c.playing)
                continue;
            EXPECT_TRUE(c.file == missing || c.file == notMedia) << c.file;
            EXPECT_EQ(c.status, "无效或错误的媒体文件!");
        }
        if (mode == PlayModes::Sequential) {
            ASSERT_EQ(seen.size(), 3u);
            EXPECT_EQ(seen[0].index, 1);
            EXPECT_EQ(seen[1].index, 2);
            EXPECT_EQ(seen[2].index, 3);
            EXPECT_EQ(seen[2].file, d);
            EXPECT_EQ(State.PlayType, PlayTypes::Audio);
        }
        EXPECT_TRUE(State.IsPlaying) << "a random pick may be any entry that plays";
        EXPECT_TRUE(form->Ctrl_T->Enabled());
        form->StopByType();
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(power.Calls.empty());
}

// A list whose entries all fail is tried once round and then rests stopped, with no loop and no after-play
// action.
TEST_F(ContinuationTest, AListOfEntriesThatDoNotOpenIsTriedOnceRound) {
    const std::string a = Clip("a.mp4");
    PlayList({a, tree.Root() + "/missing.mp4", tree.Root() + "/gone.mp3"}, PlayModes::Sequential);
    std::filesystem::remove(a);
    ASSERT_TRUE(WaitForContinuations(3));
    QTest::qWait(300);
    ASSERT_EQ(seen.size(), 3u) << "nothing is opened again";
    EXPECT_EQ(seen[0].index, 1);
    EXPECT_EQ(seen[1].index, 2);
    EXPECT_EQ(seen[2].index, 0);
    for (const Continuation& c : seen) {
        EXPECT_FALSE(c.playing);
        EXPECT_EQ(c.status, "无效或错误的媒体文件!");
    }
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    EXPECT_EQ(form->Status_L->Caption(), "无效或错误的媒体文件!");
    EXPECT_TRUE(power.Calls.empty());
    EXPECT_TRUE(boxes.empty());
}

// Repeat-one tries the file again at its end: when the file has gone meanwhile, the play ends there in the
// stopped state (an audio stream is not stopped before the new open, so it must not be left behind ended).
TEST_F(ContinuationTest, RepeatOneOfAFileDeletedWhileItPlaysStopsWithoutALoop) {
    for (const std::string& file : {Tone("a.wav", 0.5), Clip("b.mp4")}) {
        seen.clear();
        PlayList({file}, PlayModes::RepeatOne);
        std::filesystem::remove(file);
        ASSERT_TRUE(WaitForContinuations(1)) << file;
        QTest::qWait(300);
        EXPECT_EQ(seen.size(), 1u) << file << ": tried once, not again at every tick";
        EXPECT_FALSE(State.IsPlaying) << file;
        EXPECT_EQ(State.BassStream, 0u) << file;
        EXPECT_FALSE(State.GraphBuilder) << file;
        EXPECT_FALSE(form->Ctrl_T->Enabled()) << file;
        EXPECT_EQ(form->Status_L->Caption(), "无效或错误的媒体文件!") << file;
        EXPECT_EQ(form->Time_L->Caption(), "") << file;
        EXPECT_TRUE(screenSaver.Active()) << file;
        EXPECT_TRUE(power.Calls.empty()) << file << ": no after-play action for a file that did not open";
    }
}

TEST_F(ContinuationTest, TheNextEntryOfAListPlayingInFullScreenStaysInFullScreen) {
    WriteIni(DefaultsWith("FullScreenAtonce", "1"));
    const std::string a = Clip("a.mp4"), b = Clip("b.mp4");
    PlayList({a, b}, PlayModes::Sequential);
    ASSERT_TRUE(form->IsFullScreen) << "the first entry went into full screen";
    ASSERT_TRUE(WaitForContinuations(1));
    EXPECT_EQ(seen[0].index, 1);
    EXPECT_TRUE(seen[0].playing);
    EXPECT_TRUE(form->IsFullScreen);
}

} // namespace
