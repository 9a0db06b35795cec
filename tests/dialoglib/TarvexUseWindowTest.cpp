#include "dialoglib/TarvexUseWindow.h"

#include <cstdlib>
#include <filesystem>
#include <type_traits>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/win32/Files.h"
#include "platform/win32/Window.h"
#include "tests/support/ListClicks.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"
#include "tests/support/WhileModal.h"

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WhileModal;

namespace {

// The argument widths the program relies on: 64-bit lengths and seconds, a 64-bit frame rate, a one-byte
// flag.
static_assert(std::is_same_v<decltype(&CreateShutDownDelayForm), void (*)(win32::HWND, std::int32_t)>);
static_assert(std::is_same_v<decltype(&CreateManageHistoryForm),
                             void (*)(win32::HWND, const forms::TStringList*, std::int32_t*, std::int32_t)>);
static_assert(std::is_same_v<decltype(&CreateMediaPropertyForm),
                             void (*)(win32::HWND, std::int32_t, const char*, const char*, std::int32_t,
                                      std::int32_t, double, std::int32_t)>);
static_assert(
    std::is_same_v<decltype(&CreateGotoMediaForm), void (*)(win32::HWND, std::int32_t, std::int64_t,
                                                            std::int32_t, std::int64_t*, std::uint8_t*)>);
static_assert(sizeof(std::uint8_t) == 1 && sizeof(double) == 8 && sizeof(win32::HWND) == sizeof(void*));

// The exports called as the program calls them, with its main window as the owner. The library has its own
// copy of the platform layer, so its message boxes and power requests are faked through the environment and
// read back from the fake log.
class ExportsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        ::setenv("QUOREL_MESSAGE_BOXES", "fake", 1);
        ::setenv("QUOREL_FAKE_LOG", dir.File("fake.log").c_str(), 1);
        main.resize(400, 300);
        main.show();
    }
    void TearDown() override {
        ::unsetenv("QUOREL_MESSAGE_BOXES");
        ::unsetenv("QUOREL_FAKE_LOG");
    }
    win32::HWND MainWindow() const { return win32::HandleOf(&main); }
    std::string FakeLog() const { return ReadFile(dir.File("fake.log")); }

    static QPushButton* Button(QWidget* Dialog, const char* Name) {
        QWidget* control = Dialog->findChild<QWidget*>(Name);
        return control != nullptr ? control->findChild<QPushButton*>() : nullptr;
    }
    static QLineEdit* Edit(QWidget* Dialog, const char* Name) {
        QWidget* control = Dialog->findChild<QWidget*>(Name);
        return control != nullptr ? control->findChild<QLineEdit*>() : nullptr;
    }
    static void Press(QWidget* Dialog, const char* Name) {
        QPushButton* button = Button(Dialog, Name);
        ASSERT_NE(button, nullptr) << Name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static void Type(QWidget* Dialog, const char* Name, const char* Text) {
        QLineEdit* edit = Edit(Dialog, Name);
        ASSERT_NE(edit, nullptr) << Name;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, Text);
    }

    TempDir dir;
    QWidget main;
};

TEST_F(ExportsTest, ZeroHandleDoesNothingAndLeavesTheResultsAlone) {
    forms::TStringList history;
    history.Add("/media/a.avi");
    std::int32_t resultCode = 77;
    std::int64_t seconds = -5;
    std::uint8_t cancelled = 9;
    int dialogs = 0;
    QTimer spy;
    QObject::connect(&spy, &QTimer::timeout,
                     [&] { dialogs += QApplication::activeModalWidget() != nullptr; });
    spy.start(1);

    CreateShutDownDelayForm(nullptr, 1);
    CreateManageHistoryForm(nullptr, &history, &resultCode, 1);
    CreateMediaPropertyForm(nullptr, 1, "/media/a.avi", "0:00:10", 640, 480, 25.0, 1);
    CreateGotoMediaForm(nullptr, 1, 100'000'000, 1, &seconds, &cancelled);

    EXPECT_EQ(resultCode, 77);
    EXPECT_EQ(seconds, -5);
    EXPECT_EQ(cancelled, 9);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(FakeLog(), "");
}

