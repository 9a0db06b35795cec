// The navigator on the authored disc, read by the test itself (no pipeline): the disc's facts, the stream it
// gives the demuxer, and what it says is on the screen for a playback position on its timeline.

#include "platform/media/DvdNavigator.h"

#include <optional>
#include <set>

#include <gtest/gtest.h>

#include "platform/media/Interfaces.h"
#include "tests/support/CaseName.h"
#include "tests/support/DvdFixtures.h"

namespace {

using dshow::DvdNavigator;
using dshow::DvdScreen;
using dshow::DvdStep;
using Domain = DvdScreen::Domain;

constexpr std::int64_t Second = 90000;

std::int64_t Scr(const DvdStep& Step) {
    const std::uint8_t* p = Step.Data.data() + 4;
    return (static_cast<std::int64_t>((p[0] >> 3) & 7) << 30) | (static_cast<std::int64_t>(p[0] & 3) << 28) |
           (static_cast<std::int64_t>(p[1]) << 20) | (static_cast<std::int64_t>((p[2] >> 3) & 0x1F) << 15) |
           (static_cast<std::int64_t>(p[2] & 3) << 13) | (static_cast<std::int64_t>(p[3]) << 5) |
           ((p[4] >> 3) & 0x1F);
}

// The stream and sub-stream numbers of the packets in a pack (sub-streams of private stream 1 as 0xBD00 + n).
std::set<int> Streams(const DvdStep& Step) {
    std::set<int> streams;
    const std::uint8_t* d = Step.Data.data();
    std::size_t at = 14 + (d[13] & 7);
    while (at + 9 < Step.Data.size() && d[at] == 0 && d[at + 1] == 0 && d[at + 2] == 1) {
        const int id = d[at + 3];
        const std::size_t length = (static_cast<std::size_t>(d[at + 4]) << 8) | d[at + 5];
        streams.insert(id == 0xBD ? 0xBD00 + d[at + 9 + d[at + 8]] : id);
        at += 6 + length;
    }
    return streams;
}

class Navigator : public ::testing::Test {
protected:
    void SetUp() override {
        navigator = DvdNavigator::Open(testing_support::DvdDisc());
        ASSERT_TRUE(navigator);
    }
    // Reads until a still picture, the end, a failure or Limit blocks; the blocks go to OnBlock.
    DvdStep::Kind ReadOn(const std::function<void(const DvdStep&)>& OnBlock = {}, int Limit = 100000) {
        for (int i = 0; i < Limit; ++i) {
            const DvdStep step = navigator->Read();
            if (step.kind == DvdStep::Kind::Block && OnBlock)
                OnBlock(step);
            if (step.kind == DvdStep::Kind::StillBegins || step.kind == DvdStep::Kind::End ||
                step.kind == DvdStep::Kind::Failed)
                return step.kind;
        }
        return DvdStep::Kind::Changes;
    }
    std::shared_ptr<DvdNavigator> navigator;
};

TEST_F(Navigator, TheDiscsFactsComeFromItsIfoFiles) {
    EXPECT_EQ(navigator->Titles(), 2);
    ASSERT_NE(navigator->Title(1), nullptr);
    EXPECT_EQ(navigator->Title(1)->Chapters, 3);
    EXPECT_EQ(navigator->Title(1)->Length, 12 * Second);
    EXPECT_EQ(navigator->Title(2)->Chapters, 1);
    EXPECT_EQ(navigator->Title(2)->Length, 6 * Second);
    EXPECT_EQ(navigator->Title(0), nullptr);
    EXPECT_EQ(navigator->Title(3), nullptr);
    const dshow::DvdStreamFacts& set1 = navigator->StreamsOf(Domain::Title, 1);
    EXPECT_EQ(set1.AudioLanguages, (std::vector<std::string>{"en", "de"}));
    EXPECT_EQ(set1.SubpictureLanguages, (std::vector<std::string>{"en", "fr"}));
    EXPECT_EQ(set1.Video.Width, 720);
    EXPECT_EQ(set1.Video.Height, 576);
    EXPECT_EQ(set1.Video.FrameRate, 25);
    EXPECT_EQ(navigator->StreamsOf(Domain::Title, 2).AudioLanguages, (std::vector<std::string>{"en"}));
    EXPECT_TRUE(navigator->StreamsOf(Domain::Title, 2).SubpictureLanguages.empty());
    EXPECT_EQ(navigator->StreamsOf(Domain::ManagerMenu, 0).AudioLanguages.size(), 1U);
}

TEST(NavigatorOpen, NoDiscGivesNothingAndTheReason) {
    std::string reason;
    EXPECT_FALSE(DvdNavigator::Open("/nonexistent/disc", &reason));
    EXPECT_NE(reason.find("/nonexistent/disc"), std::string::npos) << reason;
}

// Before anything is read the disc stands in its first play; its first still picture is the manager menu's.
TEST_F(Navigator, TheDiscStartsInFirstPlayAndStandsInItsMenu) {
    EXPECT_EQ(navigator->Screen().domain, Domain::FirstPlay);
    EXPECT_EQ(ReadOn(), DvdStep::Kind::StillBegins);
    const DvdScreen menu = navigator->Screen();
    EXPECT_EQ(menu.domain, Domain::ManagerMenu);
    EXPECT_EQ(menu.Buttons, 2);
    EXPECT_EQ(menu.Highlighted, 1);
    EXPECT_EQ(navigator->ButtonAt(300, 350), 2);
    EXPECT_EQ(navigator->ButtonAt(10, 10), 0);
    EXPECT_FALSE(navigator->PlayNextChapter()) << "no chapters in a menu";
    EXPECT_FALSE(navigator->SetRate(2.0)) << "menus play at the normal rate";
}

// Title 1 and then title 2 (which follows by itself) come out as one stream: the clock references start at
// the run's start and never go back, and only one audio and one subpicture stream leave, under the first
// number of their kind; the others are padding.
TEST_F(Navigator, TheTitlesComeOutOnOneTimelineWithOneStreamOfEachKind) {
    ASSERT_EQ(ReadOn(), DvdStep::Kind::StillBegins);
    ASSERT_TRUE(navigator->PlayTitle(1));
    std::int64_t first = -1, last = -1;
    bool backwards = false;
    std::set<int> streams;
    EXPECT_EQ(ReadOn([&](const DvdStep& Step) {
                  const std::int64_t scr = Scr(Step);
                  if (first < 0)
                      first = scr;
                  backwards = backwards || scr + Second / 2 < last;
                  last = scr;
                  const std::set<int> here = Streams(Step);
                  streams.insert(here.begin(), here.end());
              }),
              DvdStep::Kind::End);
    EXPECT_NEAR(static_cast<double>(first), DvdNavigator::RunStart, 1.0);
    EXPECT_FALSE(backwards);
    EXPECT_NEAR(static_cast<double>(last - first) / Second, 18.0, 1.0)
        << "12 s of title 1, then 6 s of title 2";
    EXPECT_TRUE(streams.count(0xE0));
    EXPECT_TRUE(streams.count(0xBD80));
    EXPECT_TRUE(streams.count(0xBD20));
    EXPECT_FALSE(streams.count(0xBD81)) << "the second audio stream is not passed on";
    EXPECT_FALSE(streams.count(0xBD21)) << "nor the second subpicture stream";
    EXPECT_TRUE(streams.count(0xBE));
}

struct ScreenCase {
    const char* name;
    double position; // seconds on the timeline after the run's start
    Domain domain;
    int title, chapter;
    double time;
};

class ScreenAtPosition : public Navigator, public ::testing::WithParamInterface<ScreenCase> {};

// What the screen shows follows the playback position, not the reading: title 1 through its chapters; its
// end, held for a moment once title 2 follows by itself, so that a poller finds it; then title 2.
TEST_P(ScreenAtPosition, FollowsThePlaybackPosition) {
    ASSERT_EQ(ReadOn(), DvdStep::Kind::StillBegins);
    ASSERT_TRUE(navigator->PlayTitle(1));
    ASSERT_EQ(ReadOn(), DvdStep::Kind::End);
    navigator->SetEnded(false);
    const ScreenCase& c = GetParam();
    navigator->SetPlaybackClock(
        [&] { return DvdNavigator::RunStart + static_cast<std::int64_t>(c.position * Second); });
    const DvdScreen screen = navigator->Screen();
    EXPECT_EQ(screen.domain, c.domain);
    EXPECT_EQ(screen.Title, c.title);
    EXPECT_EQ(screen.Chapter, c.chapter);
    EXPECT_NEAR(static_cast<double>(screen.Time) / Second, c.time, 0.6);
}

INSTANTIATE_TEST_SUITE_P(Table, ScreenAtPosition,
                         ::testing::Values(ScreenCase{"StartOfTitle1", 0.1, Domain::Title, 1, 1, 0.1},
                                           ScreenCase{"SecondChapter", 5.0, Domain::Title, 1, 2, 5.0},
                                           ScreenCase{"LastChapter", 11.5, Domain::Title, 1, 3, 11.5},
                                           ScreenCase{"EndOfTitle1Held", 12.3, Domain::Title, 1, 3, 12.0},
                                           ScreenCase{"Title2", 14.0, Domain::Title, 2, 1, 2.0}),
                         [](const ::testing::TestParamInfo<ScreenCase>& Info) {
                             return std::string(Info.param.name);
                         });

// Title 2 ends the disc: while the pipeline plays its last picture the title shows, and once all of it was
// played out the disc has stopped.
TEST_F(Navigator, AfterTheEndTheDiscHasStopped) {
    ASSERT_EQ(ReadOn(), DvdStep::Kind::StillBegins);
    ASSERT_TRUE(navigator->PlayTitle(2));
    ASSERT_EQ(ReadOn(), DvdStep::Kind::End);
    navigator->SetPlaybackClock([] { return DvdNavigator::RunStart + Second * 11 / 2; });
    const DvdScreen last = navigator->Screen();
    EXPECT_EQ(last.domain, Domain::Title);
    EXPECT_EQ(last.Title, 2);
    navigator->SetEnded(true);
    EXPECT_EQ(navigator->Screen().domain, Domain::Stop);
}

struct MenuAfterJumpCase {
    const char* name;
    bool (*intoTitle)(DvdNavigator&); // from the manager menu's still
    int menu;
    Domain domain;
    int buttons;
};

bool ByItsButton(DvdNavigator& N) {
    return N.SelectButton(1) && N.ActivateButton();
}
bool ByTitle(DvdNavigator& N) {
    return N.PlayTitle(1);
}
bool ByChapter(DvdNavigator& N) {
    return N.PlayChapter(1, 2);
}

class MenuAfterJump : public Navigator, public ::testing::WithParamInterface<MenuAfterJumpCase> {};

// A menu called a moment after the disc left a menu for a title (by a button, a title or a chapter command)
// stands still with its buttons, as long as no button is chosen: the still picture the disc left is not
// carried over onto the menu's, which would end the title-set menu (and the disc with it) or send the
// manager menu on to its title.
TEST_P(MenuAfterJump, StandsStillAndItsButtonsLightUp) {
    const MenuAfterJumpCase& c = GetParam();
    ASSERT_EQ(ReadOn(), DvdStep::Kind::StillBegins);
    ASSERT_TRUE(c.intoTitle(*navigator));
    ASSERT_EQ(ReadOn({}, 200), DvdStep::Kind::Changes) << "the title plays on";
    ASSERT_EQ(navigator->Screen().domain, Domain::Title);
    ASSERT_TRUE(navigator->ShowMenu(c.menu));
    ASSERT_EQ(ReadOn(), DvdStep::Kind::StillBegins);
    const DvdScreen menu = navigator->Screen();
    EXPECT_EQ(menu.domain, c.domain);
    EXPECT_EQ(menu.Buttons, c.buttons);
    // The still waits for a command; the button chosen is lit at once.
    ASSERT_TRUE(navigator->SelectButton(2));
    std::optional<DvdStep::Highlight> lit;
    for (int i = 0; i < 20 && !lit; ++i)
        lit = navigator->Read().NewHighlight;
    ASSERT_TRUE(lit.has_value());
    EXPECT_EQ(lit->Button, 2);
    EXPECT_EQ(navigator->Screen().domain, c.domain);
}

INSTANTIATE_TEST_SUITE_P(Table, MenuAfterJump,
                         ::testing::Values(MenuAfterJumpCase{"RootMenuAfterAButton", &ByItsButton,
                                                             dshow::DVD_MENU_Root, Domain::TitleSetMenu, 3},
                                           MenuAfterJumpCase{"ChapterMenuAfterATitle", &ByTitle,
                                                             dshow::DVD_MENU_Chapter, Domain::TitleSetMenu,
                                                             3},
                                           MenuAfterJumpCase{"TitleMenuAfterAChapter", &ByChapter,
                                                             dshow::DVD_MENU_Title, Domain::ManagerMenu, 2}),
                         testing_support::CaseName());

// The title-set menu's "Resume" goes back to the picture shown when the menu was called, not to where the
// disc had been read to ahead of the playback.
TEST_F(Navigator, AMenusResumeGoesBackToThePictureShown) {
    ASSERT_EQ(ReadOn(), DvdStep::Kind::StillBegins);
    ASSERT_TRUE(navigator->PlayTitle(1));
    std::int64_t first = -1, last = -1;
    while (first < 0 || last - first < 7 * Second) {
        const DvdStep step = navigator->Read();
        ASSERT_NE(step.kind, DvdStep::Kind::End);
        if (step.kind != DvdStep::Kind::Block)
            continue;
        last = Scr(step);
        if (first < 0)
            first = last;
    }
    ASSERT_GT(last - first, 6 * Second) << "read well ahead of the picture";
    navigator->SetPlaybackClock([] { return DvdNavigator::RunStart + 2 * Second; });
    ASSERT_NEAR(static_cast<double>(navigator->Screen().Time) / Second, 2.0, 0.6);
    ASSERT_TRUE(navigator->ShowMenu(dshow::DVD_MENU_Root));
    navigator->SetPlaybackClock({});
    ASSERT_EQ(ReadOn(), DvdStep::Kind::StillBegins);
    ASSERT_TRUE(navigator->SelectButton(2));
    ASSERT_TRUE(navigator->ActivateButton());
    ASSERT_EQ(ReadOn({}, 50), DvdStep::Kind::Changes);
    const DvdScreen resumed = navigator->Screen();
    EXPECT_EQ(resumed.domain, Domain::Title);
    EXPECT_EQ(resumed.Title, 1);
    EXPECT_NEAR(static_cast<double>(resumed.Time) / Second, 2.0, 1.0);
}

} // namespace
