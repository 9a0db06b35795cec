// The DVD commands of the main window (the folder command, the drive items, the DVD menu items and submenus)
// and the DVD tick, on the authored disc.

#include <chrono>
#include <filesystem>
#include <fstream>

#include <QRadioButton>
#include <QTest>

#include "core/DvdGraph.h"
#include "core/DvdNavigation.h"
#include "core/PlaybackState.h"
#include "platform/forms/Dialogs.h"
#include "platform/win32/Drives.h"
#include "platform/win32/Power.h"
#include "tests/support/CaseName.h"
#include "tests/support/DvdFixtures.h"
#include "tests/support/MediaPanel.h"
#include "tests/support/WhileModal.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/ListForm.h"
#include "ui/SelHardDiskDvdForm.h"

namespace ui_testing {
namespace {

using namespace std::chrono_literals;
using testing_support::WaitUntil;
namespace fs = std::filesystem;

class DvdCommands : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        forms::SetSelectDirectoryHandler([this](const std::string& Caption, std::string& Folder) {
            captions.push_back(Caption);
            if (chosenFolder.empty())
                return false;
            Folder = chosenFolder;
            return true;
        });
        win32::SetDriveService(&drives);
        WriteIni(DefaultsWith("WhileOpenMedia", "2"));
        Run();
        // The questions the commands ask are owned by the program's main window.
        forms::Application().SetMainForm(form.get());
    }
    void TearDown() override {
        forms::Application().SetMainForm(nullptr);
        MainFormTest::TearDown();
        forms::SetSelectDirectoryHandler(nullptr);
        win32::SetDriveService(nullptr);
        win32::SetPowerService(nullptr);
    }
    // The disc's parent folder, as a user picks it: the search finds its VIDEO_TS.
    std::string DiscParent(const std::string& Disc = testing_support::DvdDisc()) {
        const std::string parent = tree.Root() + "/discs";
        fs::create_directories(parent);
        if (!fs::exists(parent + "/disc"))
            testing_support::CopyOfDvdDisc(parent, Disc);
        return parent;
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes)
            texts.push_back(box.Text + " / " + box.Caption);
        return texts;
    }
    // The panel's point of a point of the disc's picture.
    static win32::POINT InPanel(int X, int Y) {
        const TVideoRect& r = State.VideoRect;
        return {r.Left + X * r.Width / testing_support::DvdPictureWidth,
                r.Top + Y * r.Height / testing_support::DvdPictureHeight};
    }
    bool InTitle(int Title) const {
        dshow::DVD_PLAYBACK_LOCATION2 where;
        return State.DvdInfo2 && GetDvdDomain() == DvdDomains::Title &&
               State.DvdInfo2->GetCurrentLocation(&where) == com::S_OK &&
               static_cast<int>(where.TitleNum) == Title;
    }

    std::vector<std::string> captions;
    std::string chosenFolder;
    win32::FakeDriveService drives;
    win32::FakePowerService power;
};

// "打开dvd目录..." with the disc's parent folder: the one disc folder found opens, its menu shows, and the
// window shows a DVD whose menu plays.
TEST_F(DvdCommands, TheFolderCommandOpensTheOneDiscFoundUnderTheFolder) {
    chosenFolder = DiscParent();
    form->pOpendvddirectory->Click();
    EXPECT_EQ(captions, (std::vector<std::string>{"请选择一个路径:"}));
    EXPECT_TRUE(boxes.empty()) << BoxTexts().front();
    const std::string folder = chosenFolder + "/disc/VIDEO_TS/";
    EXPECT_EQ(State.DvdPath, folder);
    EXPECT_EQ(State.PlayType, PlayTypes::Dvd);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_EQ(form->CurMedia_L->Caption(), "Playing Dvd   " + folder);
    EXPECT_EQ(form->Status_L->Caption(), "播放菜单");
    EXPECT_TRUE(form->pMainmenu->Enabled());
    EXPECT_FALSE(form->pNextchapter->Enabled());
    EXPECT_EQ(form->Ctrl_T->Interval(), 30U);
    // The first tick sees the menu; the timer goes on, for a menu may go on by itself.
    EXPECT_TRUE(WaitUntil([&] { return State.DvdDomain == DvdDomains::VideoManagerMenu; }, 5s));
    testing_support::Pump(100ms);
    EXPECT_TRUE(form->Ctrl_T->Enabled());
    EXPECT_FALSE(form->Next_XI->Enabled());
}

