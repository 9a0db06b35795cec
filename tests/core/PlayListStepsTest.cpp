#include "core/PlayListSteps.h"

#include <cstdlib>
#include <set>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "platform/forms/Forms.h"
#include "platform/win32/Power.h"
#include "tests/support/CaseName.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"
#include "tests/support/WhileModal.h"

using testing_support::ReadFile;
using testing_support::WhileModal;

namespace {

void MakePlayList(int Count) {
    State.PlayListFiles = std::make_unique<forms::TStringList>();
    for (int i = 0; i < Count; ++i)
        State.PlayListFiles->Add("/media/" + std::to_string(i) + ".mp4");
}

struct StepCase {
    const char* name;
    int count;
    int index;
    int direction;
    int expected;
};

class StepPlayListIndexTest : public ::testing::TestWithParam<StepCase> {
protected:
    void SetUp() override { ResetPlaybackState(); }
};

TEST_P(StepPlayListIndexTest, MovesWithinTheList) {
    const StepCase& c = GetParam();
    MakePlayList(c.count);
    State.PlayListIndex = c.index;
    StepPlayListIndex(c.direction);
    EXPECT_EQ(State.PlayListIndex, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StepPlayListIndexTest,
    ::testing::Values(StepCase{"NextFromTheMiddle", 3, 1, 1, 2}, StepCase{"NextFromTheLastWrapsToTheFirst", 3, 2, 1, 0},
                      StepCase{"PreviousFromTheMiddle", 3, 1, 2, 0},
                      StepCase{"PreviousFromTheFirstWrapsToTheLast", 3, 0, 2, 2},
                      StepCase{"NoEntryStaysNoEntryOnNext", 3, -1, 1, -1},
                      StepCase{"NoEntryStaysNoEntryOnPrevious", 3, -1, 2, -1},
                      StepCase{"OneEntryNextStays", 1, 0, 1, 0}, StepCase{"OneEntryPreviousStays", 1, 0, 2, 0},
                      StepCase{"EmptyListNextNamesNoEntry", 0, 0, 1, -1},
                      StepCase{"EmptyListPreviousNamesNoEntry", 0, 0, 2, -1},
                      StepCase{"ShrunkListPreviousNamesNoEntry", 2, 5, 2, -1},
                      StepCase{"ShrunkListNextNamesNoEntry", 2, 2, 1, -1},
                      StepCase{"OtherDirectionDoesNothing", 3, 1, 3, 1},
                      StepCase{"DirectionZeroDoesNothing", 3, 1, 0, 1}),
    testing_support::CaseName());

TEST(StepPlayListIndex, NoListNamesNoEntry) {
    ResetPlaybackState();
    State.PlayListIndex = 0;
    StepPlayListIndex(1);
    EXPECT_EQ(State.PlayListIndex, -1);
}

TEST(RandomIndex, NoEntriesGiveNoIndex) {
    EXPECT_EQ(RandomIndex(0), -1);
    EXPECT_EQ(RandomIndex(-3), -1);
}

TEST(RandomIndex, OneEntryIsAlwaysChosen) {
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(RandomIndex(1), 0);
}

TEST(RandomIndex, EveryEntryComesUpAndNoneOutside) {
    std::set<int> seen;
    for (int i = 0; i < 600; ++i) {
        const int index = RandomIndex(3);
        ASSERT_GE(index, 0);
        ASSERT_LT(index, 3);
        seen.insert(index);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST(SetSinglePlayList, TheFileBecomesTheWholeListAndTheCurrentEntry) {
    ResetPlaybackState();
    MakePlayList(3);
    State.PlayListPositions = std::make_unique<forms::TStringList>();
    State.PlayListPositions->Add("12");
    State.PlayListIndex = 2;
    SetSinglePlayList("/media/history pick.mkv");
    ASSERT_EQ(State.PlayListFiles->Count(), 1);
    EXPECT_EQ((*State.PlayListFiles)[0], "/media/history pick.mkv");
    EXPECT_EQ(State.CurrentMediaFile, "/media/history pick.mkv");
    EXPECT_EQ(State.PlayListIndex, 0);
    EXPECT_EQ(State.PlayListPositions->Count(), 1) << "the positions are the caller's";
}

// The after-play actions against a main window. The dialog library has its own copy of the platform layer,
// so its power-off is read back from the fake log; the suspend goes through this program's power service.
class AfterPlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        ResetPlaybackState();
        ::setenv("QUOREL_FAKE_LOG", dir.File("fake.log").c_str(), 1);
        win32::SetPowerService(&power);
        main.OnClose = [this](forms::TObject*, forms::TCloseAction&) { ++closes; };
        main.Show();
        State.MainWindowHandle = main.Handle();
        State.Language = Languages::Chinese;
    }
    void TearDown() override {
        win32::SetPowerService(nullptr);
        ::unsetenv("QUOREL_FAKE_LOG");
    }
    std::string FakeLog() const { return ReadFile(dir.File("fake.log")); }
    static void Press(QWidget* Dialog, const char* Name) {
        QWidget* control = Dialog->findChild<QWidget*>(Name);
        QPushButton* button = control != nullptr ? control->findChild<QPushButton*>() : nullptr;
        ASSERT_NE(button, nullptr) << Name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    testing_support::TempDir dir;
    win32::FakePowerService power;
    forms::TForm main;
    int closes = 0;
};

TEST_F(AfterPlayTest, NothingAndUnknownValuesLeaveThePlayerAsItIs) {
    for (TAfterPlay action : {AfterPlays::Nothing, -1, 4, 9}) {
        State.AfterPlay = action;
        DoAfterPlayAction();
        QApplication::processEvents();
    }
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(power.Calls.empty());
    EXPECT_EQ(FakeLog(), "");
}

TEST_F(AfterPlayTest, ExitClosesTheMainWindowThroughItsCloseHandlingOnceTheTickIsDone) {
    State.AfterPlay = AfterPlays::Exit;
    DoAfterPlayAction();
    EXPECT_EQ(closes, 0) << "posted, not sent: the tick finishes first";
    EXPECT_TRUE(main.isVisible());
    QApplication::processEvents();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(power.Calls.empty());
}

TEST_F(AfterPlayTest, PowerOffShowsTheCountdownOwnedByTheMainWindowAndCancelLeavesThePlayerRunning) {
    State.AfterPlay = AfterPlays::PowerOff;
    WhileModal steps([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "关闭计算机...") << "in the player's language";
        EXPECT_EQ(dialog->parentWidget(), &main);
        Press(dialog, "Cancel_Btn");
    });
    DoAfterPlayAction();
    EXPECT_TRUE(steps.Ran()) << "the dialog ran inside the call";
    EXPECT_EQ(FakeLog(), "");
    QApplication::processEvents();
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(main.isVisible());
}

TEST_F(AfterPlayTest, PowerOffCountdownOkPowersOffThroughThePowerService) {
    State.AfterPlay = AfterPlays::PowerOff;
    WhileModal steps([&](QWidget* dialog) { Press(dialog, "OK_Btn"); });
    DoAfterPlayAction();
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(FakeLog(), "Power PowerOff\n");
    EXPECT_TRUE(power.Calls.empty()) << "the countdown powers off, nothing suspends";
}

TEST_F(AfterPlayTest, SuspendAsksThePowerServiceOnceAndARefusalIsSilent) {
    State.AfterPlay = AfterPlays::Suspend;
    DoAfterPlayAction();
    EXPECT_EQ(power.Calls, (std::vector<std::string>{"Suspend"}));
    power.Result = false;
    SuspendComputer();
    EXPECT_EQ(power.Calls.size(), 2u);
    QApplication::processEvents();
    EXPECT_EQ(closes, 0) << "the player goes on in the stopped state";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
