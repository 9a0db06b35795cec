#include "platform/forms/Forms.h"

#include <memory>
#include <vector>

#include <QApplication>
#include <QFontDatabase>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StringList.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Window.h"
#include "tests/support/CaseName.h"
#include "tests/support/PaintCounter.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace {

class FormsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        win32::SetMessageBoxHandler([this](const win32::MessageBoxRequest& r) {
            boxes.push_back(r);
            return win32::DefaultMessageBoxButton(r.Type);
        });
    }
    void TearDown() override {
        win32::SetMessageBoxHandler(nullptr);
        Application().OnException = nullptr;
        Application().SetMainForm(nullptr);
    }
    std::vector<win32::MessageBoxRequest> boxes;
};

TEST_F(FormsTest, ShowEventRunsWhenTheClassLibraryShowsTheForm) {
    TForm form;
    int shows = 0;
    form.OnShow = [&](TObject* sender) {
        EXPECT_EQ(sender, &form);
        EXPECT_FALSE(form.isVisible()); // before the window appears
        ++shows;
    };
    form.Show();
    form.Show();
    win32::ShowWindow(form.Handle(), win32::SW_HIDE); // the boss key hides and shows by handle
    win32::ShowWindow(form.Handle(), win32::SW_SHOWNORMAL);
    win32::ShowWindow(form.Handle(), win32::SW_MINIMIZE);
    win32::ShowWindow(form.Handle(), win32::SW_RESTORE);
    EXPECT_EQ(shows, 1);
    form.Hide();
    form.Show();
    EXPECT_EQ(shows, 2);
}

TEST_F(FormsTest, ActivateEventRunsAtEveryActivation) {
    TForm a;
    TForm b;
    int activations = 0;
    a.OnActivate = [&](TObject*) { ++activations; };
    a.BringToFrontAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&a));
    b.BringToFrontAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&b));
    a.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&a));
    EXPECT_EQ(activations, 2);
}

struct CloseCase {
    const char* name;
    TCloseAction action;
    bool visible;
    bool exists;
    bool minimized;
};

class CloseActionTest : public FormsTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseActionTest, CloseDoesWhatOnCloseAnswers) {
    const CloseCase& c = GetParam();
    QPointer<TForm> form = new TForm;
    form->OnClose = [&](TObject*, TCloseAction& action) {
        EXPECT_EQ(action, caHide);
        action = c.action;
    };
    form->Show();
    form->Close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(!form.isNull(), c.exists);
    if (form) {
        EXPECT_EQ(form->isVisible(), c.visible);
        EXPECT_EQ(form->Visible(), c.visible);
        EXPECT_EQ(form->isMinimized(), c.minimized);
        delete form.data();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CloseActionTest,
                         ::testing::Values(CloseCase{"None", caNone, true, true, false},
                                           CloseCase{"Hide", caHide, false, true, false},
                                           CloseCase{"Free", caFree, false, false, false},
                                           CloseCase{"Minimize", caMinimize, true, true, true}),
                         testing_support::CaseName());

TEST_F(FormsTest, ClosingTheMainFormEndsTheApplicationWithoutHidingIt) {
    TForm form;
    Application().SetMainForm(&form);
    int closes = 0;
    form.OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    form.Show();
    win32::SendMessage(form.Handle(), win32::WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_TRUE(form.isVisible());
    static int argc = 0;
    Application().Initialize(argc, nullptr); // running again for the next tests
}

TEST_F(FormsTest, TerminateEndsTheApplicationAlsoUnderAModalWindowThatIsNoDialogBox) {
    Application().AddForm(std::make_unique<TForm>()); // the main form, freed by Run
    TForm dialog;                                     // a plain window: while modal it refuses to close
    TModalResult result = mrNone;
    bool returned = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(50, [] { Application().Terminate(); });
        result = dialog.ShowModal();
        returned = true;
    });
    // Were the end refused, the guard ends both loops: the test then fails instead of hanging.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        dialog.SetModalResult(mrAbort);
        QCoreApplication::exit(2);
    });
    guard.start(5000);
    EXPECT_EQ(Application().Run(), 0);
    EXPECT_TRUE(returned);
    EXPECT_EQ(result, mrCancel);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ShowModal(), mrCancel); // and at once after the end
    static int argc = 0;
    Application().Initialize(argc, nullptr); // running again for the next tests
}