struct FolderCase {
    const char* name;
    int discs;    // disc folders under the chosen folder
    bool damaged; // the one disc's files are not a disc's
    const char* box;
};

class FolderCommandFailures : public DvdCommands, public ::testing::WithParamInterface<FolderCase> {};

// No disc folder under the folder tells so and stops nothing; a disc that does not play tells so after the
// medium was stopped; two disc folders ask which, and the question closed without a choice changes nothing.
TEST_P(FolderCommandFailures, TellWhatWentWrongAndOpenNothing) {
    const FolderCase& c = GetParam();
    chosenFolder = tree.Root() + "/chosen";
    fs::create_directories(chosenFolder + "/empty");
    for (int i = 0; i < c.discs; ++i) {
        const std::string at = chosenFolder + "/" + std::to_string(i);
        fs::create_directories(at);
        const std::string disc = testing_support::CopyOfDvdDisc(at);
        if (c.damaged) // the backup too: the reader falls back on it
            for (const char* name : {"/VIDEO_TS/VIDEO_TS.IFO", "/VIDEO_TS/VIDEO_TS.BUP"})
                std::ofstream(disc + name, std::ios::trunc) << "not a disc";
    }
    State.DvdPath = "before";
    testing_support::WhileModal question([](QWidget* Dialog) { Dialog->close(); });
    form->pOpendvddirectory->Click();
    EXPECT_EQ(question.Ran(), c.discs > 1);
    if (c.box != nullptr) {
        EXPECT_EQ(BoxTexts(), (std::vector<std::string>{std::string(c.box) + " / Information"}));
    } else {
        EXPECT_TRUE(boxes.empty());
    }
    EXPECT_NE(State.PlayType, PlayTypes::Dvd);
    EXPECT_FALSE(State.GraphBuilder);
    if (c.discs != 1) {
        EXPECT_EQ(State.DvdPath, "before");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FolderCommandFailures,
                         ::testing::Values(FolderCase{"NoDiscFolder", 0, false, "Load Dvd directory error!"},
                                           FolderCase{"DiscThatDoesNotPlay", 1, true, "Load Dvd file error!"},
                                           FolderCase{"TwoDiscsNoChoice", 2, false, nullptr}),
                         testing_support::CaseName());

// A disc whose files lie in the folder a drive is mounted on belongs to the drive: the folder command finds
// it and keeps its path, but opens nothing and tells nothing; the same files in another folder open.
TEST_F(DvdCommands, TheFolderCommandLeavesADrivesMountFolderToTheDrive) {
    for (const bool mounted : {true, false}) {
        SCOPED_TRACE(mounted ? "the drive's folder" : "a folder of its own");
        const std::string mount = tree.Root() + (mounted ? "/media/MOVIE" : "/copy/MOVIE");
        fs::create_directories(mount);
        fs::copy(testing_support::DvdDisc() + "/VIDEO_TS", mount, fs::copy_options::recursive);
        drives.Drives = {{"/dev/sr0", true, "MOVIE", testing_support::DvdDisc(), tree.Root() + "/media/MOVIE"}};
        chosenFolder = mount;
        form->pOpendvddirectory->Click();
        EXPECT_TRUE(boxes.empty()) << BoxTexts().front();
        EXPECT_EQ(State.DvdPath, mount + "/");
        EXPECT_EQ(State.PlayType == PlayTypes::Dvd, !mounted);
        EXPECT_EQ(static_cast<bool>(State.GraphBuilder), !mounted);
    }
}

// Two disc folders: the question lists both by full path in the search's order, and the one chosen opens.
TEST_F(DvdCommands, OfTwoDiscFoldersTheChosenOneOpens) {
    chosenFolder = tree.Root() + "/chosen";
    for (const char* name : {"a", "b"}) {
        fs::create_directories(chosenFolder + "/" + name);
        testing_support::CopyOfDvdDisc(chosenFolder + "/" + name);
    }
    std::vector<std::string> listed;
    testing_support::WhileModal question([&](QWidget* Shown) {
        auto* dialog = dynamic_cast<TSelHardDiskDvd_Form*>(Shown);
        ASSERT_NE(dialog, nullptr);
        for (int i = 0; i < dialog->HardDiskDvd_RG->Items().Count(); ++i)
            listed.push_back(dialog->HardDiskDvd_RG->Items()[i]);
        QRadioButton* second = dialog->HardDiskDvd_RG->Button(1);
        QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(8, second->height() / 2));
    });
    form->pOpendvddirectory->Click();
    EXPECT_TRUE(question.Ran());
    const std::vector<std::string> discs{chosenFolder + "/a/disc/VIDEO_TS/",
                                         chosenFolder + "/b/disc/VIDEO_TS/"};
    EXPECT_EQ(listed, discs);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(State.DvdPath, discs[1]);
    EXPECT_EQ(State.PlayType, PlayTypes::Dvd);
    EXPECT_EQ(form->CurMedia_L->Caption(), "Playing Dvd   " + discs[1]);
}

