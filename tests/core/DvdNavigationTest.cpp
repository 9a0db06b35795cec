// DVD navigation: on the authored disc as a user meets it (menus, buttons under the mouse, chapters, streams,
// rate, position), and the rules of the rate, the submenus and the chapter controls on a fake navigator.

#include "core/DvdNavigation.h"

#include <chrono>

#include <gtest/gtest.h>

#include "core/DvdGraph.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/win32/Locale.h"
#include "tests/support/CaseName.h"
#include "tests/support/DvdFixtures.h"
#include "tests/support/FakeDvd.h"
#include "tests/support/MediaPanel.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"

namespace {

using namespace std::chrono_literals;
using dshow::ULONG;
using testing_support::DvdRect;
using testing_support::WaitUntil;

std::vector<std::string> Captions(const forms::TMenuItem& Menu) {
    std::vector<std::string> captions;
    for (int i = 0; i < Menu.Count(); ++i)
        captions.push_back(Menu.Items(i)->Caption());
    return captions;
}

std::vector<bool> Checks(const forms::TMenuItem& Menu) {
    std::vector<bool> checks;
    for (int i = 0; i < Menu.Count(); ++i)
        checks.push_back(Menu.Items(i)->Checked());
    return checks;
}

// --- On the authored disc ---

class DvdPlaying : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto* list :
             {&State.DvdChapterList, &State.IfoFolderList, &State.VobFolderList, &State.DvdFolderList})
            *list = std::make_unique<forms::TStringList>();
        WriteIniInteger("PlayControl", "WhileOpenMedia", WhileOpenMedias::VideoFitsWindow);
        State.VideoScale = VideoScales::Fill;
        State.PlayRate = 1.0;
        ASSERT_TRUE(OpenDvd(testing_support::DvdDisc()));
        ASSERT_EQ(GetDvdDomain(), DvdDomains::VideoManagerMenu);
    }
    void TearDown() override { GraphStop(); }

    // A point of the disc's picture in the panel's pixels.
    static win32::POINT InPanel(int X, int Y) {
        const TVideoRect& r = State.VideoRect;
        return {r.Left + X * r.Width / testing_support::DvdPictureWidth,
                r.Top + Y * r.Height / testing_support::DvdPictureHeight};
    }
    static ULONG Highlighted() {
        ULONG available = 0, current = 0;
        State.DvdInfo2->GetCurrentButton(&available, &current);
        return current;
    }
    static ULONG Buttons() {
        ULONG available = 0, current = 0;
        State.DvdInfo2->GetCurrentButton(&available, &current);
        return available;
    }
    static bool Shows(TDvdDomain Domain, int Title = 0) {
        if (GetDvdDomain() != Domain)
            return false;
        dshow::DVD_PLAYBACK_LOCATION2 where;
        return Title == 0 || (State.DvdInfo2->GetCurrentLocation(&where) == com::S_OK &&
                              static_cast<int>(where.TitleNum) == Title);
    }
    static int Chapter() {
        int chapter = 0;
        unsigned count = 0;
        GetChapterCount(chapter, count);
        return chapter;
    }
    static std::int64_t Position() {
        std::int64_t h = 0, m = 0, s = 0;
        GetDvdPositionSeconds(h, m, s);
        dshow::DVD_PLAYBACK_LOCATION2 where;
        State.DvdInfo2->GetCurrentLocation(&where);
        return (h * 3600 + m * 60 + s) * 25 + where.TimeCode.bFrames; // frames
    }

    // Whether the position moves Rate seconds a second: one of three windows of 1.5 s within a quarter of a
    // second (a machine under load may stall one).
    static bool AdvancesAt(double Rate) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const std::int64_t start = Position();
            const auto wallStart = std::chrono::steady_clock::now();
            testing_support::Pump(1500ms);
            const double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
            const double advanced = static_cast<double>(Position() - start) / 25.0;
            if (std::abs(advanced - Rate * wall) <= 0.25)
                return true;
            std::printf("advanced %.2f s in %.2f s\n", advanced, wall);
        }
        return false;
    }

    testing_support::RunTree tree;
    testing_support::MediaWindow window{720, 576};
    forms::TTimer timer{nullptr};
};