TEST_F(FormsTest, ExceptionInOnCloseKeepsTheFormOpenAndIsShown) {
    TForm form;
    Application().SetTitle("TarvexDvd 1.2");
    form.OnClose = [](TObject*, TCloseAction&) { throw EClassLibraryError("Cannot create file \"x\"."); };
    form.Show();
    form.Close();
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Cannot create file \"x\".");
    EXPECT_EQ(boxes[0].Caption, "TarvexDvd 1.2");
    EXPECT_EQ(boxes[0].Type, win32::MB_OK | win32::MB_ICONSTOP);
}

TEST_F(FormsTest, DefaultErrorBoxEndsTheMessageWithAFullStop) {
    TForm form;
    form.OnShow = [](TObject*) { throw std::runtime_error("Bitmap image is not valid"); };
    form.Show();
    EXPECT_TRUE(form.isVisible()); // the program goes on
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Bitmap image is not valid.");
}

TEST_F(FormsTest, OnExceptionReplacesTheErrorBox) {
    std::vector<std::string> errors;
    Application().OnException = [&](TObject*, const std::exception& e) { errors.emplace_back(e.what()); };
    TForm form;
    form.OnActivate = [](TObject*) { throw EClassLibraryError("List index out of bounds (3)"); };
    form.BringToFrontAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(errors, (std::vector<std::string>{"List index out of bounds (3)"}));
    EXPECT_TRUE(boxes.empty());
}

// The main window refuses sizes under 550 x 350.
class MinimumSizeForm : public TForm {
public:
    MinimumSizeForm() {
        SetBorderStyle(bsNone);
        OnCanResize = [](TObject*, int& w, int& h, bool& resize) {
            if (w < 550 || h < 350)
                resize = false;
        };
        SetBounds(100, 100, 688, 442);
    }
};

TEST_F(FormsTest, RefusedSizeKeepsTheOldSizeButStillMoves) {
    MinimumSizeForm form;
    form.Show();
    form.SetBounds(120, 110, 500, 442);
    EXPECT_EQ(form.geometry(), QRect(120, 110, 688, 442));
    win32::MoveWindow(form.Handle(), 130, 90, 688, 300, win32::TRUE); // a drag of the top edge downward
    EXPECT_EQ(form.geometry(), QRect(130, 90, 688, 442));
    win32::MoveWindow(form.Handle(), 130, 90, 700, 400, win32::TRUE);
    EXPECT_EQ(form.geometry(), QRect(130, 90, 700, 400));
}

