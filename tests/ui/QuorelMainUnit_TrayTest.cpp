// The main window outside its frame: the tray icon and its menu, the stay-on-top button, the help and
// property items, the resume question of a reopened medium, and a close asked for under a modal dialog.

#include <filesystem>

#include <QApplication>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/DialogLaunchers.h"
#include "core/PlaybackState.h"
#include "platform/win32/HotKey.h"
#include "platform/win32/TrayIcon.h"
#include "platform/win32/Window.h"
#include "tests/support/CaseName.h"
#include "tests/support/WhileModal.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/AboutForm.h"
#include "ui/AutoResumePlayForm.h"

namespace {

using namespace ui_testing;

constexpr std::int64_t Second = 10'000'000;

class OutsideTheFrameTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        win32::SetHotKeyService(&hotKeys);
        win32::SetTrayIconService(&tray);
        skinart::DrawLogoIcon(32).save(QString::fromStdString(IconFile()), "ICO");
    }
    void TearDown() override {
        MainFormTest::TearDown();
        Application().SetHandle(nullptr);
        win32::SetHotKeyService(nullptr);
        win32::SetTrayIconService(nullptr);
    }
    std::string IconFile() const { return State.ImagePath + "/logo_s.ico"; }
    void Minimize() {
        form->Min_xi->Click();
        QCoreApplication::processEvents();
    }
    std::int64_t GraphPosition() const {
        std::int64_t current = -1;
        if (State.MediaSeeking)
            State.MediaSeeking->GetCurrentPosition(&current);
        return current;
    }

    win32::FakeHotKeyService hotKeys;
    win32::FakeTrayIconService tray;
};

// --- The tray. ---

struct MinimizeCase {
    const char* name;
    const char* setting; // [PlayControl] MinimizeToTray
    bool notificationArea;
    bool iconFile;
    bool toTray;
};

class MinimizeCases : public OutsideTheFrameTest, public ::testing::WithParamInterface<MinimizeCase> {};

// To the tray only with the setting, a notification area and an icon: otherwise the window stays minimized
// where the user can reach it.
TEST_P(MinimizeCases, MinimizeGoesToTheTrayOnlyWhenItCanComeBack) {
    WriteIni(DefaultsWith("MinimizeToTray", GetParam().setting));
    tray.HasArea = GetParam().notificationArea;
    if (!GetParam().iconFile)
        std::filesystem::remove(IconFile());
    StartShown();
    Minimize();
    EXPECT_EQ(form->isVisible(), !GetParam().toTray);
    EXPECT_TRUE(form->isMinimized());
    EXPECT_EQ(tray.Icons.size(), GetParam().toTray ? 1u : 0u);
    if (GetParam().toTray) {
        const win32::NOTIFYICONDATA& icon = tray.Icons.at(1);
        EXPECT_EQ(icon.szTip, "TarvexDVD");
        EXPECT_EQ(icon.hWnd, form->Handle());
        EXPECT_EQ(icon.uCallbackMessage, win32::WM_USER + 1);
        EXPECT_EQ(icon.Menu, form->TrayPop->Menu());
        EXPECT_FALSE(icon.hIcon.isNull());
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, MinimizeCases,
                         ::testing::Values(MinimizeCase{"ToTheTray", "1", true, true, true},
                                           MinimizeCase{"SettingOff", "0", true, true, false},
                                           MinimizeCase{"NoNotificationArea", "1", false, true, false},
                                           MinimizeCase{"NoIcon", "1", true, false, false}),
                         testing_support::CaseName());

TEST_F(OutsideTheFrameTest, ALeftClickOnTheIconBringsTheWindowBackAndTheIconStays) {
    StartShown();
    Minimize();
    ASSERT_FALSE(form->isVisible());
    // The icon was loaded once: it is not needed again.
    std::filesystem::remove(IconFile());
    ASSERT_TRUE(tray.Click(1, win32::WM_LBUTTONDOWN));
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    EXPECT_EQ(tray.Icons.size(), 1u);
    Minimize();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(tray.Icons.size(), 1u);
    // The tray menu's first item does what the click does.
    form->tShowmainface->Click();
    EXPECT_TRUE(form->isVisible());
    CloseForm();
    EXPECT_TRUE(tray.Icons.empty());
    EXPECT_EQ(tray.Calls, (std::vector<std::string>{"Add 1 TarvexDVD", "Add 1 TarvexDVD", "Delete 1"}));
}

TEST_F(OutsideTheFrameTest, TrayMenuHoldsItsFourItemsWithTheirKeysAndRunsTheirCommands) {
    Run();
    std::vector<std::string> texts;
    for (QAction* action : form->TrayPop->Menu()->actions())
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    EXPECT_EQ(texts, (std::vector<std::string>{"Show main face", "play/pause\tSpace", "Option...\tCtrl+Alt+O",
                                               "-", "Exit"}));
    chosenFiles = {LongClip()};
    form->Open_xi->Click();
    ASSERT_TRUE(State.IsPlaying);
    form->tPlayPause->Click();
    EXPECT_TRUE(State.IsPaused);
    form->tPlayPause->Click();
    EXPECT_FALSE(State.IsPaused);
    // A notification area that only reports a right click gets the menu at the pointer.
    ASSERT_TRUE(form->ShowTrayIcon());
    ASSERT_TRUE(tray.Click(1, win32::WM_RBUTTONDOWN));
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->TrayPop->Menu()->isVisible());
    form->TrayPop->Menu()->close();
    form->tExit->Click();
    EXPECT_TRUE(form->ClosingDown);
}

