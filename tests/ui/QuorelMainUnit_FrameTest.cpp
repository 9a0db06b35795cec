// The main window's frame: the edge strips (resizing, and a click on them that gives the mouse back), moving
// by the title strip, full screen in and out, the top-most rule of each resize, the title label's height.

#include <functional>
#include <vector>

#include <QFontMetrics>
#include <QScreen>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "platform/win32/Window.h"
#include "tests/ui/MainFormFixture.h"

namespace {

using namespace ui_testing;

class FrameTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        Run();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        MoveTo({300, 5});
        MoveTo({300, 200});
    }
    void Play() {
        chosenFiles = {Clip("a.mp4")};
        form->OpenFileDialog();
        ASSERT_TRUE(State.IsPlaying);
    }
    // Presses the left button on Control, moves the pointer by Delta in one step and releases it there.
    void Drag(TControl* Control, QPoint Delta) {
        const QPoint from = form->mapToGlobal(Over(Control));
        QCursor::setPos(from);
        QTest::mouseMove(Window(), form->mapFromGlobal(from));
        QTest::mousePress(Window(), Qt::LeftButton, {}, form->mapFromGlobal(from));
        const QPoint to = from + Delta;
        QCursor::setPos(to);
        QTest::mouseMove(Window(), form->mapFromGlobal(to));
        QTest::mouseRelease(Window(), Qt::LeftButton, {}, form->mapFromGlobal(to));
        QCoreApplication::processEvents();
    }
    bool TopMost() { return win32::GetWindowLong(form->Handle(), win32::GWL_EXSTYLE) & win32::WS_EX_TOPMOST; }
    QRect ScreenRect() { return form->screen()->geometry(); }
};

// A click on any edge strip gives the mouse back: the next click reaches the control under it.
TEST_F(FrameTest, AClickOnAnEdgeStripLeavesNoCaptureBehind) {
    Play();
    for (TControl* strip :
         std::initializer_list<TControl*>{form->Left_I, form->Right_I, form->TopBar_xi, form->BottomBar_xi}) {
        const QRect before = form->geometry();
        ClickAt(Over(strip));
        EXPECT_EQ(win32::GetCapture(), nullptr) << strip->Name();
        EXPECT_EQ(form->geometry(), before) << strip->Name();
        const bool paused = State.IsPaused;
        ClickAt(Over(form->PlayPause_XI));
        EXPECT_NE(State.IsPaused, paused) << strip->Name();
    }
}

// Each strip moves its own edge; the size stops at 550 x 350, and a top or left edge dragged on past it moves
// the window instead.
TEST_F(FrameTest, EdgeStripsResizeDownToTheSmallestSize) {
    struct Case {
        const char* Strip;
        QPoint Delta;
        int Left, Top, Width, Height; // change of the window's rectangle
    } const cases[] = {
        {"BottomBar_xi", {0, 50}, 0, 0, 0, 50}, {"BottomBar_xi", {0, -200}, 0, 0, 0, 350 - 442},
        {"Right_I", {40, 0}, 0, 0, 40, 0},      {"Right_I", {-300, 0}, 0, 0, 550 - 688, 0},
        {"TopBar_xi", {0, -30}, 0, -30, 0, 30}, {"TopBar_xi", {0, 200}, 0, 200, 0, 350 - 442},
        {"Left_I", {-20, 0}, -20, 0, 20, 0},    {"Left_I", {300, 0}, 300, 0, 550 - 688, 0},
    };
    const QRect start(100, 150, 688, 442);
    for (const Case& c : cases) {
        form->SetBounds(start.x(), start.y(), start.width(), start.height());
        QCoreApplication::processEvents();
        Drag(form->findChild<TControl*>(c.Strip), c.Delta);
        EXPECT_EQ(form->geometry(), start.adjusted(c.Left, c.Top, c.Left + c.Width, c.Top + c.Height))
            << c.Strip << " " << c.Delta.x() << "," << c.Delta.y();
        EXPECT_EQ(win32::GetCapture(), nullptr);
    }
    // The layout follows the new width.
    EXPECT_EQ(form->Close_xi->Left(), 550 - 24);
}

// The title strip moves the window once the pointer has moved a few pixels with the button held (here,
// without a window manager's move, the window follows the pointer itself); a maximized window stays put, and
// a double click maximizes and restores.
TEST_F(FrameTest, TheTitleStripMovesAndMaximizesTheWindow) {
    const QPoint before = form->pos();
    Drag(form->Topcenter_I, {2, 1}); // a few pixels: no move yet
    EXPECT_EQ(form->pos(), before);
    const QPoint from = form->mapToGlobal(Over(form->Topcenter_I));
    QCursor::setPos(from);
    QTest::mousePress(Window(), Qt::LeftButton, {}, form->mapFromGlobal(from));
    for (QPoint step : {QPoint(10, 5), QPoint(60, 40)}) {
        QCursor::setPos(from + step);
        QTest::mouseMove(Window(), form->mapFromGlobal(from + step));
    }
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, form->mapFromGlobal(from + QPoint(60, 40)));
    EXPECT_EQ(form->pos(), before + QPoint(50, 35)) << "it follows from where the move began";

    QTest::mouseDClick(Window(), Qt::LeftButton, {}, Over(form->Topcenter_I));
    QCoreApplication::processEvents();
    ASSERT_TRUE(form->isMaximized());
    const QPoint maximized = form->pos();
    Drag(form->Topcenter_I, {80, 80});
    EXPECT_EQ(form->pos(), maximized);
    QTest::mouseDClick(Window(), Qt::LeftButton, {}, Over(form->Topcenter_I));
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->isMaximized());
}

