#include "platform/win32/Window.h"

#include <algorithm>
#include <memory>

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"
#include "tests/support/QtApp.h"

namespace {

class Receiver : public QWidget {
public:
    std::vector<win32::UINT> received;

protected:
    bool event(QEvent* e) override {
        if (e->type() != win32::MessageEvent::EventType)
            return QWidget::event(e);
        auto* m = static_cast<win32::MessageEvent*>(e);
        received.push_back(m->Msg);
        m->Result = static_cast<win32::LRESULT>(m->WParam + static_cast<win32::WPARAM>(m->LParam));
        return true;
    }
};

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
};

TEST_F(WindowTest, SendDeliversAtOnceAndReturnsTheResult) {
    Receiver r;
    EXPECT_EQ(win32::SendMessage(win32::HandleOf(&r), win32::WM_USER + 1000, 2, 3), 5);
    EXPECT_EQ(r.received, std::vector<win32::UINT>{win32::WM_USER + 1000});
}

TEST_F(WindowTest, PostArrivesOnlyWhenEventsAreProcessed) {
    Receiver r;
    EXPECT_EQ(win32::PostMessage(win32::HandleOf(&r), 2030, 0, 0), win32::TRUE);
    EXPECT_TRUE(r.received.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(r.received, std::vector<win32::UINT>{2030});
}

TEST_F(WindowTest, StaleAndNullHandlesNameNoWindow) {
    auto r = std::make_unique<Receiver>();
    win32::HWND handle = win32::HandleOf(r.get());
    EXPECT_TRUE(win32::IsWindow(handle));
    r.reset();
    EXPECT_FALSE(win32::IsWindow(handle));
    EXPECT_EQ(win32::SendMessage(handle, 1, 0, 0), 0);
    EXPECT_EQ(win32::PostMessage(handle, 1, 0, 0), win32::FALSE);
    EXPECT_EQ(win32::WidgetOf(nullptr), nullptr);
}

TEST_F(WindowTest, PlainWidgetIgnoresMessages) {
    QWidget w;
    EXPECT_EQ(win32::SendMessage(win32::HandleOf(&w), 2030, 7, 7), 0);
}

} // namespace

namespace {

using namespace win32;

class WindowFunctionsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        top.setWindowFlag(Qt::FramelessWindowHint);
        top.setGeometry(100, 80, 300, 200);
        child = new QWidget(&top);
        child->setGeometry(10, 20, 50, 40);
        top.show();
        QCoreApplication::processEvents();
    }
    HWND Top() const { return HandleOf(&top); }

    QWidget top;
    QWidget* child = nullptr;
};

struct ShowCase {
    const char* name;
    int before; // SW_ command applied first (0: none)
    int command;
    bool visible;
    UINT showCmd;
};

