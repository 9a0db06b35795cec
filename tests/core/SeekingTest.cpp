#include "core/Seeking.h"

#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/AudioPlayback.h"
#include "core/DialogLaunchers.h"
#include "core/DvdNavigation.h"
#include "core/MediaOpen.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "dialoglib/TarvexUseWindow.h"
#include "platform/audio/Bass.h"
#include "platform/win32/Window.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/FakeDvd.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/MediaPanel.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"

namespace {

constexpr std::int64_t Second = RefTimeUnitsPerSecond;

// Ten seconds of picture and tone (10 frames a second), made once per test program.
const std::string& TenSecondVideo() {
    static const std::string path = [] {
        const std::string file = testing_support::FixtureFolder() + "/ten-seconds.mp4";
        EXPECT_TRUE(testing_support::MakeMediaFile(
            "videotestsrc num-buffers=100 ! video/x-raw,width=160,height=120,framerate=10/1 ! "
            "x264enc speed-preset=ultrafast key-int-max=10 ! h264parse ! mp4mux name=mux ! filesink "
            "location={out} "
            "audiotestsrc num-buffers=100 samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! "
            "voaacenc ! aacparse ! mux.",
            file));
        return file;
    }();
    return path;
}

// Eleven and a half seconds of tone: AudioSeconds 12 lies past its end.
const std::string& AudioFile() {
    static const std::string path = [] {
        const std::string file = testing_support::FixtureFolder() + "/eleven-and-a-half.wav";
        EXPECT_TRUE(testing_support::MakeToneFile(file, testing_support::AudioFormat::Wav, 11.5));
        return file;
    }();
    return path;
}

std::int64_t GraphPosition() {
    std::int64_t current = -1;
    State.MediaSeeking->GetCurrentPosition(&current);
    return current;
}

double AudioPosition() {
    return bass::BASS_ChannelBytes2Seconds(
        State.BassStream, bass::BASS_ChannelGetPosition(State.BassStream, bass::BASS_POS_BYTE));
}

enum class Medium { Video, Audio };

// A medium opened and paused at From seconds, so that positions read exactly.
class Seeking : public ::testing::Test {
protected:
    void TearDown() override {
        GraphStop();
        BassStop();
    }

    void Open(Medium What, std::int64_t From) {
        if (What == Medium::Video) {
            State.RenderType = RenderTypes::Vmr9;
            State.CurrentMediaFile = TenSecondVideo();
            ASSERT_TRUE(OpenMediaFile(State.CurrentMediaFile));
            GraphPause();
            GotoSeconds(From);
            ASSERT_EQ(GraphPosition(), From * Second);
            State.VideoTimeText = "0:00:10";
        } else {
            State.CurrentMediaFile = AudioFile();
            ASSERT_TRUE(PlayAudioFile(State.CurrentMediaFile));
            BassPause();
            SeekAudioSeconds(From);
            State.AudioTimeText = "0:00:12";
        }
        State.PositionReady = true;
    }

    // The graph itself is still paused: its state says so and its position does not move.
    static void ExpectGraphPaused() {
        dshow::OAFilterState state = dshow::State_Running;
        State.MediaControl->GetState(1000, &state);
        EXPECT_EQ(state, dshow::State_Paused);
        const std::int64_t standing = GraphPosition();
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        EXPECT_EQ(GraphPosition(), standing) << "a paused medium stays paused";
    }