TEST_F(FormsTest, ModalFormDisablesOthersWhileTimersRun) {
    TForm owner;
    owner.Show();
    TForm dialog(&owner);
    int ticks = 0;
    bool ownerBlocked = false;
    TTimer timer;
    timer.SetInterval(10);
    timer.SetOnTimer([&](TObject*) {
        ++ticks;
        ownerBlocked = QApplication::activeModalWidget() == &dialog;
        if (ticks == 3)
            dialog.SetModalResult(mrOk);
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(ownerBlocked);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The window that was active when a modal form opened is active again once it closed, as a window manager
// would make it; with none, the keyboard would be nobody's.
TEST_F(FormsTest, ClosingAModalFormGivesTheKeyboardBackToTheWindowThatOpenedIt) {
    TForm owner;
    owner.BringToFrontAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    TForm dialog(&owner);
    TTimer timer;
    timer.SetInterval(10);
    timer.SetOnTimer([&](TObject*) {
        if (QApplication::activeWindow() == &dialog)
            dialog.SetModalResult(mrOk);
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    timer.SetEnabled(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &owner; }, 2000));
}

// A key that no control takes reaches OnKeyDown with its virtual-key code; one the handler leaves (Key not
// set to 0) goes on as unused.
TEST_F(FormsTest, KeysNoControlTakesReachOnKeyDown) {
    TForm form;
    std::vector<int> keys;
    form.OnKeyDown = [&](TObject*, std::uint16_t& Key, TShiftState Shift) {
        keys.push_back(Key | ((Shift & ssCtrl) != 0 ? 0x10000 : 0));
        if (Key == 0x1B)
            Key = 0;
    };
    form.BringToFrontAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_Escape);
    QTest::keyClick(&form, Qt::Key_F6);
    QTest::keyClick(&form, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(&form, Qt::Key_Left, Qt::KeypadModifier);
    EXPECT_EQ(keys, (std::vector<int>{0x1B, 0x75, 0x10052, 0x6D, 0x25}));
}

// A form with an owner stays above it: the window system is told it belongs to the owner's window (a tool
// window unless it is a dialog); a form without one is a plain window.
TEST_F(FormsTest, AnOwnedFormBelongsToItsOwnersWindow) {
    TForm owner;
    owner.Show();
    TForm companion(&owner);
    companion.SetBorderStyle(bsNone);
    companion.SetFormStyle(fsStayOnTop);
    TForm dialog(&owner);
    dialog.SetBorderStyle(bsDialog);
    for (TForm* form : {&companion, &dialog}) {
        form->Show();
        ASSERT_NE(form->windowHandle(), nullptr);
        EXPECT_EQ(form->windowHandle()->transientParent(), owner.windowHandle());
    }
    EXPECT_EQ(companion.windowType(), Qt::Tool);
    EXPECT_TRUE(companion.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(dialog.windowType(), Qt::Dialog);
    EXPECT_EQ(owner.windowType(), Qt::Window);
}

TEST_F(FormsTest, ModalFormClosedByTheUserAnswersCancelUnlessOnCloseKeepsIt) {
    TForm dialog;
    int closes = 0;
    dialog.OnClose = [&](TObject*, TCloseAction& action) {
        if (++closes == 1)
            action = caNone;
    };
    TTimer timer;
    timer.SetInterval(10);
    timer.SetOnTimer([&](TObject*) { dialog.Close(); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_EQ(closes, 2);
}

TEST_F(FormsTest, ApplicationHandleIsTheMainFormsWindow) {
    EXPECT_EQ(Application().Handle(), nullptr);
    TForm form;
    Application().SetMainForm(&form);
    EXPECT_EQ(Application().Handle(), form.Handle());
}

TEST_F(FormsTest, ApplicationHandleSetByTheCallerOwnsTheErrorBox) {
    TForm main;
    TForm caller;
    Application().SetMainForm(&main);
    Application().SetHandle(caller.Handle());
    EXPECT_EQ(Application().Handle(), caller.Handle());
    Application().ShowException(std::runtime_error("Wrong"));
    Application().SetHandle(nullptr);
    EXPECT_EQ(Application().Handle(), main.Handle());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Owner, caller.Handle());
}

// The call comes once the whole window was painted, its children too (a call made within the first paint
// would come before them); a paint of another window does not count.
TEST_F(FormsTest, CallAfterFirstPaintRunsOnceAfterTheWindowWasPainted) {
    TForm other;
    TForm form;
    form.resize(200, 120);
    TPanel cover(&form);
    cover.SetBounds(0, 0, 200, 120);
    const testing_support::PaintCounter coverPaints(&cover);
    int calls = 0;
    int paintsAtCall = -1;
    CallAfterFirstPaint(&form, 60000, [&] {
        ++calls;
        paintsAtCall = coverPaints.paints;
    });
    other.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0) << "another window's paint";
    form.Show();
    EXPECT_EQ(calls, 0) << "not within the show";
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls > 0; }));
    EXPECT_GE(paintsAtCall, 1);
    form.Hide();
    form.Show();
    form.repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
}

// A window that is never painted gets the call after the fallback time; its error goes to the error box.
TEST_F(FormsTest, CallAfterFirstPaintFallsBackForAWindowThatIsNotPainted) {
    std::vector<std::string> errors;
    Application().OnException = [&](TObject*, const std::exception& e) { errors.emplace_back(e.what()); };
    TForm form;
    int calls = 0;
    CallAfterFirstPaint(&form, 1, [&] {
        ++calls;
        throw EClassLibraryError("Cannot open file \"x\".");
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls > 0; }));
    EXPECT_EQ(errors, std::vector<std::string>{"Cannot open file \"x\"."});
    EXPECT_FALSE(form.isVisible());
}

TEST_F(FormsTest, CallAfterFirstPaintRunsNothingForAWindowThatIsGone) {
    int calls = 0;
    for (const bool shown : {false, true}) {
        auto form = std::make_unique<TForm>();
        CallAfterFirstPaint(form.get(), 1, [&] { ++calls; });
        if (shown)
            form->Show();
        form.reset();
        QTest::qWait(50); // well past the fallback time
    }
    EXPECT_EQ(calls, 0);
}

TEST_F(FormsTest, IconFontIsTheSystemsGeneralFont) {
    EXPECT_EQ(Screen().IconFont().Name(),
              QFontDatabase::systemFont(QFontDatabase::GeneralFont).family().toStdString());
    EXPECT_EQ(Screen().Width(), win32::GetSystemMetrics(win32::SM_CXSCREEN));
}

} // namespace