TEST_F(ExportsTest, GotoHandsBackTheChosenSecondsWhileTheCallersTimersRun) {
    int callerTicks = 0;
    QTimer callerTimer;
    QObject::connect(&callerTimer, &QTimer::timeout, [&] { ++callerTicks; });
    callerTimer.start(5);

    std::int64_t seconds = -1;
    std::uint8_t cancelled = 7;
    WhileModal steps([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Goto...");
        EXPECT_EQ(dialog->font().family(), "MS Serf");
        EXPECT_EQ(dialog->font().pointSize(), 9);
        EXPECT_EQ(dialog->parentWidget(), &main) << "owned by the caller's window";
        EXPECT_EQ(QApplication::activeModalWidget(), dialog) << "the caller's windows are blocked";
        Type(dialog, "Minute_E", "90");
        Press(dialog, "OK_Btn");
    });
    CreateGotoMediaForm(MainWindow(), 1, 54'009'000'000, 1, &seconds, &cancelled);
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(seconds, 5400);
    EXPECT_EQ(cancelled, 0);
    EXPECT_GT(callerTicks, 0);

    WhileModal fresh([&](QWidget* dialog) {
        EXPECT_EQ(Edit(dialog, "Minute_E")->text(), "0") << "a new dialog for every call";
        Press(dialog, "Cancel_Btn");
    });
    CreateGotoMediaForm(MainWindow(), 2, 3909, 2, &seconds, &cancelled);
    EXPECT_TRUE(fresh.Ran());
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(seconds, 0);
}

TEST_F(ExportsTest, GotoRefusesATimeBeyondTheLengthAndTheCloseBoxCancels) {
    std::int64_t seconds = -1;
    std::uint8_t cancelled = 0;
    WhileModal steps([&](QWidget* dialog) {
        Type(dialog, "Hour_E", "1193047"); // 2^32 + 1904 seconds: must not wrap into the medium
        Press(dialog, "OK_Btn");
        EXPECT_TRUE(dialog->isVisible());
        dialog->close();
    });
    CreateGotoMediaForm(MainWindow(), 1, 54'009'000'000, 1, &seconds, &cancelled);
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(FakeLog(), "MessageBox Info|40|Invalide media time!\n");
}

TEST_F(ExportsTest, HistoryManagerWritesHistoryTempBesideTheProgramOnOk) {
    const std::string historyTemp =
        (std::filesystem::path(win32::GetModuleFileName()).parent_path() / "HistoryTemp").string();
    std::filesystem::remove(historyTemp);
    forms::TStringList history;
    for (const char* entry : {"/media/one.avi", "/media/two.mp3", "/media/three.ogg"})
        history.Add(entry);
    std::int32_t resultCode = -1;
    WhileModal steps([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "管理历史记录");
        QPushButton* ok = Button(dialog, "OK_Btn");
        ASSERT_NE(ok, nullptr);
        EXPECT_FALSE(ok->isEnabled());
        Press(dialog, "Clear_Btn");
        Press(dialog, "OK_Btn");
    });
    CreateManageHistoryForm(MainWindow(), &history, &resultCode, 2);
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(resultCode, 1);
    EXPECT_TRUE(win32::FileExists(historyTemp));
    EXPECT_EQ(ReadFile(historyTemp), "");
    EXPECT_EQ(history.Count(), 3) << "the caller's list is only read";
    std::filesystem::remove(historyTemp);

    // The caller's entries come back as the caller's bytes, whatever their encoding.
    forms::TStringList bytes;
    for (const char* entry : {"/media/caf\xE9.avi", "/media/\xC3(.mp3"})
        bytes.Add(entry);
    WhileModal keep([&](QWidget* dialog) {
        testing_support::ClickText(dialog->findChild<QListWidget*>(), 0);
        Press(dialog, "Delete_Btn"); // nothing checked: removes nothing, enables OK
        Press(dialog, "OK_Btn");
    });
    CreateManageHistoryForm(MainWindow(), &bytes, &resultCode, 1);
    EXPECT_TRUE(keep.Ran());
    EXPECT_EQ(resultCode, 1);
    EXPECT_EQ(ReadFile(historyTemp), "/media/caf\xE9.avi\r\n/media/\xC3(.mp3\r\n");
    std::filesystem::remove(historyTemp);

    WhileModal cancel([&](QWidget* dialog) { Press(dialog, "Cancel_Btn"); });
    CreateManageHistoryForm(MainWindow(), &history, &resultCode, 1);
    EXPECT_EQ(resultCode, 2);
    forms::TStringList none;
    WhileModal closeBox([&](QWidget* dialog) { dialog->close(); });
    CreateManageHistoryForm(MainWindow(), &none, &resultCode, 1);
    EXPECT_EQ(resultCode, 0);
    EXPECT_FALSE(win32::FileExists(historyTemp));
}

TEST_F(ExportsTest, PowerOffCountdownPowersOffThroughThePowerService) {
    WhileModal steps([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Shutdown...");
        Press(dialog, "OK_Btn");
    });
    CreateShutDownDelayForm(MainWindow(), 1);
    EXPECT_TRUE(steps.Ran());
    EXPECT_EQ(FakeLog(), "Power PowerOff\n");
}

TEST_F(ExportsTest, APowerOffDialogCanOpenOverThePropertyDialog) {
    TempDir media;
    testing_support::WriteFile(media.File("clip.avi"), "1234");
    std::vector<std::string> titles;
    WhileModal outer([&](QWidget* property) {
        titles.push_back(property->windowTitle().toStdString());
        // A medium ends while the property dialog is open: the caller's timer starts the countdown.
        QTimer::singleShot(0, [&, property] {
            WhileModal inner([&](QWidget* countdown) {
                titles.push_back(countdown->windowTitle().toStdString());
                Press(countdown, "Cancel_Btn");
            });
            CreateShutDownDelayForm(MainWindow(), 2);
            titles.push_back(inner.Ran() ? "inner closed" : "inner failed");
            Press(property, "OK_Btn");
        });
    });
    CreateMediaPropertyForm(MainWindow(), 1, media.File("clip.avi").c_str(), "0:00:04", 320, 240, 25, 2);
    EXPECT_TRUE(outer.Ran());
    EXPECT_EQ(titles, (std::vector<std::string>{"属性", "关闭计算机...", "inner closed"}));
    EXPECT_EQ(FakeLog(), "") << "Cancel powers nothing off";
}

} // namespace