// Moving over the second button highlights it; a click there plays title 2, and the progress timer runs
// again.
TEST_F(DvdPlaying, TheButtonUnderTheMouseLightsUpAndAClickPlaysItsTitle) {
    const DvdRect second = testing_support::ManagerMenuButtons[1];
    EXPECT_EQ(Buttons(), 2U);
    EXPECT_EQ(Highlighted(), 1U);
    const win32::POINT over = InPanel(second.CentreX(), second.CentreY());
    DvdSelectAtPosition(over.x, over.y);
    EXPECT_EQ(State.DvdMousePoint.x, over.x);
    EXPECT_EQ(Highlighted(), 2U);
    const win32::POINT between = InPanel(100, 300);
    DvdSelectAtPosition(between.x, between.y);
    EXPECT_EQ(Highlighted(), 2U) << "no button under the mouse changes nothing";
    State.IsPlaying = false;
    timer.SetEnabled(false);
    DvdActivateAtPosition(over, timer);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_TRUE(WaitUntil([] { return Shows(DvdDomains::Title, 2); }, 10s));
    // Title 2's bars: grey at the left of the picture's top.
    const win32::POINT grey = InPanel(40, 100);
    EXPECT_TRUE(WaitUntil([&] {
        return testing_support::NearColour(window.Picture().pixel(grey.x, grey.y),
                                           testing_support::Rgb{180, 180, 180}, 35);
    })) << std::hex
        << window.Picture().pixel(grey.x, grey.y);
}

// An activation where no button is does nothing: the menu stays and the timer is not started.
TEST_F(DvdPlaying, AnActivationBesideTheButtonsDoesNothing) {
    timer.SetEnabled(false);
    DvdActivateAtPosition(InPanel(20, 20), timer);
    EXPECT_FALSE(timer.Enabled());
    testing_support::Pump(300ms);
    EXPECT_EQ(GetDvdDomain(), DvdDomains::VideoManagerMenu);
}

// From title 1 the title menu item's menu (the title set's root menu) shows its three buttons; the main menu
// item goes back to the manager menu.
TEST_F(DvdPlaying, TheMenuItemsShowTheDiscsMenus) {
    DvdPlayTitle(1, dshow::DVD_CMD_FLAG_Flush);
    ASSERT_TRUE(WaitUntil([] { return Shows(DvdDomains::Title, 1); }, 10s));
    ShowDvdMenu(3);
    EXPECT_TRUE(WaitUntil([] { return Shows(DvdDomains::TitleSetMenu) && Buttons() == 3; }, 10s));
    ShowDvdMenu(2);
    EXPECT_TRUE(WaitUntil([] { return Shows(DvdDomains::VideoManagerMenu) && Buttons() == 2; }, 10s));
    // Nothing plays: the menus do not open.
    State.IsPlaying = false;
    ShowDvdMenu(3);
    testing_support::Pump(300ms);
    EXPECT_EQ(GetDvdDomain(), DvdDomains::VideoManagerMenu);
}