class ShowWindowTest : public WindowFunctionsTest, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(ShowWindowTest, GivesTheStateItNames) {
    const ShowCase& c = GetParam();
    if (c.before != 0)
        ShowWindow(Top(), c.before);
    ShowWindow(Top(), c.command);
    QCoreApplication::processEvents();
    EXPECT_EQ(IsWindowVisible(Top()) != FALSE, c.visible);
    WINDOWPLACEMENT placement;
    ASSERT_EQ(GetWindowPlacement(Top(), &placement), TRUE);
    EXPECT_EQ(placement.showCmd, c.showCmd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShowWindowTest,
    ::testing::Values(ShowCase{"Hide", 0, SW_HIDE, false, SW_SHOWNORMAL},
                      ShowCase{"Maximize", 0, SW_SHOWMAXIMIZED, true, SW_SHOWMAXIMIZED},
                      ShowCase{"Minimize", 0, SW_MINIMIZE, true, SW_SHOWMINIMIZED},
                      ShowCase{"RestoreMaximized", SW_SHOWMAXIMIZED, SW_RESTORE, true, SW_SHOWNORMAL},
                      ShowCase{"RestoreMinimized", SW_MINIMIZE, SW_RESTORE, true, SW_SHOWNORMAL},
                      ShowCase{"ShowNormalAfterMaximize", SW_SHOWMAXIMIZED, SW_SHOWNORMAL, true, SW_SHOWNORMAL},
                      ShowCase{"ShowAfterHide", SW_HIDE, SW_SHOW, true, SW_SHOWNORMAL}),
    testing_support::CaseName());

TEST_F(WindowFunctionsTest, RestoreAfterMinimizingAMaximizedWindowMaximizesAgain) {
    ShowWindow(Top(), SW_SHOWMAXIMIZED);
    ShowWindow(Top(), SW_MINIMIZE);
    EXPECT_EQ(IsIconic(Top()), TRUE);
    ShowWindow(Top(), SW_RESTORE);
    EXPECT_EQ(IsIconic(Top()), FALSE);
    EXPECT_EQ(IsZoomed(Top()), TRUE);
}

// Full screen stands for the description's maximized window that covers the screen: it counts as zoomed.
TEST_F(WindowFunctionsTest, AFullScreenWindowIsZoomed) {
    ShowWindowFullScreen(Top());
    EXPECT_EQ(IsZoomed(Top()), TRUE);
    ShowWindow(Top(), SW_SHOWNORMAL);
    EXPECT_EQ(IsZoomed(Top()), FALSE);
}

TEST_F(WindowFunctionsTest, ShowWindowReportsWhetherItWasVisible) {
    EXPECT_EQ(ShowWindow(Top(), SW_HIDE), TRUE);
    EXPECT_EQ(ShowWindow(Top(), SW_HIDE), FALSE);
    EXPECT_EQ(ShowWindow(HandleOf(child), SW_SHOWMAXIMIZED), FALSE); // a child is only shown
    EXPECT_FALSE(child->isWindow());
}

TEST_F(WindowFunctionsTest, RectanglesOfTopLevelAndChild) {
    RECT r;
    ASSERT_EQ(GetWindowRect(Top(), &r), TRUE);
    EXPECT_EQ(r, (RECT{100, 80, 400, 280}));
    ASSERT_EQ(GetWindowRect(HandleOf(child), &r), TRUE);
    EXPECT_EQ(r, (RECT{110, 100, 160, 140}));
    ASSERT_EQ(GetClientRect(HandleOf(child), &r), TRUE);
    EXPECT_EQ(r, (RECT{0, 0, 50, 40}));
    POINT p{5, 6};
    ASSERT_EQ(ClientToScreen(HandleOf(child), &p), TRUE);
    EXPECT_EQ(p, (POINT{115, 106}));
    ASSERT_EQ(ScreenToClient(Top(), &p), TRUE);
    EXPECT_EQ(p, (POINT{15, 26}));
    EXPECT_EQ(GetWindowRect(nullptr, &r), FALSE);
}

TEST_F(WindowFunctionsTest, MoveWindowPlacesTopLevelOnScreenAndChildInItsParent) {
    MoveWindow(Top(), 20, 30, 320, 240, TRUE);
    MoveWindow(HandleOf(child), 1, 2, 3, 4, TRUE);
    QCoreApplication::processEvents();
    EXPECT_EQ(top.frameGeometry(), QRect(20, 30, 320, 240));
    EXPECT_EQ(child->geometry(), QRect(1, 2, 3, 4));
}

// A window that keeps its size (as a form whose minimum size is reached) but may move.
class FixedSizeWindow : public QWidget {
protected:
    bool event(QEvent* e) override {
        if (e->type() != MessageEvent::EventType)
            return QWidget::event(e);
        auto* m = static_cast<MessageEvent*>(e);
        if (m->Msg != WM_WINDOWPOSCHANGING)
            return false;
        reinterpret_cast<WINDOWPOS*>(m->LParam)->flags |= SWP_NOSIZE;
        return true;
    }
};

TEST_F(WindowFunctionsTest, RefusedSizeStillMoves) {
    FixedSizeWindow w;
    w.setWindowFlag(Qt::FramelessWindowHint);
    w.setGeometry(0, 0, 100, 100);
    w.show();
    MoveWindow(HandleOf(&w), 50, 60, 10, 10, TRUE);
    EXPECT_EQ(w.frameGeometry(), QRect(50, 60, 100, 100));
}

TEST_F(WindowFunctionsTest, TopMostSwitchesWithoutHidingTheWindow) {
    EXPECT_EQ(GetWindowLong(Top(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    SetWindowPos(Top(), HWND_TOPMOST, 100, 80, 300, 200, SWP_NOACTIVATE);
    EXPECT_EQ(GetWindowLong(Top(), GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
    EXPECT_TRUE(top.isVisible());
    EXPECT_EQ(top.geometry(), QRect(100, 80, 300, 200));
    SetWindowPos(Top(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetWindowLong(Top(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(top.isVisible());
    EXPECT_EQ(top.geometry(), QRect(100, 80, 300, 200));
}

TEST_F(WindowFunctionsTest, DefaultHandlingOfCloseAndSystemCommands) {
    SendMessage(Top(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(IsZoomed(Top()), TRUE);
    SendMessage(Top(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(IsZoomed(Top()), FALSE);
    SendMessage(Top(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(IsIconic(Top()), TRUE);
    SendMessage(Top(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(top.isVisible());
}

TEST_F(WindowFunctionsTest, PostedCloseIsSkippedForAWindowGoneMeanwhile) {
    auto w = std::make_unique<QWidget>();
    w->show();
    ASSERT_EQ(PostMessage(HandleOf(w.get()), WM_CLOSE, 0, 0), TRUE);
    PostMessage(Top(), WM_CLOSE, 0, 0);
    w.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(top.isVisible());
}

TEST_F(WindowFunctionsTest, PostedMessagesArriveInOrder) {
    Receiver r;
    for (UINT m = 2024; m < 2030; ++m)
        PostMessage(HandleOf(&r), m, 0, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(r.received, (std::vector<UINT>{2024, 2025, 2026, 2027, 2028, 2029}));
}

TEST_F(WindowFunctionsTest, CaptureAndScreenSize) {
    EXPECT_EQ(SetCapture(HandleOf(child)), nullptr);
    EXPECT_EQ(GetCapture(), HandleOf(child));
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), screen.width());
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), screen.height());
    EXPECT_EQ(GetSystemMetrics(99), 0);
}

// What the boss key hides: every shown window, a menu and a dialog included; hidden windows and the children
// of windows are not top-level windows of their own.
TEST_F(WindowFunctionsTest, VisibleTopLevelWindowsAreTheShownWindowsMenusAndDialogs) {
    QWidget hidden;
    QDialog dialog;
    dialog.show();
    QMenu menu;
    menu.addAction("播放/暂停");
    menu.popup({10, 10});
    QCoreApplication::processEvents();
    std::vector<HWND> windows = VisibleTopLevelWindows();
    std::sort(windows.begin(), windows.end());
    std::vector<HWND> expected = {Top(), HandleOf(&dialog), HandleOf(&menu)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(windows, expected);
    menu.close();
    dialog.hide();
    EXPECT_EQ(VisibleTopLevelWindows(), std::vector<HWND>{Top()});
}

// The program's own loop runs the dialog's loop inside it; the dialog window may be hidden meanwhile (as the
// boss key hides it) while its loop still runs.
TEST_F(WindowFunctionsTest, InsideModalLoopWhileADialogRunsEvenWhenItIsHidden) {
    EXPECT_FALSE(InsideModalLoop());
    QWidget dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    QEventLoop program, dialogLoop;
    std::vector<bool> seen;
    QTimer::singleShot(0, [&] {
        seen.push_back(InsideModalLoop()); // the program's loop alone
        QTimer::singleShot(0, [&] {
            dialog.show();
            seen.push_back(InsideModalLoop());
            dialog.hide();
            seen.push_back(InsideModalLoop());
            dialogLoop.quit();
        });
        dialogLoop.exec();
        seen.push_back(InsideModalLoop()); // the dialog has returned
        program.quit();
    });
    program.exec();
    EXPECT_EQ(seen, (std::vector<bool>{false, true, true, false}));
}

} // namespace