TEST_F(DvdCommands, ACancelledFolderChoiceDoesNothing) {
    form->pOpendvddirectory->Click();
    EXPECT_EQ(captions.size(), 1U);
    EXPECT_TRUE(boxes.empty());
    EXPECT_NE(State.PlayType, PlayTypes::Dvd);
}

// A drive item opens the disc in the drive; a drive without a disc stops what plays and says so.
TEST_F(DvdCommands, TheDriveItemsOpenTheDiscOrTellTheDriveIsNotReady) {
    drives.Drives = {{"/dev/sr0", true, "MOVIE", testing_support::DvdDisc()}, {"/dev/sr1", false, "", ""}};
    forms::TMenuItem withDisc, empty;
    withDisc.SetCaption("/dev/sr0 MOVIE");
    empty.SetCaption("/dev/sr1");
    form->OpenDvdDriveMenuClick(&withDisc);
    EXPECT_EQ(State.DvdPath, "/dev/sr0");
    EXPECT_EQ(State.PlayType, PlayTypes::Dvd);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_TRUE(boxes.empty());
    form->OpenDvdDriveMenuClick(&empty);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Dvdrom no ready! / Information"}));
    EXPECT_EQ(State.DvdPath, "/dev/sr1");
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_FALSE(State.GraphBuilder);
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
}

// A disc taken out of its drive: the next tick stops the DVD and tells so once; the timer is off after it.
TEST_F(DvdCommands, TheTickStopsADiscTakenOutOfItsDrive) {
    drives.Drives = {{"/dev/sr0", true, "MOVIE", testing_support::DvdDisc()}};
    forms::TMenuItem item;
    item.SetCaption("/dev/sr0 MOVIE");
    form->OpenDvdDriveMenuClick(&item);
    ASSERT_EQ(State.PlayType, PlayTypes::Dvd);
    drives.Drives[0].HasDisc = false;
    form->Ctrl_T->SetEnabled(true);
    EXPECT_TRUE(WaitUntil([&] { return !boxes.empty(); }, 5s));
    testing_support::Pump(200ms);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Dvdrom no ready! / Information"}));
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    EXPECT_FALSE(State.IsPlaying);
}