// Next and previous move between the three chapters of title 1, and the chapter controls follow: previous off
// in the first, next off in the last, both off in a title of one chapter; backward and forward always on.
TEST_F(DvdPlaying, ChaptersStepAndTheControlsFollow) {
    forms::TImage backward, forward, previous, next;
    forms::TMenuItem previousItem, nextItem;
    const auto controls = [&] {
        UpdateDvdChapterButtons(&backward, &forward, &previous, &next);
        UpdateDvdChapterMenus(&previousItem, &nextItem);
        EXPECT_EQ(previous.Enabled(), previousItem.Enabled());
        EXPECT_EQ(next.Enabled(), nextItem.Enabled());
        EXPECT_TRUE(backward.Enabled());
        EXPECT_TRUE(forward.Enabled());
        return std::pair{previous.Enabled(), next.Enabled()};
    };
    DvdPlayTitle(1, dshow::DVD_CMD_FLAG_Flush);
    ASSERT_TRUE(WaitUntil([] { return Shows(DvdDomains::Title, 1) && Chapter() == 1; }, 10s));
    EXPECT_EQ(controls(), (std::pair{false, true}));
    DvdNextChapter();
    ASSERT_TRUE(WaitUntil([] { return Chapter() == 2; }, 10s));
    EXPECT_EQ(controls(), (std::pair{true, true}));
    DvdNextChapter();
    ASSERT_TRUE(WaitUntil([] { return Chapter() == 3; }, 10s));
    EXPECT_EQ(controls(), (std::pair{true, false}));
    DvdPreviousChapter();
    ASSERT_TRUE(WaitUntil([] { return Chapter() == 2; }, 10s));
    DvdPlayTitle(2, dshow::DVD_CMD_FLAG_Flush);
    ASSERT_TRUE(WaitUntil([] { return Shows(DvdDomains::Title, 2); }, 10s));
    EXPECT_EQ(controls(), (std::pair{false, false}));
}

// The second audio stream and the second subpicture stream, chosen in the submenus, are what the navigator
// reports back; subtitles off checks the off item alone.
TEST_F(DvdPlaying, StreamsChosenInTheSubmenusAreReportedBack) {
    DvdPlayTitle(1, dshow::DVD_CMD_FLAG_Flush);
    ASSERT_TRUE(WaitUntil([] { return Shows(DvdDomains::Title, 1); }, 10s));
    forms::TMenuItem subtitles, audio;
    PrepareDvdSubtitleMenu(&subtitles, &audio, nullptr, nullptr, nullptr);
    BuildDvdAudioMenu(&audio, nullptr, nullptr);
    EXPECT_EQ(Captions(subtitles), (std::vector<std::string>{"关闭字幕", "-", "English", "French"}));
    EXPECT_EQ(Captions(audio), (std::vector<std::string>{"English", "German"}));
    EXPECT_EQ(Checks(audio), (std::vector<bool>{true, false}));

    DvdAudioStreamSelect(audio.Items(1));
    ULONG available = 0, current = 0;
    State.DvdInfo2->GetCurrentAudio(&available, &current);
    EXPECT_EQ(current, 1U);
    EXPECT_EQ(Checks(audio), (std::vector<bool>{false, true}));

    DvdSubpictureSelect(subtitles.Items(3));
    win32::BOOL disabled = 1;
    State.DvdInfo2->GetCurrentSubpicture(&available, &current, &disabled);
    EXPECT_EQ(current, 1U);
    EXPECT_EQ(disabled, 0);
    EXPECT_EQ(Checks(subtitles), (std::vector<bool>{false, false, false, true}));

    DvdSubpictureOff(subtitles.Items(0));
    State.DvdInfo2->GetCurrentSubpicture(&available, &current, &disabled);
    EXPECT_NE(disabled, 0);
    EXPECT_EQ(Checks(subtitles), (std::vector<bool>{true, false, false, false}));
}

// The position runs with the wall clock through the title.
TEST_F(DvdPlaying, ThePositionAdvancesInRealTime) {
    DvdPlayTitle(1, dshow::DVD_CMD_FLAG_Flush);
    ASSERT_TRUE(WaitUntil([] { return Shows(DvdDomains::Title, 1) && Position() > 0; }, 10s));
    EXPECT_TRUE(AdvancesAt(1.0));
    std::int64_t h = 0, m = 0, s = 0;
    EXPECT_EQ(GetDvdTitleLengthSeconds(h, m, s), 12);
}