// --- Stay on top. ---

struct OnTopCase {
    const char* name;
    const char* stored;
    int next;
    std::vector<bool> checked; // pNonever, pAlways, pOnlyplaying
    const char* picture;       // nullptr: unchanged
    const char* hint;
    bool topMost; // mode 2 leaves the top-most state as it was
};

void PrintTo(const OnTopCase& Case, std::ostream* Out) {
    *Out << Case.name;
}

class OnTopCycle : public OutsideTheFrameTest, public ::testing::WithParamInterface<OnTopCase> {};

TEST_P(OnTopCycle, TheButtonGoesToTheNextModeWithItsPictureHintAndItem) {
    WriteIni(DefaultsWith("StayOnTop", GetParam().stored));
    StartShown();
    const QImage before = form->Ontop_xi->Picture().Image();
    const std::string hintBefore = form->Ontop_xi->Hint();
    form->Ontop_xi->Click();
    EXPECT_EQ(State.StayOnTop, GetParam().next);
    EXPECT_EQ(ReadIniInteger("Play", "StayOnTop"), GetParam().next);
    EXPECT_EQ((std::vector<bool>{form->pNonever->Checked(), form->pAlways->Checked(),
                                 form->pOnlyplaying->Checked()}),
              GetParam().checked);
    if (GetParam().picture != nullptr) {
        EXPECT_TRUE(Shows(form->Ontop_xi, GetParam().picture));
        EXPECT_EQ(form->Ontop_xi->Hint(), GetParam().hint);
    } else {
        EXPECT_EQ(form->Ontop_xi->Picture().Image(), before);
        EXPECT_EQ(form->Ontop_xi->Hint(), hintBefore);
    }
    EXPECT_EQ((win32::GetWindowLong(form->Handle(), win32::GWL_EXSTYLE) & win32::WS_EX_TOPMOST) != 0,
              GetParam().topMost);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, OnTopCycle,
    ::testing::Values(
        OnTopCase{"NeverToAlways", "0", 1, {false, true, false}, "Toped_Normal_btn.bmp", "始终在最前", true},
        OnTopCase{"AlwaysToWhilePlaying",
                  "1",
                  2,
                  {false, false, true},
                  "TopatPlay_Normal_btn.bmp",
                  "播放时在最前",
                  true},
        OnTopCase{
            "WhilePlayingToNever", "2", 0, {true, false, false}, "Ontop_Normal_btn.bmp", "从不在最前", false},
        OnTopCase{"AnyOtherValueStays", "7", 7, {false, false, false}, nullptr, nullptr, false}),
    testing_support::CaseName());

// --- The help and property items. ---

struct PropertySeen {
    win32::HWND owner;
    int playType;
    std::string file;
};
std::vector<PropertySeen> propertiesSeen;
void SeeProperty(win32::HWND Owner, std::int32_t PlayType, const char* FileName, const char*, std::int32_t,
                 std::int32_t, double, std::int32_t) {
    propertiesSeen.push_back({Owner, PlayType, FileName});
}

