// The 28 shortcut commands and the boss key of the main window.

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/DialogLaunchers.h"
#include "core/PlaybackState.h"
#include "core/Shortcuts.h"
#include "core/Transport.h"
#include "core/WindowUtils.h"
#include "platform/win32/HotKey.h"
#include "platform/win32/Window.h"
#include "tests/support/CaseName.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/AboutForm.h"

namespace {

using namespace ui_testing;

constexpr win32::UINT VK_F12 = 123;

void NoProperty(win32::HWND, std::int32_t, const char*, const char*, std::int32_t, std::int32_t, double,
                std::int32_t) {}
void NoGoto(win32::HWND, std::int32_t, std::int64_t, std::int32_t, std::int64_t*, std::uint8_t* Cancelled) {
    *Cancelled = 1;
}

class KeysTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        win32::SetHotKeyService(&hotKeys);
        MediaPropertyForm = &NoProperty;
        GotoMediaForm = &NoGoto;
    }
    void TearDown() override {
        MainFormTest::TearDown();
        Application().SetHandle(nullptr);
        win32::SetHotKeyService(nullptr);
        MediaPropertyForm = &CreateMediaPropertyForm;
        GotoMediaForm = &CreateGotoMediaForm;
    }
    void Press(QWidget& Window, Qt::Key Key, Qt::KeyboardModifiers Modifiers) {
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
        QTest::keyClick(&Window, Key, Modifiers);
    }
    // The boss key as the desktop delivers it.
    void PressBossKey() {
        ASSERT_TRUE(hotKeys.Press(win32::MOD_CONTROL, VK_F12));
        QCoreApplication::processEvents();
    }
    void PlayClip() {
        chosenFiles = {LongClip()};
        form->Open_xi->Click();
        ASSERT_TRUE(State.IsPlaying);
    }

    win32::FakeHotKeyService hotKeys;
};

