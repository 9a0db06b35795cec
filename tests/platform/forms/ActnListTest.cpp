#include "platform/forms/ActnList.h"

#include <QTest>

#include <gtest/gtest.h>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
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

} // namespace
