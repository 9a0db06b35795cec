// The two choice dialogs: the DVD folder among those a search found, and the resume question of a reopened
// medium, which seeks by itself.

#include <QApplication>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "core/DvdNavigation.h"
#include "core/PlaybackState.h"
#include "core/Seeking.h"
#include "core/Transport.h"
#include "core/WindowUtils.h"
#include "platform/forms/Forms.h"
#include "tests/support/CaseName.h"
#include "tests/support/FakeDvd.h"
#include "tests/support/FakeGraph.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"
#include "tests/support/WhileModal.h"
#include "ui/AutoResumePlayForm.h"
#include "ui/SelHardDiskDvdForm.h"

using namespace forms;

namespace {

constexpr std::int64_t Second = 10'000'000;

class ChoiceDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        CreateUiFont();
        owner.Show();
    }
    void TearDown() override {
        ReleaseGraphInterfaces();
        FreeUiFont();
    }
    // Runs Launch with Steps on the dialog once it is shown; the test fails when the steps did not run.
    template <class Dialog>
    void WhileShown(const std::function<void(Dialog&)>& Steps, const std::function<void()>& Launch) {
        testing_support::WhileModal modal([&](QWidget* Shown) {
            auto* dialog = dynamic_cast<Dialog*>(Shown);
            ASSERT_NE(dialog, nullptr);
            Steps(*dialog);
        });
        Launch();
        EXPECT_TRUE(modal.Ran());
    }
    static void ClickItem(TRadioGroup* Group, int Index) {
        QRadioButton* button = Group->Button(Index);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    testing_support::RunTree tree;
    TForm owner;
};

// --- The DVD folder. ---

class SelHardDiskDvdTest : public ChoiceDialogTest {
protected:
    void SetUp() override {
        ChoiceDialogTest::SetUp();
        State.DvdFolderList = std::make_unique<TStringList>();
        for (const char* folder :
             {"/media/films/One/VIDEO_TS", "/media/films/Two/VIDEO_TS", "/home/u/Three/VIDEO_TS"})
            State.DvdFolderList->Add(folder);
    }
};

TEST_F(SelHardDiskDvdTest, ListsEveryFolderFoundAndGivesTheOneClicked) {
    int index = 99;
    WhileShown<TSelHardDiskDvd_Form>(
        [](TSelHardDiskDvd_Form& Dialog) {
            EXPECT_EQ(Dialog.Caption(), "在指定的位置找到如下的DVD目录");
            EXPECT_EQ(Dialog.HardDiskDvd_RG->Caption(), "请选择一个DVD目录");
            ASSERT_EQ(Dialog.HardDiskDvd_RG->Items().Count(), 3);
            EXPECT_EQ(Dialog.HardDiskDvd_RG->Items()[2], "/home/u/Three/VIDEO_TS");
            EXPECT_EQ(Dialog.HardDiskDvd_RG->ItemIndex(), -1);
            EXPECT_EQ(Dialog.HardDiskDvd_RG->Font().Name(), State.UiFont->Name());
            ClickItem(Dialog.HardDiskDvd_RG, 1);
        },
        [&] { ShowSelHardDiskDvdDialog(owner.Handle(), 2, index); });
    EXPECT_EQ(index, 1);
}

TEST_F(SelHardDiskDvdTest, ClosedWithoutAChoiceGivesMinusOne) {
    int index = 99;
    WhileShown<TSelHardDiskDvd_Form>(
        [](TSelHardDiskDvd_Form& Dialog) {
            EXPECT_EQ(Dialog.Caption(), "Find Dvd directoris");
            EXPECT_EQ(Dialog.HardDiskDvd_RG->Caption(), "Please select a Dvd directoris to play");
            Dialog.Close();
        },
        [&] { ShowSelHardDiskDvdDialog(owner.Handle(), 1, index); });
    EXPECT_EQ(index, -1);
    index = 99;
    ShowSelHardDiskDvdDialog(nullptr, 1, index);
    EXPECT_EQ(index, 99);
}

// --- The resume question. ---

struct ResumeCase {
    const char* name;
    TPlayType playType;
    bool dvdControl;
    int item; // -1: closed by the close box
    std::vector<std::int64_t> mediaSeeks;
    std::vector<std::pair<win32::DWORD, win32::DWORD>> titles; // title and flag of each title started
    std::vector<std::string> dvdSeekSeconds;
};

class AutoResumePlayTest : public ChoiceDialogTest, public ::testing::WithParamInterface<ResumeCase> {
protected:
    void TearDown() override {
        State.DvdControl2 = nullptr;
        State.DvdInfo2 = nullptr;
        State.LastDvdTitle = 1;
        ChoiceDialogTest::TearDown();
    }
    com::ComPtr<testing_support::FakeDvd> dvd =
        com::ComPtr<testing_support::FakeDvd>::Adopt(new testing_support::FakeDvd);
};