// Full screen covers the screen from a normal and from a maximized window, and gives back the state it took.
TEST_F(FrameTest, FullScreenInAndOutFromANormalAndAMaximizedWindow) {
    Play();
    for (bool maximized : {false, true}) {
        if (maximized)
            win32::ShowWindow(form->Handle(), win32::SW_SHOWMAXIMIZED);
        QCoreApplication::processEvents();
        const QRect before = form->geometry();
        form->FullScreenCommand();
        QCoreApplication::processEvents();
        EXPECT_TRUE(form->isFullScreen()) << maximized;
        EXPECT_EQ(form->geometry(), ScreenRect()) << maximized;
        EXPECT_EQ(form->Video_P->geometry(), QRect(QPoint(0, 0), ScreenRect().size())) << maximized;
        EXPECT_FALSE(TopMost()) << maximized;
        form->FullScreenCommand();
        QCoreApplication::processEvents();
        EXPECT_FALSE(form->isFullScreen()) << maximized;
        EXPECT_EQ(form->isMaximized(), maximized);
        EXPECT_EQ(form->geometry(), before) << maximized;
        EXPECT_TRUE(form->Top_P->isVisible());
        EXPECT_TRUE(form->Ctrl_P->isVisible());
        EXPECT_LT(form->Bottom_P->Top(), form->Ctrl_P->Top());
    }
}

// The frame panels' places, top to bottom, with Bottom_P directly above Ctrl_P at the window's bottom.
std::vector<QRect> FramePlaces(TQuorelMain_Form& Form) {
    std::vector<QRect> places;
    for (TControl* panel : {Form.Top_P, Form.Left_P, Form.Right_P, Form.Video_P, Form.Bottom_P, Form.Ctrl_P})
        places.push_back(panel->geometry());
    return places;
}

// A medium that ended in full screen leaves the window there: every way out still works (the command behind
// the menu item, Enter and the full-screen button, which stays enabled for it; Escape; a double click on the
// picture), and the window comes back with its frame, at its size and place, the button disabled again.
TEST_F(FrameTest, FullScreenIsLeftEveryWayAfterTheMediumEndedThere) {
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"menu item", [&] { form->pFullscreen->Click(); }},
        {"button", [&] { form->maxmin_xi->Click(); }},
        {"Escape", [&] { QTest::keyClick(form.get(), Qt::Key_Escape); }},
        {"double click", [&] { QTest::mouseDClick(Window(), Qt::LeftButton, {}, Over(form->Video_P)); }},
    };
    for (const auto& [name, leave] : ways) {
        Play();
        QCoreApplication::processEvents();
        const QRect before = form->geometry();
        const std::vector<QRect> frame = FramePlaces(*form);
        ASSERT_EQ(frame[4].bottom() + 1, frame[5].top());
        form->FullScreenCommand();
        QCoreApplication::processEvents();
        ASSERT_TRUE(form->isFullScreen()) << name;
        ASSERT_TRUE(QTest::qWaitFor([] { return !State.IsPlaying; }, 10000)) << name << ": the clip ends";
        EXPECT_TRUE(form->IsFullScreen) << name;
        EXPECT_TRUE(form->maxmin_xi->Enabled()) << name;
        leave();
        QCoreApplication::processEvents();
        EXPECT_FALSE(form->IsFullScreen) << name;
        EXPECT_FALSE(form->isFullScreen()) << name;
        EXPECT_EQ(form->geometry(), before) << name;
        EXPECT_EQ(FramePlaces(*form), frame) << name;
        EXPECT_FALSE(form->maxmin_xi->Enabled()) << name;
        EXPECT_TRUE(Shows(form->maxmin_xi, "Maxmin_Disable_btn.bmp")) << name;
    }
    // Escape never enters full screen.
    Play();
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->IsFullScreen);
}

// A medium opened while in full screen (played again after its end) keeps the window covering the screen;
// leaving gives back the size, the place and the frame the window had before full screen.
TEST_F(FrameTest, AnOpenInFullScreenKeepsTheScreenAndLeavingGivesTheWindowBack) {
    Play();
    form->SetBounds(120, 80, 700, 460);
    QCoreApplication::processEvents();
    const QRect before = form->geometry();
    const std::vector<QRect> frame = FramePlaces(*form);
    form->FullScreenCommand();
    QCoreApplication::processEvents();
    form->StopByType();
    form->PlayCommand();
    ASSERT_TRUE(State.IsPlaying);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->geometry(), ScreenRect());
    EXPECT_TRUE(form->isFullScreen());
    // The bars shown at the bottom edge meanwhile leave no trace.
    MoveTo(At(form->Video_P, {100, ScreenRect().height() - 40}));
    EXPECT_TRUE(form->Ctrl_P->Visible());
    MoveTo(At(form->Video_P, {100, 100}));
    form->FullScreenCommand();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->geometry(), before);
    EXPECT_EQ(FramePlaces(*form), frame);
}