// While a disc folder plays, the tick finds out once that the folder is no drive: reading the machine's list
// of drives at every tick (every 30 ms) cost more than the rest of the tick.
TEST_F(DvdCommands, TheTickReadsTheListOfDrivesOnceForADiscFolder) {
    struct CountingDrives : win32::FakeDriveService {
        int lists = 0;
        std::vector<std::string> OpticalDrives() override {
            ++lists;
            return FakeDriveService::OpticalDrives();
        }
    } counting;
    win32::SetDriveService(&counting);
    chosenFolder = DiscParent();
    form->pOpendvddirectory->Click();
    ASSERT_EQ(State.PlayType, PlayTypes::Dvd);
    form->PlayDvdChapterFromList("1. Chapter1(1-1)");
    ASSERT_TRUE(WaitUntil([&] { return form->Time_L->Caption().rfind("0:00:01", 0) == 0; }, 10s))
        << form->Time_L->Caption();
    const int before = counting.lists;
    EXPECT_TRUE(WaitUntil([&] { return form->Time_L->Caption().rfind("0:00:02", 0) == 0; }, 10s));
    EXPECT_EQ(counting.lists, before) << "a second of ticks read the list of drives again";
    EXPECT_TRUE(State.IsPlaying);
    win32::SetDriveService(&drives);
}

// The mouse over the menu lights up the second button; a click plays title 2, the tick then shows it playing
// with its time, and the picture in the panel is title 2's.
TEST_F(DvdCommands, AClickOnAMenuButtonPlaysItsTitle) {
    chosenFolder = DiscParent();
    form->pOpendvddirectory->Click();
    ASSERT_EQ(State.PlayType, PlayTypes::Dvd);
    ASSERT_TRUE(WaitUntil([&] { return State.DvdDomain == DvdDomains::VideoManagerMenu; }, 5s));
    const testing_support::DvdRect second = testing_support::ManagerMenuButtons[1];
    const win32::POINT over = InPanel(second.CentreX(), second.CentreY());
    QTest::mouseMove(form->Video_P, QPoint(over.x, over.y));
    ASSERT_TRUE(WaitUntil(
        [] {
            dshow::ULONG available = 0, current = 0;
            State.DvdInfo2->GetCurrentButton(&available, &current);
            return current == 2;
        },
        5s));
    QTest::mouseClick(form->Video_P, Qt::LeftButton, Qt::NoModifier, QPoint(over.x, over.y));
    EXPECT_TRUE(WaitUntil([&] { return InTitle(2); }, 10s));
    EXPECT_TRUE(form->Ctrl_T->Enabled());
    EXPECT_TRUE(WaitUntil([&] { return form->Time_L->Caption() == "0:00:01 / 0:00:06"; }, 10s))
        << form->Time_L->Caption();
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
    EXPECT_FALSE(form->Previous_XI->Enabled()) << "one chapter";
    EXPECT_TRUE(form->Forward_XI->Enabled());
    const win32::POINT grey = InPanel(40, 100);
    EXPECT_TRUE(testing_support::NearColour(form->Video_P->grab().toImage().pixel(grey.x, grey.y),
                                            testing_support::Rgb{180, 180, 180}, 35));
}

// The end of title 1 is not the end of the DVD: the disc goes on to title 2 by its own commands, and the
// tick shows that title's time. Title 2 ends the disc: the DVD stops and the after-play action runs, as at
// every end of a DVD.
TEST_F(DvdCommands, ATitlesEndGoesOnWithTheDiscAndTheDiscsEndIsTheEnd) {
    win32::SetPowerService(&power);
    State.AfterPlay = AfterPlays::Suspend;
    chosenFolder = DiscParent();
    form->pOpendvddirectory->Click();
    ASSERT_EQ(State.PlayType, PlayTypes::Dvd);
    form->PlayDvdChapterFromList("3. Chapter3(1-3)");
    EXPECT_TRUE(WaitUntil([&] { return form->Time_L->Caption().rfind("0:00:09", 0) == 0; }, 10s));
    EXPECT_EQ(State.DvdTitleLength, 12);
    EXPECT_EQ(State.DvdChapterIndex, 3);
    EXPECT_TRUE(WaitUntil([&] { return InTitle(2) && form->Time_L->Caption() == "0:00:01 / 0:00:06"; }, 15s))
        << form->Time_L->Caption();
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_TRUE(power.Calls.empty());
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
    EXPECT_TRUE(WaitUntil([&] { return !State.IsPlaying; }, 15s));
    EXPECT_EQ(power.Calls, (std::vector<std::string>{"Suspend"}));
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    EXPECT_FALSE(State.GraphBuilder);
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
}