// A DVD goes on in the title the last session played (3 here), not in title 1; from the beginning, it starts
// title 1 at 0:00:00.
TEST_P(AutoResumePlayTest, TheChosenItemSeeksByPlayTypeAndIsTheResult) {
    auto graph = testing_support::PlayFakeGraph(100 * Second);
    State.PlayType = GetParam().playType;
    State.LastPos = 42;
    State.LastDvdTitle = 3;
    State.DvdDomain = DvdDomains::VideoManagerMenu;
    State.DvdTitleLength = 3600;
    if (GetParam().dvdControl) {
        State.DvdControl2 = dvd;
        State.DvdInfo2 = dvd;
    }
    int choice = 99;
    WhileShown<TAutoResumePlay_Form>(
        [](TAutoResumePlay_Form& Dialog) {
            ASSERT_EQ(Dialog.ResumeType_RG->Items().Count(), 2);
            if (GetParam().item < 0)
                Dialog.Close();
            else
                ClickItem(Dialog.ResumeType_RG, GetParam().item);
        },
        [&] { ShowAutoResumePlayDialog(owner.Handle(), 2, choice); });
    EXPECT_EQ(choice, GetParam().item);
    std::vector<std::int64_t> expectedSeeks;
    for (std::int64_t s : GetParam().mediaSeeks)
        expectedSeeks.push_back(s * Second);
    EXPECT_EQ(graph->seeks, expectedSeeks);
    std::vector<std::pair<win32::DWORD, win32::DWORD>> titles;
    std::vector<std::string> seeks;
    for (const std::string& call : dvd->calls) {
        if (call.rfind("PlayTitle ", 0) == 0)
            titles.emplace_back(std::stoul(call.substr(10)), dvd->playTitleFlags.at(titles.size()));
        else if (call.rfind("PlayAtTime ", 0) == 0)
            seeks.push_back(call.substr(11));
    }
    EXPECT_EQ(titles, GetParam().titles);
    EXPECT_EQ(seeks, GetParam().dvdSeekSeconds);
    EXPECT_EQ(State.DvdDomain, GetParam().titles.empty() ? DvdDomains::VideoManagerMenu : DvdDomains::Title);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, AutoResumePlayTest,
    ::testing::Values(ResumeCase{"FileFromLastPosition", 1, false, 0, {42}, {}, {}},
                      ResumeCase{"FileFromBeginning", 1, false, 1, {0}, {}, {}},
                      ResumeCase{"PictureInPictureFromLastPosition", 3, false, 0, {42}, {}, {}},
                      ResumeCase{"FileClosedByTheCloseBox", 1, false, -1, {}, {}, {}},
                      ResumeCase{"AudioIsNotSought", 4, false, 0, {}, {}, {}},
                      ResumeCase{
                          "DvdFromLastPosition", 2, true, 0, {}, {{3, dshow::DVD_CMD_FLAG_Block}}, {"42"}},
                      ResumeCase{"DvdFromBeginning", 2, true, 1, {}, {{1, dshow::DVD_CMD_FLAG_Flush}}, {"0"}},
                      ResumeCase{"DvdWithoutItsNavigator", 2, false, 0, {}, {}, {}}),
    testing_support::CaseName());

struct ResumeTextCase {
    const char* name;
    int language;
    std::vector<std::string> texts; // caption, group, item 0, item 1
};

class AutoResumePlayTexts : public ChoiceDialogTest, public ::testing::WithParamInterface<ResumeTextCase> {};

TEST_P(AutoResumePlayTexts, TextsFollowTheLanguageAndTheTwoItemsAreAlwaysThere) {
    TAutoResumePlay_Form dialog(&owner);
    EXPECT_EQ(dialog.ChosenIndex, -1);
    dialog.SetLanguage(GetParam().language);
    dialog.LoadTexts();
    dialog.ApplyTexts();
    ASSERT_EQ(dialog.ResumeType_RG->Items().Count(), 2);
    EXPECT_EQ((std::vector<std::string>{dialog.Caption(), dialog.ResumeType_RG->Caption(),
                                        dialog.ResumeType_RG->Items()[0], dialog.ResumeType_RG->Items()[1]}),
              GetParam().texts);
}

INSTANTIATE_TEST_SUITE_P(Languages, AutoResumePlayTexts,
                         ::testing::Values(ResumeTextCase{"English",
                                                          1,
                                                          {"Auto resume play",
                                                           "Please select auto resume play type",
                                                           "Play from last position", "Play from beginning"}},
                                           ResumeTextCase{"Chinese",
                                                          2,
                                                          {"自动重新播放", "选择自动继续播放类型",
                                                           "从最后位置继续播放", "从头播放"}},
                                           ResumeTextCase{"Other", 0, {"", "", "", ""}}),
                         testing_support::CaseName());

} // namespace
