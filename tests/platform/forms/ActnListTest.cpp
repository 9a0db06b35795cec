#include "platform/forms/ActnList.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/WinControls.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace {

class ActionListTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        main.Show();
        list = new TActionList(&main);
    }
    TAction* Action(const std::string& name, const char* key) {
        auto* action = new TAction(&main);
        action->SetName(name);
        action->SetShortCut(TextToShortCut(key));
        action->SetActionList(list);
        action->OnExecute = [this, name](TObject*) { ran.push_back(name); };
        return action;
    }
    void Press(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, key, modifiers);
    }
    TForm main;
    TActionList* list = nullptr;
    std::vector<std::string> ran;
};

TEST_F(ActionListTest, KeyWorksInAnyWindowOfTheProgram) {
    Action("aPlayList", "Ctrl+L");
    TForm other;
    other.Show();
    Press(other, Qt::Key_L, Qt::ControlModifier);
    Press(main, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(ran, (std::vector<std::string>{"aPlayList", "aPlayList"}));
}

TEST_F(ActionListTest, FirstActionOfASharedKeyGetsIt) {
    Action("aStereo", "F10");
    Action("aOption", "F10");
    Press(main, Qt::Key_F10);
    EXPECT_EQ(ran, (std::vector<std::string>{"aStereo"}));
}

TEST_F(ActionListTest, DisabledActionDoesNothingAndNewKeysTakeEffect) {
    TAction* stop = Action("aStop", "Ctrl+S");
    stop->SetEnabled(false);
    Press(main, Qt::Key_S, Qt::ControlModifier);
    stop->SetEnabled(true);
    stop->SetShortCut(TextToShortCut("F5"));
    Press(main, Qt::Key_S, Qt::ControlModifier);
    Press(main, Qt::Key_F5);
    EXPECT_EQ(ran, (std::vector<std::string>{"aStop"}));
}

TEST_F(ActionListTest, KeyWorksWhileTheMenuItemShowingItIsDisabledOrHidden) {
    TAction* stop = Action("aStop", "Ctrl+S");
    // The menu item that shows the same command and key (disabled while nothing plays).
    TPopupMenu menu(&main);
    auto* item = new TMenuItem(&menu);
    item->SetCaption("pStop");
    item->SetShortCut(stop->ShortCut());
    int clicks = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    menu.Items()->Add(item);
    // The item only shows the key: enabled, it takes no key press from the action (nor makes it ambiguous).
    Press(main, Qt::Key_S, Qt::ControlModifier);
    item->SetEnabled(false);
    Press(main, Qt::Key_S, Qt::ControlModifier);
    item->SetVisible(false);
    Press(main, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ran, (std::vector<std::string>{"aStop", "aStop", "aStop"}));
    EXPECT_EQ(clicks, 0);
}

TEST_F(ActionListTest, NoActionWhileAModalDialogIsOpen) {
    Action("aOpenFile", "Ctrl+O");
    TForm dialog;
    TTimer timer;
    timer.SetInterval(20);
    timer.SetOnTimer([&](TObject*) {
        timer.SetEnabled(false);
        QTest::keyClick(&dialog, Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(&main, Qt::Key_O, Qt::ControlModifier);
        dialog.SetModalResult(mrOk);
    });
    dialog.ShowModal();
    EXPECT_TRUE(ran.empty());
    EXPECT_FALSE(list->HandleShortCut(0));
}

// Keys that shortcuts of the list have (Down lowers the volume, Enter switches full screen) in an open
// drop-down list: they move in it and choose, in a modal dialog as in a window of the program, and no action
// runs.
class KeysOfAnOpenList : public ActionListTest, public ::testing::WithParamInterface<bool> {};

TEST_P(KeysOfAnOpenList, GoToTheList) {
    const bool modal = GetParam();
    Action("aDebaseVolume", "Down");
    Action("aFullScreen", "Enter");
    TForm window;
    auto* combo = new TComboBox(&window);
    combo->SetBounds(10, 10, 150, 22);
    for (const char* item : {"从最后位置继续播放", "从头播放", "播放前提示"})
        combo->Add(item);
    combo->SetItemIndex(0);
    int closeUps = 0;
    combo->OnCloseUp = [&](TObject*) { ++closeUps; };
    auto pick = [&] {
        combo->SetDroppedDown(true);
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        QWidget* list = popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
    };
    if (modal) {
        TTimer timer;
        timer.SetInterval(20);
        timer.SetOnTimer([&](TObject*) {
            timer.SetEnabled(false);
            pick();
            window.SetModalResult(mrOk);
        });
        window.ShowModal();
    } else {
        window.Show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        pick();
    }
    // The list tells it closed once it has.
    QCoreApplication::processEvents();
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(closeUps, 1);
    EXPECT_TRUE(ran.empty()) << ran.front();
}

INSTANTIATE_TEST_SUITE_P(InADialogAndInAWindow, KeysOfAnOpenList, ::testing::Values(true, false),
                         [](const auto& Info) { return Info.param ? "Modal" : "NotModal"; });

// A list with the focus keeps the keys it moves with; the same key acts as a shortcut once the focus is
// elsewhere in the window.
TEST_F(ActionListTest, AFocusedListKeepsItsKeys) {
    Action("aDebaseVolume", "Down");
    TForm window;
    auto* list = new QListWidget(&window);
    list->addItems({"clip1.avi", "clip2.avi", "clip3.avi"});
    list->setCurrentRow(0);
    auto* button = new TButton(&window);
    button->SetBounds(200, 10, 80, 23);
    window.Show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(ran.empty());
    QWidget* push = button->findChild<QWidget*>();
    push->setFocus();
    QTest::keyClick(push, Qt::Key_Down);
    EXPECT_EQ(ran, (std::vector<std::string>{"aDebaseVolume"}));
    EXPECT_EQ(list->currentRow(), 1);
}

// A key whose action does not run (disabled, or without a handler) goes to the focused control as if no
// shortcut had it; an action that runs takes the key from it.
TEST_F(ActionListTest, AKeyWhoseActionDoesNotRunReachesTheFocusedControl) {
    TAction* down = Action("aDebaseVolume", "Down");
    auto* combo = new TComboBox(&main);
    combo->SetBounds(10, 10, 150, 22);
    for (const char* item : {"0", "1", "2", "3"})
        combo->Add(item);
    combo->SetItemIndex(0);
    QWidget* box = combo->findChild<QComboBox*>();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(combo->ItemIndex(), 0) << "the action runs and has the key";
    down->SetEnabled(false);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(combo->ItemIndex(), 1);
    down->SetEnabled(true);
    down->OnExecute = nullptr;
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(ran, (std::vector<std::string>{"aDebaseVolume"}));
}

} // namespace