// A menu that goes on by itself (its still picture stands for a time, then the disc plays title 1): the tick
// follows it, and the title shows as playing, with its time.
TEST_F(DvdCommands, AMenuThatGoesOnByItselfIsFollowedIntoItsTitle) {
    chosenFolder = DiscParent(testing_support::DvdDiscThatPlaysOn());
    form->pOpendvddirectory->Click();
    ASSERT_EQ(State.PlayType, PlayTypes::Dvd);
    EXPECT_TRUE(WaitUntil([&] { return State.DvdDomain == DvdDomains::VideoManagerMenu; }, 5s));
    EXPECT_EQ(form->Status_L->Caption(), "播放菜单");
    EXPECT_EQ(form->Time_L->Caption(), "");
    EXPECT_TRUE(WaitUntil([&] { return InTitle(1) && form->Time_L->Caption() == "0:00:01 / 0:00:12"; },
                          std::chrono::seconds(testing_support::DvdMenuPauseSeconds + 10)))
        << form->Status_L->Caption() << " " << form->Time_L->Caption();
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
    EXPECT_TRUE(form->Next_XI->Enabled()) << "chapter 1 of 3";
    EXPECT_TRUE(form->pPlayPause->Enabled());
}

// A disc's menu chosen while the title stands paused plays the disc, so that its buttons light up under the
// pointer; a click on a menu button of a disc paused in its menu plays the button's target.
TEST_F(DvdCommands, AMenuChosenWhilePausedPlaysTheDisc) {
    chosenFolder = DiscParent();
    form->pOpendvddirectory->Click();
    ASSERT_EQ(State.PlayType, PlayTypes::Dvd);
    form->PlayDvdChapterFromList("1. Chapter1(1-1)");
    ASSERT_TRUE(WaitUntil([&] { return InTitle(1) && State.DvdDomain == DvdDomains::Title; }, 10s));
    form->PlayPauseCommand();
    ASSERT_TRUE(State.IsPaused);
    form->pChaptermenu->Click();
    EXPECT_FALSE(State.IsPaused);
    EXPECT_TRUE(form->Ctrl_T->Enabled());
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Pause_Normal_Btn.bmp"));
    EXPECT_TRUE(WaitUntil([&] { return State.DvdDomain == DvdDomains::TitleSetMenu; }, 10s));
    EXPECT_EQ(form->Status_L->Caption(), "播放菜单");

    form->PauseCommand();
    ASSERT_TRUE(State.IsPaused);
    const testing_support::DvdRect resume = testing_support::TitleSetMenuButtons[1];
    const win32::POINT over = InPanel(resume.CentreX(), resume.CentreY());
    QTest::mouseMove(form->Video_P, QPoint(over.x, over.y));
    QTest::mouseClick(form->Video_P, Qt::LeftButton, Qt::NoModifier, QPoint(over.x, over.y));
    EXPECT_FALSE(State.IsPaused);
    EXPECT_TRUE(WaitUntil([&] { return InTitle(1) && form->Status_L->Caption() == "播放中"; }, 10s));
}

// The pop-up of the main menu while a DVD plays builds the subtitle, audio and angle submenus once (checks
// from the navigator), and the DVD menu items show the disc's menus.
TEST_F(DvdCommands, ThePopupBuildsTheStreamMenusAndTheMenuItemsShowTheDiscsMenus) {
    chosenFolder = DiscParent();
    form->pOpendvddirectory->Click();
    ASSERT_EQ(State.PlayType, PlayTypes::Dvd);
    form->PlayDvdChapterFromList("1. Chapter1(1-1)");
    ASSERT_TRUE(WaitUntil([&] { return InTitle(1); }, 10s));
    for (int i = 0; i < 2; ++i)
        form->Main_Pop->OnPopup(form->Main_Pop);
    EXPECT_EQ(form->pSubpicture->Count(), 4);
    EXPECT_EQ(form->pDublanguage->Count(), 2);
    EXPECT_EQ(form->pAngle->Count(), 1);
    EXPECT_TRUE(form->pAngle->Items(0)->Checked());
    // ShowDvdOpened turned the subtitles on for the title to come.
    EXPECT_TRUE(WaitUntil(
        [&] {
            form->BuildDvdPopupMenus();
            return form->pSubpicture->Items(2)->Checked() && !form->pSubpicture->Items(0)->Checked();
        },
        5s));
    form->pDublanguage->Items(1)->Click();
    dshow::ULONG available = 0, current = 0;
    State.DvdInfo2->GetCurrentAudio(&available, &current);
    EXPECT_EQ(current, 1U);
    form->pTitlemenu->Click();
    EXPECT_TRUE(WaitUntil([] { return GetDvdDomain() == DvdDomains::TitleSetMenu; }, 10s));
}