// Faster doubles the rate in a title and the position follows it; in a menu the navigator refuses, and the
// rate and its text stay at the normal rate.
TEST_F(DvdPlaying, FasterPlaysTwiceAsFastInATitleAndIsRefusedInAMenu) {
    double rate = 1.0;
    std::string status;
    DvdFaster(rate, status);
    EXPECT_EQ(rate, 1.0);
    EXPECT_EQ(status, "播放中");
    DvdPlayTitle(1, dshow::DVD_CMD_FLAG_Flush);
    ASSERT_TRUE(WaitUntil([] { return Shows(DvdDomains::Title, 1) && Position() > 0; }, 10s));
    DvdFaster(rate, status);
    EXPECT_EQ(rate, 2.0);
    EXPECT_EQ(status, "播放中  2.00x");
    // The disc goes on from the picture shown (the video object unit it lies in): measured once it plays
    // again.
    testing_support::Pump(500ms);
    EXPECT_TRUE(AdvancesAt(2.0));
}

// --- The rules, on a fake navigator ---

class DvdRules : public ::testing::Test {
protected:
    void SetUp() override {
        State.DvdControl2 = dvd;
        State.DvdInfo2 = dvd;
        State.PlayType = PlayTypes::Dvd;
        State.IsPlaying = true;
        dvd->languages = {win32::LcidFromLanguageCode("en"), win32::LcidFromLanguageCode("de"),
                          win32::LcidFromLanguageCode("fr")};
    }
    void TearDown() override {
        State.DvdControl2 = nullptr;
        State.DvdInfo2 = nullptr;
    }
    testing_support::RunTree tree;
    bool app = (testing_support::EnsureQApplication(), true);
    com::ComPtr<testing_support::FakeDvd> dvd =
        com::ComPtr<testing_support::FakeDvd>::Adopt(new testing_support::FakeDvd);
};

struct RateCase {
    const char* name;
    double from;
    bool faster;
    bool refused;
    double rate;
    const char* text;
};

class RateSteps : public DvdRules, public ::testing::WithParamInterface<RateCase> {};