// "On top while playing" follows the play state wherever it changes: every open, the stop, the end.
TEST_F(FrameTest, OnTopWhilePlayingFollowsEveryOpenStopAndEnd) {
    WriteIni(DefaultsWith("StayOnTop", "2", ReadFile(tree.IniFile())));
    const std::string clip = Clip("b.mp4");
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"open dialog", [&] { Play(); }},
        {"stop", [&] { form->pStopClick(form->pStop); }},
        {"play command", [&] { form->PlayCommand(); }},
        {"end", [&] { EXPECT_TRUE(QTest::qWaitFor([] { return !State.IsPlaying; }, 10000)); }},
        {"play-list entry", [&] { form->PlayPlayListEntry(0); }},
        {"close", [&] { form->pCloseClick(form->pClose); }},
    };
    for (const auto& [name, change] : changes) {
        change();
        EXPECT_EQ(TopMost(), State.IsPlaying) << name;
    }
}

// An audio file opened in full screen leaves it through the normal way out: a maximized window is maximized
// again; a normal one comes back, then grows by 197 x 127 (never beyond the screen) and is centred.
TEST_F(FrameTest, AnAudioFileLeavesFullScreenForTheWindowsOwnState) {
    Play();
    const std::string tone = Tone("t.wav");
    for (bool maximized : {true, false}) {
        win32::ShowWindow(form->Handle(), maximized ? win32::SW_SHOWMAXIMIZED : win32::SW_SHOWNORMAL);
        if (!maximized)
            form->SetBounds(100, 100, 688, 442);
        QCoreApplication::processEvents();
        form->FullScreenCommand();
        QCoreApplication::processEvents();
        ASSERT_TRUE(form->isFullScreen());
        chosenFiles = {tone};
        form->OpenFileDialog();
        QCoreApplication::processEvents();
        EXPECT_FALSE(form->IsFullScreen);
        EXPECT_FALSE(form->isFullScreen());
        EXPECT_EQ(form->isMaximized(), maximized);
        if (!maximized) {
            const QSize size(std::min(688 + 197, ScreenRect().width()),
                             std::min(442 + 127, ScreenRect().height()));
            EXPECT_EQ(form->size(), size);
            EXPECT_EQ(form->pos(), QPoint((ScreenRect().width() - size.width()) / 2,
                                          (ScreenRect().height() - size.height()) / 2));
        }
        Play();
    }
}

// Mode 2 ("while playing") is on top only while something plays; a window as large as the screen never is.
TEST_F(FrameTest, EachResizeAppliesTheStayOnTopMode) {
    // Mode 0 leaves the window as it was (Before).
    struct Case {
        const char* Mode;
        bool Playing;
        bool Before;
        bool OnTop;
    } const cases[] = {{"0", false, true, true}, {"1", false, false, true}, {"2", false, true, false},
                       {"2", true, false, true}, {"1", true, false, true},  {"0", true, false, false}};
    for (const Case& c : cases) {
        if (c.Playing != State.IsPlaying) {
            if (c.Playing)
                Play();
            else
                form->StopByType();
        }
        WriteIni(DefaultsWith("StayOnTop", c.Mode, ReadFile(tree.IniFile())));
        win32::SetWindowPos(form->Handle(), c.Before ? win32::HWND_TOPMOST : win32::HWND_NOTOPMOST, 0, 0, 0,
                            0, win32::SWP_NOMOVE | win32::SWP_NOSIZE | win32::SWP_NOACTIVATE);
        form->SetBounds(form->Left(), form->Top(), form->Width() == 700 ? 710 : 700, 442);
        EXPECT_EQ(TopMost(), c.OnTop) << c.Mode << " " << c.Playing;
    }
    form->SetBounds(0, 0, ScreenRect().width(), ScreenRect().height());
    EXPECT_FALSE(TopMost());
}

// The title label is as high as its font's lines, so that descenders and underscores show.
TEST_F(FrameTest, TheTitleLabelIsAsHighAsItsFont) {
    form->CurMedia_L->SetCaption("long60_gjpq.avi");
    const QFontMetrics metrics(form->CurMedia_L->Font().ToQFont());
    EXPECT_GE(form->CurMedia_L->Height(), metrics.boundingRect("long60_gjpq.avi").height());
    EXPECT_GE(form->CurMedia_L->Height(), metrics.height());
    EXPECT_LE(form->CurMedia_L->Top() + form->CurMedia_L->Height(), form->Top_P->Height());
}

} // namespace
