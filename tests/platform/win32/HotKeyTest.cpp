// Global hot keys. The X11 service runs against a private X server of the test's own (the keys of the
// machine's display are never grabbed); key presses come from xdotool, as a user's would through the server.

#include "platform/win32/HotKey.h"

#include <cstdlib>
#include <memory>
#include <string>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include "platform/win32/Window.h"
#include "tests/support/QtApp.h"

using namespace win32;

namespace {

struct Received {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    friend bool operator==(const Received&, const Received&) = default;
};

class Receiver : public QWidget {
public:
    std::vector<Received> received;

protected:
    bool event(QEvent* e) override {
        if (e->type() != MessageEvent::EventType)
            return QWidget::event(e);
        auto* m = static_cast<MessageEvent*>(e);
        received.push_back({m->Msg, m->WParam, m->LParam});
        m->accept();
        return true;
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_F12 && e->modifiers() == Qt::ControlModifier)
            ++keys;
    }

public:
    int keys = 0;
};

const std::string& Display() {
    return testing_support::EnsureQApplicationOnPrivateDisplay();
}

constexpr UINT VK_F11 = 122;
constexpr UINT VK_F12 = 123;

class X11HotKeyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // This program's only application object runs on the private server.
        ASSERT_FALSE(Display().empty()) << "Xvfb did not start";
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    }
    // Presses Keys (xdotool's names) on the private server and gives the program time to see them.
    static void Press(const std::string& Keys) {
        const std::string command = "DISPLAY=" + Display() + " xdotool key " + Keys;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    bool WaitForMessages(std::size_t Count) {
        return QTest::qWaitFor([&] { return window.received.size() >= Count; }, 5000);
    }

    Receiver window;
    X11HotKeyService service;
    const HWND handle = HandleOf(&window);
};

TEST_F(X11HotKeyTest, APressOfTheKeyPostsHotKeyWithItsIdWhateverLockIsOnOrHasTheFocus) {
    ASSERT_TRUE(service.Register(handle, 1, MOD_CONTROL, VK_F12));
    // A window of the program has the keyboard: the key still comes as the hot key, not to the window.
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const Received boss{WM_HOTKEY, 1, static_cast<LPARAM>(VK_F12 << 16 | MOD_CONTROL)};
    Press("ctrl+F12");
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(window.received.back(), boss);
    // Num Lock and Caps Lock on change nothing.
    Press("Num_Lock Caps_Lock ctrl+F12 Num_Lock Caps_Lock");
    ASSERT_TRUE(WaitForMessages(2));
    EXPECT_EQ(window.received.back(), boss);
    // Other modifiers or another key are not the hot key.
    Press("ctrl+alt+F12 F12 ctrl+F11");
    QTest::qWait(300);
    EXPECT_EQ(window.received.size(), 2u);
    EXPECT_EQ(window.keys, 0) << "the hot key reached the window as a key press too";
}

TEST_F(X11HotKeyTest, UnregisteredKeyArrivesNoMoreAndANewRegistrationTakesTheIdsPlace) {
    ASSERT_TRUE(service.Register(handle, 1, MOD_CONTROL, VK_F12));
    ASSERT_TRUE(service.Register(handle, 1, MOD_CONTROL | MOD_SHIFT, 'B'));
    Press("ctrl+F12 ctrl+shift+b");
    ASSERT_TRUE(WaitForMessages(1));
    QTest::qWait(200);
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].LParam, static_cast<LPARAM>('B' << 16 | MOD_CONTROL | MOD_SHIFT));
    EXPECT_TRUE(service.Unregister(handle, 1));
    EXPECT_FALSE(service.Unregister(handle, 1));
    Press("ctrl+shift+b");
    QTest::qWait(300);
    EXPECT_EQ(window.received.size(), 1u);
}

// Another client of the server that holds a combination makes its registration fail; once it lets go the
// key can be had.
TEST_F(X11HotKeyTest, AKeyAnotherProgramHoldsCannotBeRegistered) {
    xcb_connection_t* other = xcb_connect(Display().c_str(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(other), 0);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    // F11's keycode on the server: the one the service will look up too.
    Press("F11"); // nothing holds it yet: a plain press reaches nobody
    ASSERT_TRUE(service.Register(handle, 7, MOD_CONTROL, VK_F11));
    ASSERT_TRUE(service.Unregister(handle, 7));
    // Grab Ctrl+F11 (every keycode that gives F11) for the other client, with no lock on.
    std::vector<xcb_keycode_t> codes;
    {
        const xcb_setup_t* setup = xcb_get_setup(other);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto* map = xcb_get_keyboard_mapping_reply(
            other, xcb_get_keyboard_mapping(other, setup->min_keycode, static_cast<std::uint8_t>(count)),
            nullptr);
        ASSERT_NE(map, nullptr);
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
        for (int i = 0; i < count; ++i)
            for (int c = 0; c < map->keysyms_per_keycode; ++c)
                if (syms[i * map->keysyms_per_keycode + c] == 0xFFC8) // F11
                    codes.push_back(static_cast<xcb_keycode_t>(setup->min_keycode + i));
        std::free(map);
    }
    ASSERT_FALSE(codes.empty());
    for (xcb_keycode_t code : codes)
        ASSERT_EQ(xcb_request_check(other, xcb_grab_key_checked(other, 1, root, XCB_MOD_MASK_CONTROL, code,
                                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)),
                  nullptr);
    EXPECT_FALSE(service.Register(handle, 7, MOD_CONTROL, VK_F11));
    Press("ctrl+F11");
    QTest::qWait(300);
    EXPECT_TRUE(window.received.empty());
    // The refused registration left the other client's grab alone and holds nothing itself.
    EXPECT_FALSE(service.Unregister(handle, 7));
    xcb_disconnect(other);
    QTest::qWait(100);
    EXPECT_TRUE(service.Register(handle, 7, MOD_CONTROL, VK_F11));
    Press("ctrl+F11");
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(window.received[0].WParam, 7u);
}

TEST_F(X11HotKeyTest, AKeyCodeThatNamesNoKeyIsRefused) {
    EXPECT_FALSE(service.Register(handle, 1, MOD_CONTROL, 0xFF));
    EXPECT_FALSE(service.Unregister(handle, 1));
}

TEST_F(X11HotKeyTest, ServiceInUseIsTheFakeWhileATestSetsIt) {
    FakeHotKeyService fake;
    fake.Taken.emplace_back(MOD_CONTROL, VK_F11);
    SetHotKeyService(&fake);
    EXPECT_EQ(RegisterHotKey(handle, 1, MOD_CONTROL, VK_F12), TRUE);
    EXPECT_EQ(RegisterHotKey(handle, 2, MOD_CONTROL, VK_F11), FALSE);
    EXPECT_TRUE(fake.Press(MOD_CONTROL, VK_F12));
    EXPECT_FALSE(fake.Press(MOD_CONTROL, VK_F11));
    EXPECT_EQ(UnregisterHotKey(handle, 1), TRUE);
    EXPECT_FALSE(fake.Press(MOD_CONTROL, VK_F12));
    SetHotKeyService(nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.received,
              (std::vector<Received>{{WM_HOTKEY, 1, static_cast<LPARAM>(VK_F12 << 16 | 2)}}));
    EXPECT_EQ(fake.Calls, (std::vector<std::string>{"Register 1 2 123", "Register 2 2 122", "Unregister 1"}));
}

} // namespace