    testing_support::RunTree tree;
    testing_support::MediaWindow window{400, 300};
    forms::TLabel timeLabel;
};

struct KnobCase {
    const char* name;
    Medium medium;
    int pos, max;
    double seconds; // where the medium stands afterwards
    const char* label;
};

class KnobSeeks : public Seeking, public ::testing::WithParamInterface<KnobCase> {};

// Every knob seek shows its target at once (a paused medium has no tick to show it later). A knob without
// travel does nothing at all.
TEST_P(KnobSeeks, SeekToTheKnobsFraction) {
    const KnobCase& c = GetParam();
    Open(c.medium, 1);
    timeLabel.SetCaption("unchanged");
    if (c.medium == Medium::Video) {
        SeekMediaBySlider(c.pos, c.max, timeLabel);
        EXPECT_NEAR(static_cast<double>(GraphPosition()) / Second, c.seconds, 0.001);
        ExpectGraphPaused();
    } else {
        SeekAudioBySlider(c.pos, c.max, timeLabel);
        EXPECT_NEAR(AudioPosition(), c.seconds, 0.001);
        EXPECT_EQ(bass::BASS_ChannelIsActive(State.BassStream), bass::BASS_ACTIVE_PAUSED);
    }
    EXPECT_EQ(timeLabel.Caption(), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KnobSeeks,
    ::testing::Values(KnobCase{"MediaFarLeft", Medium::Video, 0, 200, 0.0, "0:00:00 / 0:00:10"},
                      KnobCase{"MediaQuarter", Medium::Video, 50, 200, 2.5, "0:00:02 / 0:00:10"},
                      KnobCase{"MediaThreeQuarters", Medium::Video, 150, 200, 7.5, "0:00:07 / 0:00:10"},
                      KnobCase{"MediaFarRight", Medium::Video, 200, 200, 10.0, "0:00:10 / 0:00:10"},
                      KnobCase{"MediaPastTheTrack", Medium::Video, 260, 200, 10.0, "0:00:10 / 0:00:10"},
                      KnobCase{"MediaBeforeTheTrack", Medium::Video, -8, 200, 0.0, "0:00:00 / 0:00:10"},
                      KnobCase{"MediaNoTravel", Medium::Video, 5, 0, 1.0, "unchanged"},
                      KnobCase{"AudioHalf", Medium::Audio, 100, 200, 6.0, "0:00:06 / 0:00:12"},
                      KnobCase{"AudioTruncates", Medium::Audio, 99, 200, 5.0, "0:00:05 / 0:00:12"},
                      KnobCase{"AudioFarRightStopsAtTheRealEnd", Medium::Audio, 200, 200, 11.5,
                               "0:00:12 / 0:00:12"},
                      KnobCase{"AudioNoTravel", Medium::Audio, 5, -3, 1.0, "unchanged"}),
    testing_support::CaseName{});

TEST_F(Seeking, KnobSeeksWaitForTheTick) {
    Open(Medium::Video, 1);
    State.PositionReady = false;
    SeekMediaBySlider(100, 200, timeLabel);
    EXPECT_EQ(GraphPosition(), 1 * Second);
    GraphStop();
    Open(Medium::Audio, 1);
    State.PositionReady = false;
    SeekAudioBySlider(100, 200, timeLabel);
    EXPECT_NEAR(AudioPosition(), 1.0, 0.001);
}

struct JumpCase {
    const char* name;
    Medium medium;
    std::int64_t from; // seconds
    int direction;
    const char* quickOnce; // nullptr: the key is missing
    const char* slowOnce;
    double seconds;
};

class Jumps : public Seeking, public ::testing::WithParamInterface<JumpCase> {};

// Within a 10 s file; a missing or negative setting counts as 5 and never turns the jump round. The cases of
// the default start where a jump of 5 s lands inside the file, so that no other count passes them.
TEST_P(Jumps, JumpWithinTheMedium) {
    const JumpCase& c = GetParam();
    std::string ini = "[Play]\r\n";
    if (c.quickOnce != nullptr)
        ini += std::string("QuickOnce=") + c.quickOnce + "\r\n";
    if (c.slowOnce != nullptr)
        ini += std::string("SlowOnce=") + c.slowOnce + "\r\n";
    testing_support::WriteFile(tree.IniFile(), ini);
    Open(c.medium, c.from);
    Jump(c.direction);
    if (c.medium == Medium::Video)
        EXPECT_NEAR(static_cast<double>(GraphPosition()) / Second, c.seconds, 0.001);
    else
        EXPECT_NEAR(AudioPosition(), c.seconds, 0.001);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Jumps,
    ::testing::Values(JumpCase{"Forward", Medium::Video, 5, 1, "2", "3", 7.0},
                      JumpCase{"Backward", Medium::Video, 5, 2, "2", "3", 2.0},
                      JumpCase{"ForwardStopsAtTheEnd", Medium::Video, 5, 1, "8", "3", 10.0},
                      JumpCase{"BackwardStopsAtTheStart", Medium::Video, 5, 2, "2", "8", 0.0},
                      JumpCase{"MissingQuickOnceIsFive", Medium::Video, 2, 1, nullptr, "3", 7.0},
                      JumpCase{"MissingSlowOnceIsFive", Medium::Video, 8, 2, "2", nullptr, 3.0},
                      JumpCase{"NegativeQuickOnceIsFive", Medium::Video, 2, 1, "-3", "3", 7.0},
                      JumpCase{"NegativeSlowOnceIsFive", Medium::Video, 8, 2, "2", "-3", 3.0},
                      JumpCase{"ZeroStaysPut", Medium::Video, 5, 1, "0", "0", 5.0},
                      JumpCase{"NoDirection", Medium::Video, 5, 3, "2", "3", 5.0},
                      JumpCase{"AudioDoesNotJump", Medium::Audio, 5, 1, "2", "3", 5.0}),
    testing_support::CaseName{});

struct GotoCase {
    const char* name;
    std::int64_t seconds;
    double expected;
};

class GotoSecondsCases : public Seeking, public ::testing::WithParamInterface<GotoCase> {};

// A stored resume point beyond the end of a shorter file seeks to the end, not past it; no tick is waited
// for.
TEST_P(GotoSecondsCases, ClampsToTheMedium) {
    Open(Medium::Video, 3);
    State.PositionReady = false;
    GotoSeconds(GetParam().seconds);
    EXPECT_NEAR(static_cast<double>(GraphPosition()) / Second, GetParam().expected, 0.001);
}

INSTANTIATE_TEST_SUITE_P(Table, GotoSecondsCases,
                         ::testing::Values(GotoCase{"Inside", 6, 6.0}, GotoCase{"Start", 0, 0.0},
                                           GotoCase{"Negative", -4, 0.0}, GotoCase{"PastTheEnd", 3600, 10.0}),
                         testing_support::CaseName{});

TEST_F(Seeking, GotoSecondsLeavesAudioAlone) {
    Open(Medium::Audio, 2);
    GotoSeconds(7);
    EXPECT_NEAR(AudioPosition(), 2.0, 0.001);
}

// --- The go-to dialog call, answered in place of the modal dialog ---

struct GotoCall {
    win32::HWND appHandle;
    std::int32_t language;
    std::int64_t length;
    std::int32_t playType;
};

std::vector<GotoCall> gotoCalls;
std::int64_t gotoAnswer = 0;
std::uint8_t gotoCancelled = 0;
void (*duringGotoDialog)() = nullptr;

void AnswerGoto(win32::HWND AppHandle, std::int32_t Language, std::int64_t Length, std::int32_t PlayType,
                std::int64_t* Seconds, std::uint8_t* Cancelled) {
    gotoCalls.push_back({AppHandle, Language, Length, PlayType});
    if (duringGotoDialog != nullptr)
        duringGotoDialog();
    *Seconds = gotoAnswer;
    *Cancelled = gotoCancelled;
}

class GotoDialog : public Seeking {
protected:
    void SetUp() override {
        GotoMediaForm = &AnswerGoto;
        gotoCalls.clear();
        gotoAnswer = 0;
        gotoCancelled = 0;
        duringGotoDialog = nullptr;
        State.Language = Languages::Chinese;
    }
    void TearDown() override {
        GotoMediaForm = &CreateGotoMediaForm;
        Seeking::TearDown();
    }
    win32::HWND owner = win32::HandleOf(&timeLabel);
};

TEST_F(GotoDialog, AMediaFileGetsItsDurationAndGoesToTheAnswer) {
    Open(Medium::Video, 1);
    gotoAnswer = 8;
    ShowGotoDialog(owner);
    ASSERT_EQ(gotoCalls.size(), 1U);
    EXPECT_EQ(gotoCalls[0].appHandle, owner);
    EXPECT_EQ(gotoCalls[0].language, Languages::Chinese);
    EXPECT_EQ(gotoCalls[0].length, State.MediaDuration) << "100-ns units";
    EXPECT_EQ(gotoCalls[0].playType, PlayTypes::MediaFile);
    EXPECT_EQ(GraphPosition(), 8 * Second);
}

TEST_F(GotoDialog, ACancelledDialogGoesNowhere) {
    Open(Medium::Video, 1);
    gotoAnswer = 8;
    gotoCancelled = 1;
    ShowGotoDialog(owner);
    EXPECT_EQ(GraphPosition(), 1 * Second);
}

// The timers run during the modal dialog: when another medium opened meanwhile, the old choice is dropped.
TEST_F(GotoDialog, AnAnswerForAMediumThatWasReplacedIsDropped) {
    Open(Medium::Video, 1);
    gotoAnswer = 8;
    duringGotoDialog = [] { State.CurrentMediaFile = "/somewhere/else.mp4"; };
    ShowGotoDialog(owner);
    EXPECT_EQ(GraphPosition(), 1 * Second);
}

TEST_F(GotoDialog, AudioAndNothingOpenShowNoDialog) {
    Open(Medium::Audio, 1);
    ShowGotoDialog(owner);
    State.PlayType = PlayTypes::Nothing;
    ShowGotoDialog(owner);
    EXPECT_TRUE(gotoCalls.empty());
}

// The real export, bound like an import: a call without a window handle does nothing and is cancelled.
TEST_F(Seeking, TheDialogLibrarysExportIsCalledAndAZeroHandleDoesNothing) {
    EXPECT_EQ(GotoMediaForm, &CreateGotoMediaForm);
    Open(Medium::Video, 1);
    ShowGotoDialog(nullptr);
    EXPECT_EQ(GraphPosition(), 1 * Second);
}

// --- DVD seeks, recorded by a fake navigator ---

class DvdSeeks : public ::testing::Test {
protected:
    void SetUp() override {
        State.DvdControl2 = dvd;
        State.DvdInfo2 = dvd;
        State.PlayType = PlayTypes::Dvd;
        State.DvdDomain = DvdDomains::Title;
        State.DvdTitleLength = 3725; // 1:02:05
        State.VideoTimeText = "1:02:05";
        State.IsPlaying = true;
        State.PositionReady = true;
        SetPosition(1, 2, 2); // 3722 s
        EnsureIniFile();
        WriteIniString("Play", "QuickOnce", "5");
        WriteIniString("Play", "SlowOnce", "10");
    }
    void TearDown() override {
        State.DvdControl2 = nullptr;
        State.DvdInfo2 = nullptr;
    }
    void SetPosition(int H, int M, int S) {
        dvd->position.bHours = static_cast<std::uint8_t>(H);
        dvd->position.bMinutes = static_cast<std::uint8_t>(M);
        dvd->position.bSeconds = static_cast<std::uint8_t>(S);
    }
    // The seeks asked of the navigator, in seconds of the title.
    std::vector<std::string> Seeks() const {
        std::vector<std::string> seeks;
        for (const std::string& call : dvd->calls)
            if (call.rfind("PlayAtTime ", 0) == 0)
                seeks.push_back(call.substr(11));
        return seeks;
    }
    testing_support::RunTree tree;
    bool app = (testing_support::EnsureQApplication(), true);
    com::ComPtr<testing_support::FakeDvd> dvd =
        com::ComPtr<testing_support::FakeDvd>::Adopt(new testing_support::FakeDvd);
    forms::TLabel timeLabel;
};

TEST_F(DvdSeeks, TheKnobSeeksTheTitleAndShowsTheTarget) {
    SeekDvdBySlider(100, 200, timeLabel);
    SeekDvdBySlider(300, 200, timeLabel);
    SeekDvdBySlider(7, 0, timeLabel); // no travel: nothing
    EXPECT_EQ(Seeks(), (std::vector<std::string>{"1862", "3725"}))
        << "the second clamped to the title's length";
    EXPECT_EQ(timeLabel.Caption(), "1:02:05 / 1:02:05");
}

TEST_F(DvdSeeks, JumpsStayInTheTitleAndOnlyInTheTitleDomain) {
    Jump(1);
    SetPosition(0, 0, 4);
    Jump(2);
    State.DvdDomain = DvdDomains::TitleSetMenu; // a menu shows
    Jump(1);
    EXPECT_EQ(Seeks(), (std::vector<std::string>{"3725", "0"}));
}

TEST_F(DvdSeeks, GotoSecondsInTheTitleDomainClampedToTheTitle) {
    GotoSeconds(65);
    GotoSeconds(99999);
    State.DvdDomain = DvdDomains::VideoManagerMenu;
    GotoSeconds(65);
    EXPECT_EQ(Seeks(), (std::vector<std::string>{"65", "3725"}));
}

TEST_F(DvdSeeks, TheGoToDialogGetsTheTitleLengthInSeconds) {
    GotoMediaForm = &AnswerGoto;
    gotoCalls.clear();
    gotoAnswer = 600;
    gotoCancelled = 0;
    duringGotoDialog = nullptr;
    ShowGotoDialog(win32::HandleOf(&timeLabel));
    GotoMediaForm = &CreateGotoMediaForm;
    ASSERT_EQ(gotoCalls.size(), 1U);
    EXPECT_EQ(gotoCalls[0].length, 3725);
    EXPECT_EQ(gotoCalls[0].playType, PlayTypes::Dvd);
    EXPECT_EQ(Seeks(), (std::vector<std::string>{"600"}));
}

// A position the navigator cannot tell reads 0: a jump from it goes from the title's start, never from an
// unread value.
TEST_F(DvdSeeks, AJumpFromAnUnreadPositionStartsAtZero) {
    dvd->result = com::E_FAIL;
    Jump(1);
    EXPECT_EQ(Seeks(), (std::vector<std::string>{"5"}));
}

TEST(DvdTimeCode, SplitsSecondsWithFrameOne) {
    const dshow::DVD_HMSF_TIMECODE t = DvdTimeCode(3600 + 2 * 60 + 9);
    EXPECT_EQ(t.bHours, 1);
    EXPECT_EQ(t.bMinutes, 2);
    EXPECT_EQ(t.bSeconds, 9);
    EXPECT_EQ(t.bFrames, 1);
}

// With no DVD open (no navigator) the DVD seeks do nothing.
TEST(DvdSeeksWithoutTheNavigator, DoNothing) {
    testing_support::RunTree tree;
    State.PlayType = PlayTypes::Dvd;
    State.DvdDomain = DvdDomains::Title;
    State.IsPlaying = State.PositionReady = true;
    GotoSeconds(10);
    Jump(1);
    std::int64_t h = 0, m = 0, s = 0;
    EXPECT_EQ(GetDvdPositionSeconds(h, m, s), 0);
}

} // namespace