TEST_P(RateSteps, StepOrKeepTheRateOnRefusal) {
    const RateCase& c = GetParam();
    dvd->commandResult = c.refused ? dshow::VFW_E_DVD_OPERATION_INHIBITED : com::S_OK;
    double rate = c.from;
    std::string status = "unchanged";
    (c.faster ? DvdFaster : DvdSlower)(rate, status);
    EXPECT_EQ(rate, c.rate);
    EXPECT_EQ(status, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RateSteps,
    ::testing::Values(RateCase{"FasterFrom1", 1.0, true, false, 2.0, "播放中  2.00x"},
                      RateCase{"FasterFrom8WrapsTo1", 8.0, true, false, 1.0, "播放中"},
                      RateCase{"FasterFromAQuarterGoesTo1", 0.25, true, false, 1.0, "播放中"},
                      RateCase{"SlowerFrom2GoesTo1", 2.0, false, false, 1.0, "播放中"},
                      RateCase{"SlowerFrom1Halves", 1.0, false, false, 0.5, "播放中  0.50x"},
                      RateCase{"SlowerFromHalf", 0.5, false, false, 0.25, "播放中  0.25x"},
                      // The navigator refuses: the rate that plays stays, and the text says so.
                      RateCase{"FasterRefusedKeeps2", 2.0, true, true, 2.0, "播放中  2.00x"},
                      RateCase{"SlowerBelowTheFloorRefused", 0.125, false, true, 0.125, "播放中  0.12x"}),
    testing_support::CaseName());

// Without the navigator the rate is nobody's to change.
TEST_F(DvdRules, RateStepsWithoutTheNavigatorDoNothing) {
    State.DvdControl2 = nullptr;
    double rate = 1.0;
    std::string status = "unchanged";
    DvdFaster(rate, status);
    DvdSlower(rate, status);
    EXPECT_EQ(rate, 1.0);
    EXPECT_EQ(status, "unchanged");
}

// An unread or unknown domain is 0, which no caller acts on.
TEST_F(DvdRules, DomainsOutsideOneToFiveAndFailuresAreZero) {
    dvd->domain = dshow::DVD_DOMAIN_VideoTitleSetMenu;
    EXPECT_EQ(GetDvdDomain(), DvdDomains::TitleSetMenu);
    dvd->domain = static_cast<dshow::DVD_DOMAIN>(9);
    EXPECT_EQ(GetDvdDomain(), DvdDomains::Unknown);
    dvd->domain = dshow::DVD_DOMAIN_Title;
    dvd->result = com::E_FAIL;
    EXPECT_EQ(GetDvdDomain(), DvdDomains::Unknown);
}

// Length, position and chapter count read nothing on failure: 0 and 0, never an earlier or random value.
TEST_F(DvdRules, FailedQueriesReportZero) {
    dvd->position.bMinutes = 3;
    dvd->length.bHours = 1;
    dvd->result = com::E_FAIL;
    std::int64_t h = 7, m = 7, s = 7;
    EXPECT_EQ(GetDvdTitleLengthSeconds(h, m, s), 0);
    EXPECT_EQ(h + m + s, 0);
    h = m = s = 7;
    EXPECT_EQ(GetDvdPositionSeconds(h, m, s), 0);
    EXPECT_EQ(h + m + s, 0);
    int chapter = 7;
    unsigned count = 7;
    GetChapterCount(chapter, count);
    EXPECT_EQ(chapter, 0);
    EXPECT_EQ(count, 0U);
    int title = 5;
    chapter = 6;
    GetCurrentTitleChapter(title, chapter);
    EXPECT_EQ(title, 5);
    EXPECT_EQ(chapter, 6);
}

struct ButtonCase {
    const char* name;
    ULONG button;
    bool selected;
};

class ButtonUnderTheMouse : public DvdRules, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonUnderTheMouse, OnlyButtonsOneToThirtySixAreSelected) {
    dvd->button = GetParam().button;
    DvdSelectAtPosition(30, 40);
    EXPECT_EQ(State.DvdMousePoint.x, 30);
    EXPECT_EQ(State.DvdMousePoint.y, 40);
    const std::vector<std::string> expected =
        GetParam().selected ? std::vector<std::string>{"SelectButton " + std::to_string(GetParam().button)}
                            : std::vector<std::string>{};
    EXPECT_EQ(dvd->calls, expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ButtonUnderTheMouse,
                         ::testing::Values(ButtonCase{"None", 0, false}, ButtonCase{"First", 1, true},
                                           ButtonCase{"Last", 36, true}, ButtonCase{"Beyond", 37, false}),
                         testing_support::CaseName());

// Three subtitle streams, the second current: off, a separator and three languages, the second checked; when
// the disc does not show subtitles, only the off item is checked. Opening the pop-up again adds nothing.
TEST_F(DvdRules, TheSubtitleMenuChecksWhatTheDiscShows) {
    dvd->subpictures = 3;
    dvd->subpicture = 1;
    forms::TMenuItem subtitles, audio;
    PrepareDvdSubtitleMenu(&subtitles, &audio, nullptr, nullptr, nullptr);
    EXPECT_EQ(Captions(subtitles),
              (std::vector<std::string>{"关闭字幕", "-", "English", "German", "French"}));
    EXPECT_EQ(Checks(subtitles), (std::vector<bool>{false, false, false, true, false}));
    dvd->subpictureDisabled = true;
    PrepareDvdSubtitleMenu(&subtitles, &audio, nullptr, nullptr, nullptr);
    EXPECT_EQ(subtitles.Count(), 5);
    EXPECT_EQ(Checks(subtitles), (std::vector<bool>{true, false, false, false, false}));
    DvdSubpictureSelect(subtitles.Items(4));
    EXPECT_EQ(dvd->calls, (std::vector<std::string>{"SetSubpictureState 1", "SelectSubpictureStream 2"}));
}

// The subtitle and audio submenus list the streams of what plays: built in the disc's menu (one stream of
// each, whose language the disc does not name), they are built again for the title's streams, again for a
// title set whose streams have other languages, and not again while the streams stay the same.
TEST_F(DvdRules, TheStreamSubmenusFollowTheStreamsOfWhatPlays) {
    forms::TMenuItem subtitles, audio;
    const auto popup = [&] {
        PrepareDvdSubtitleMenu(&subtitles, &audio, nullptr, nullptr, nullptr);
        BuildDvdAudioMenu(&audio, nullptr, nullptr);
    };
    dvd->domain = dshow::DVD_DOMAIN_VideoManagerMenu;
    dvd->languages = {0};
    dvd->subpictures = dvd->audios = 1;
    popup();
    EXPECT_EQ(Captions(subtitles), (std::vector<std::string>{"关闭字幕", "-", "Unknown"}));
    EXPECT_EQ(Captions(audio), (std::vector<std::string>{"Unknown"}));

    dvd->domain = dshow::DVD_DOMAIN_Title;
    dvd->languages = {win32::LcidFromLanguageCode("en"), win32::LcidFromLanguageCode("de")};
    dvd->subpictures = dvd->audios = 2;
    dvd->audio = 1;
    popup();
    popup();
    EXPECT_EQ(Captions(subtitles), (std::vector<std::string>{"关闭字幕", "-", "English", "German"}));
    EXPECT_EQ(Captions(audio), (std::vector<std::string>{"English", "German"}));
    EXPECT_EQ(Checks(audio), (std::vector<bool>{false, true}));
    DvdAudioStreamSelect(audio.Items(0));
    EXPECT_EQ(dvd->calls.back(), "SelectAudioStream 0");

    dvd->languages = {win32::LcidFromLanguageCode("fr"), win32::LcidFromLanguageCode("de")};
    dvd->audio = 0;
    popup();
    EXPECT_EQ(Captions(subtitles), (std::vector<std::string>{"关闭字幕", "-", "French", "German"}));
    EXPECT_EQ(Captions(audio), (std::vector<std::string>{"French", "German"}));
    EXPECT_EQ(Checks(audio), (std::vector<bool>{true, false}));
}

// The angle menu shows the disc's angles with the current one checked, and building it selects nothing.
TEST_F(DvdRules, TheAngleMenuChecksTheCurrentAngleAndSendsNothing) {
    dvd->angles = 3;
    dvd->angle = 2;
    forms::TMenuItem angles;
    BuildDvdAngleMenu(&angles, nullptr, nullptr);
    BuildDvdAngleMenu(&angles, nullptr, nullptr);
    EXPECT_EQ(Captions(angles), (std::vector<std::string>{"Angle-1", "Angle-2", "Angle-3"}));
    EXPECT_EQ(Checks(angles), (std::vector<bool>{false, true, false}));
    EXPECT_TRUE(dvd->calls.empty());
    DvdAngleSelect(angles.Items(2));
    EXPECT_EQ(dvd->calls, (std::vector<std::string>{"SelectAngle 3"}));
    EXPECT_EQ(Checks(angles), (std::vector<bool>{false, false, true}));
}

// An audio stream the navigator refuses leaves the checks as they were.
TEST_F(DvdRules, ARefusedAudioStreamKeepsTheCheck) {
    dvd->audios = 2;
    forms::TMenuItem audio;
    BuildDvdAudioMenu(&audio, nullptr, nullptr);
    dvd->commandResult = dshow::VFW_E_DVD_OPERATION_INHIBITED;
    DvdAudioStreamSelect(audio.Items(1));
    EXPECT_EQ(Checks(audio), (std::vector<bool>{true, false}));
}

// After an open the current subtitle stream is turned on; a restart plays the title's first chapter.
TEST_F(DvdRules, SubtitlesOnAfterAnOpenAndARestartFromChapterOne) {
    dvd->subpictures = 2;
    dvd->subpicture = 1;
    DvdShowSubtitle();
    dvd->title = 2;
    dvd->chapter = 3;
    State.PlayRate = 4.0;
    DvdRestartTitle();
    EXPECT_EQ(State.PlayRate, 1.0);
    EXPECT_EQ(dvd->calls, (std::vector<std::string>{"SetSubpictureState 1", "SelectSubpictureStream 1",
                                                    "PlayChapterInTitle 2 1"}));
}

} // namespace