// A chapter row of the play list while no DVD graph is open: the disc at DvdPath opens and that chapter
// plays; a disc that no longer opens is told.
TEST_F(DvdCommands, AChapterRowOpensTheDiscAndPlaysTheChapter) {
    State.DvdPath = testing_support::DvdDisc();
    form->OpenDvdAndPlayChapter("2. Chapter2(1-2)");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(WaitUntil(
        [&] {
            int chapter = 0;
            unsigned count = 0;
            GetChapterCount(chapter, count);
            return InTitle(1) && chapter == 2 && count == 3;
        },
        10s));
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
    form->StopByType();
    State.DvdPath = tree.Root() + "/gone";
    form->OpenDvdAndPlayChapter("2. Chapter2(1-2)");
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Load Dvd file error! / Information"}));
    EXPECT_FALSE(State.IsPlaying);
}

// The play-list window lists the disc's chapters under its "DVD" row; a double click on a chapter's row
// plays that chapter of the open disc.
TEST_F(DvdCommands, TheDoubleClickedChapterRowOfThePlayListWindowPlaysIt) {
    chosenFolder = DiscParent();
    form->pOpendvddirectory->Click();
    form->PL_LClick(form->PL_L);
    ASSERT_NE(PlayListForm, nullptr);
    ASSERT_TRUE(WaitUntil([] { return PlayListForm->RowTotal() == 5; }, 5s));
    std::vector<std::string> rows;
    for (int i = 0; i < PlayListForm->RowTotal(); ++i)
        rows.push_back(TList_Form::RowLabel(PlayListForm->RowAt(i))->Caption());
    EXPECT_EQ(rows, (std::vector<std::string>{" DVD", "1. Chapter1(1-1)", "2. Chapter2(1-2)",
                                              "3. Chapter3(1-3)", "4. Chapter1(2-1)"}));
    QTest::mouseDClick(TList_Form::RowLabel(PlayListForm->RowAt(3)), Qt::LeftButton);
    EXPECT_TRUE(WaitUntil(
        [&] {
            int chapter = 0;
            unsigned count = 0;
            GetChapterCount(chapter, count);
            return InTitle(1) && chapter == 3;
        },
        10s));
    EXPECT_TRUE(boxes.empty());
}

// The last session's title and time: the reopen goes on in that title at that time, not in title 1.
TEST_F(DvdCommands, TheReopenResumesTheTitleThatWasPlaying) {
    chosenFolder = DiscParent();
    form->pOpendvddirectory->Click();
    form->PlayDvdChapterFromList("1. Chapter1(2-1)");
    ASSERT_TRUE(WaitUntil([&] { return InTitle(2) && State.DvdDomain == DvdDomains::Title; }, 10s));
    form->PositionSeconds = 3;
    form->SaveLastState();
    form->StopByType();
    State.PlayType = PlayTypes::Dvd;
    State.AutoResumePlay = AutoResumePlays::AtStoredPosition;
    State.LastPos = 3;
    form->ReopenDvd();
    EXPECT_TRUE(WaitUntil([&] { return InTitle(2); }, 10s));
    std::int64_t h = 0, m = 0, s = 0;
    EXPECT_TRUE(WaitUntil([&] { return GetDvdPositionSeconds(h, m, s) >= 3; }, 10s));
    EXPECT_LT(GetDvdPositionSeconds(h, m, s), 5);
}

} // namespace
} // namespace ui_testing