TEST_F(OutsideTheFrameTest, PropertyItemShowsTheOpenMediumOnlyAndAboutItemTheAboutBox) {
    propertiesSeen.clear();
    MediaPropertyForm = &SeeProperty;
    WriteIni(DefaultsWith("ReloadLast", "0", DefaultsWith("LastMediaFile", LongClip())));
    Run();
    Application().SetHandle(form->Handle());
    // The play type the last session left names no open medium.
    form->pProperty->Click();
    EXPECT_TRUE(propertiesSeen.empty());
    chosenFiles = {LongClip()};
    form->Open_xi->Click();
    form->pProperty->Click();
    ASSERT_EQ(propertiesSeen.size(), 1u);
    EXPECT_EQ(propertiesSeen[0].owner, form->Handle());
    EXPECT_EQ(propertiesSeen[0].playType, 1);
    EXPECT_EQ(propertiesSeen[0].file, LongClip());
    MediaPropertyForm = &CreateMediaPropertyForm;
    testing_support::WhileModal about([&](QWidget* Dialog) {
        EXPECT_NE(dynamic_cast<TAbout_Form*>(Dialog), nullptr);
        EXPECT_EQ(Dialog->parentWidget(), form.get());
        Dialog->close();
    });
    form->pAbout->Click();
    EXPECT_TRUE(about.Ran());
}

// --- The resume question. ---

struct AskCase {
    const char* name;
    int item; // -1: closed by its close box
    bool fromStoredPoint;
};

class AskedResume : public OutsideTheFrameTest, public ::testing::WithParamInterface<AskCase> {};

TEST_P(AskedResume, AReopenedMediumAsksAndResumesAsAnswered) {
    WriteIni(DefaultsWith("LastMediaFile", Copy(LongClip(), "long.mp4"),
                          DefaultsWith("LastPos", "5", DefaultsWith("AutoResumePlay", "2"))));
    Start();
    Application().SetHandle(form->Handle());
    testing_support::WhileModal question([&](QWidget* Dialog) {
        auto* ask = dynamic_cast<TAutoResumePlay_Form*>(Dialog);
        ASSERT_NE(ask, nullptr);
        EXPECT_EQ(ask->Caption(), "自动重新播放");
        if (GetParam().item < 0)
            ask->Close();
        else
            ask->ResumeType_RG->SetItemIndex(GetParam().item);
    });
    form->Show();
    form->FormActivate(form.get());
    EXPECT_TRUE(question.Ran());
    ASSERT_TRUE(State.IsPlaying);
    EXPECT_FALSE(State.IsPaused);
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
    if (GetParam().fromStoredPoint) {
        EXPECT_GE(GraphPosition(), 5 * Second);
    } else {
        EXPECT_LT(GraphPosition(), 5 * Second);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, AskedResume,
                         ::testing::Values(AskCase{"FromLastPosition", 0, true},
                                           AskCase{"FromBeginning", 1, false},
                                           AskCase{"ClosedWithoutAnAnswer", -1, false}),
                         testing_support::CaseName());

// --- Closing under a modal dialog. ---

// A close asked for while a dialog is open (the after-play exit of a medium that ended under it) waits: the
// dialog's caller finds everything in place, and the window closes once the dialog has returned.
TEST_F(OutsideTheFrameTest, ACloseAskedForUnderAModalDialogWaitsForItToReturn) {
    Run();
    bool closingWhileOpen = true;
    testing_support::WhileModal about([&](QWidget* Dialog) {
        win32::PostMessage(State.MainWindowHandle, win32::WM_CLOSE, 0, 0);
        QTimer::singleShot(300, Dialog, [&, Dialog] {
            closingWhileOpen = form->ClosingDown;
            Dialog->close();
        });
    });
    ShowAboutDialog(form->Handle(), 2);
    ASSERT_TRUE(about.Ran());
    EXPECT_FALSE(closingWhileOpen);
    EXPECT_NE(State.PlayListFiles, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->ClosingDown; }, 3000));
    EXPECT_EQ(State.PlayListFiles, nullptr);
}

} // namespace