struct Key {
    int command;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

// The default keys, in an order that keeps a medium open as long as can be: stop, close and opening come
// last.
const Key kDefaultKeys[] = {
    {3, Qt::Key_F6, {}},
    {4, Qt::Key_P, Qt::ControlModifier | Qt::AltModifier},
    {5, Qt::Key_Space, {}},
    {5, Qt::Key_Space, {}},
    {7, Qt::Key_F11, {}},
    {10, Qt::Key_G, Qt::ControlModifier},
    {11, Qt::Key_Right, Qt::ControlModifier},
    {12, Qt::Key_Left, Qt::ControlModifier},
    {13, Qt::Key_Up, Qt::ControlModifier},
    {14, Qt::Key_Down, Qt::ControlModifier},
    {15, Qt::Key_R, Qt::ControlModifier},
    {16, Qt::Key_Left, {}},
    {17, Qt::Key_Right, {}},
    {18, Qt::Key_Up, {}},
    {19, Qt::Key_Down, {}},
    {20, Qt::Key_M, Qt::ControlModifier},
    {20, Qt::Key_M, Qt::ControlModifier},
    {21, Qt::Key_F10, {}},
    {22, Qt::Key_L, Qt::AltModifier},
    {23, Qt::Key_R, Qt::AltModifier},
    {25, Qt::Key_O, Qt::ControlModifier | Qt::AltModifier},
    {26, Qt::Key_L, Qt::ControlModifier},
    {27, Qt::Key_Return, {}},
    {27, Qt::Key_Enter, Qt::KeypadModifier},
    {24, Qt::Key_F12, Qt::ControlModifier},
    {8, Qt::Key_PageUp, {}},
    {9, Qt::Key_PageDown, {}},
    {6, Qt::Key_S, Qt::ControlModifier},
    {2, Qt::Key_C, Qt::ControlModifier},
    {1, Qt::Key_D, Qt::ControlModifier},
    {0, Qt::Key_O, Qt::ControlModifier},
};

struct KeysCase {
    const char* name;
    bool playing;
};

class EveryKey : public KeysTest, public ::testing::WithParamInterface<KeysCase> {};

// Each key runs, once, what a click on its command's menu item runs, with the command's action as the sender,
// whatever the state; a dialog a command opens is closed at once.
TEST_P(EveryKey, ReachesItsMenuItemsHandler) {
    WriteIni(DefaultIniText());
    Run();
    Application().SetHandle(form->Handle());
    if (GetParam().playing)
        PlayClip();
    std::vector<std::pair<int, TObject*>> ran;
    for (int i = 0; i < ShortCutCommandCount; ++i) {
        TMenuItem* item = form->CommandMenuItems[static_cast<std::size_t>(i)];
        item->OnClick = [&ran, i, handler = item->OnClick](TObject* Sender) {
            ran.emplace_back(i, Sender);
            if (handler)
                handler(Sender);
        };
    }
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    closer.start(20);
    std::vector<std::pair<int, TObject*>> expected;
    for (const Key& key : kDefaultKeys) {
        Press(*form, key.key, key.modifiers);
        expected.emplace_back(key.command, form->CommandActions[static_cast<std::size_t>(key.command)]);
        if (key.command == 24) {
            // The boss key hid every window; the desktop's hot key brings them back.
            EXPECT_FALSE(form->isVisible());
            PressBossKey();
            EXPECT_TRUE(form->isVisible());
        }
    }
    EXPECT_EQ(ran, expected);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

INSTANTIATE_TEST_SUITE_P(States, EveryKey,
                         ::testing::Values(KeysCase{"NothingOpen", false}, KeysCase{"FilePlaying", true}),
                         testing_support::CaseName());

TEST_F(KeysTest, StartUpRegistersTheBossKeyAndTheCloseTakesItBack) {
    WriteIni(DefaultsWith("BossKey", "Ctrl+Alt+B"));
    Run();
    EXPECT_EQ(hotKeys.Calls, (std::vector<std::string>{"Register 1 3 66"}));
    ASSERT_EQ(hotKeys.Registered.size(), 1u);
    EXPECT_EQ(hotKeys.Registered[0].Window, form->Handle());
    CloseForm();
    EXPECT_EQ(hotKeys.Calls.back(), "Unregister 1");
    EXPECT_TRUE(hotKeys.Registered.empty());
}

// Hidden and shown again through the pause and resume commands: the display says what plays; the rate stays.
TEST_F(KeysTest, BossKeyHidesAndPausesThenShowsAndResumesWithTheDisplayInStep) {
    Run();
    form->showMaximized();
    PlayClip();
    std::string rateText;
    PlayFaster(State.PlayRate, rateText);
    const double rate = State.PlayRate;
    ASSERT_GT(rate, 1.0);
    PressBossKey();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(State.IsPaused);
    EXPECT_EQ(form->Status_L->Caption(), "暂停");
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Play_Normal_Btn.bmp"));
    PressBossKey();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMaximized());
    EXPECT_FALSE(State.IsPaused);
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
    EXPECT_TRUE(form->Ctrl_T->Enabled());
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Pause_Normal_Btn.bmp"));
    EXPECT_EQ(State.PlayRate, rate);
    // Paused by the user, it stays paused.
    form->PauseCommand();
    PressBossKey();
    PressBossKey();
    EXPECT_TRUE(State.IsPaused);
    // The menu item toggles as the key does; another hot key id does nothing.
    form->pBosskey->Click();
    EXPECT_FALSE(form->isVisible());
    win32::SendMessage(form->Handle(), win32::WM_HOTKEY, 2, 0);
    EXPECT_FALSE(form->isVisible());
    form->pBosskey->Click();
    EXPECT_TRUE(form->isVisible());
}

// A modal dialog over the main window goes and comes back with it; its modal loop goes on meanwhile.
TEST_F(KeysTest, BossKeyHidesAnOpenDialogToo) {
    Run();
    std::vector<bool> seen;
    QTimer::singleShot(50, [&] {
        QWidget* about = QApplication::activeModalWidget();
        ASSERT_NE(about, nullptr);
        PressBossKey();
        seen.push_back(about->isVisible() || form->isVisible());
        PressBossKey();
        seen.push_back(about->isVisible() && form->isVisible());
        seen.push_back(QApplication::activeModalWidget() == about);
        about->close();
    });
    ShowAboutDialog(form->Handle(), 2);
    EXPECT_EQ(seen, (std::vector<bool>{false, true, true}));
}

} // namespace
