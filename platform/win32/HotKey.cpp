#include "platform/win32/HotKey.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include "platform/win32/FakeLog.h"
#include "platform/win32/Window.h"

namespace win32 {

namespace {

LPARAM HotKeyParam(UINT Modifiers, UINT Key) {
    return static_cast<LPARAM>((Key & 0xFFFF) << 16 | (Modifiers & 0xFFFF));
}

// The X keysyms of a virtual-key code; Enter is both the main and the keypad key.
std::vector<xcb_keysym_t> KeysymsOf(UINT Key) {
    if (Key >= '0' && Key <= '9')
        return {Key};
    if (Key >= 'A' && Key <= 'Z')
        return {Key - 'A' + 'a'};
    if (Key >= 0x60 && Key <= 0x69) // Num 0 .. Num 9
        return {0xFFB0 + (Key - 0x60)};
    if (Key >= 0x70 && Key <= 0x87) // F1 .. F24
        return {0xFFBE + (Key - 0x70)};
    struct Named {
        UINT Key;
        xcb_keysym_t Sym;
    };
    static constexpr Named named[] = {
        {0x08, 0xFF08}, {0x09, 0xFF09}, {0x13, 0xFF13}, {0x14, 0xFFE5}, {0x1B, 0xFF1B}, {0x20, 0x0020},
        {0x21, 0xFF55}, {0x22, 0xFF56}, {0x23, 0xFF57}, {0x24, 0xFF50}, {0x25, 0xFF51}, {0x26, 0xFF52},
        {0x27, 0xFF53}, {0x28, 0xFF54}, {0x2D, 0xFF63}, {0x2E, 0xFFFF}, {0x6A, 0xFFAA}, {0x6B, 0xFFAB},
        {0x6D, 0xFFAD}, {0x6E, 0xFFAE}, {0x6F, 0xFFAF}, {0x90, 0xFF7F}, {0x91, 0xFF14},
    };
    if (Key == 0x0D)
        return {0xFF0D, 0xFF8D};
    for (const Named& n : named)
        if (n.Key == Key)
            return {n.Sym};
    return {};
}

constexpr std::uint16_t kUsedModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

std::uint16_t X11Modifiers(UINT Modifiers) {
    std::uint16_t mask = 0;
    if (Modifiers & MOD_SHIFT)
        mask |= XCB_MOD_MASK_SHIFT;
    if (Modifiers & MOD_CONTROL)
        mask |= XCB_MOD_MASK_CONTROL;
    if (Modifiers & MOD_ALT)
        mask |= XCB_MOD_MASK_1;
    if (Modifiers & MOD_WIN)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

} // namespace

struct X11HotKeyService::Impl : public QAbstractNativeEventFilter {
    struct Grab {
        HWND Window;
        int Id;
        UINT Modifiers;
        UINT Key;
        std::vector<xcb_keycode_t> Keycodes;
        std::uint16_t Mask;
    };

    Impl() {
        auto* x11 =
            qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (x11 == nullptr || x11->connection() == nullptr)
            return;
        connection = x11->connection();
        const xcb_setup_t* setup = xcb_get_setup(connection);
        xcb_screen_iterator_t screen = xcb_setup_roots_iterator(setup);
        if (screen.rem == 0) {
            connection = nullptr;
            return;
        }
        root = screen.data->root;
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~Impl() override {
        while (!grabs.empty())
            Release(grabs.front().Window, grabs.front().Id);
        if (connection != nullptr && QCoreApplication::instance() != nullptr)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    // Every keycode that gives one of Syms, in any column of the keyboard map.
    std::vector<xcb_keycode_t> KeycodesOf(const std::vector<xcb_keysym_t>& Syms) const {
        std::vector<xcb_keycode_t> codes;
        const xcb_setup_t* setup = xcb_get_setup(connection);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> map(
            xcb_get_keyboard_mapping_reply(
                connection,
                xcb_get_keyboard_mapping(connection, setup->min_keycode, static_cast<std::uint8_t>(count)),
                nullptr),
            &std::free);
        if (!map)
            return codes;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
        const int perCode = map->keysyms_per_keycode;
        for (int i = 0; i < count; ++i)
            for (int column = 0; column < perCode; ++column)
                if (std::find(Syms.begin(), Syms.end(), syms[i * perCode + column]) != Syms.end()) {
                    codes.push_back(static_cast<xcb_keycode_t>(setup->min_keycode + i));
                    break;
                }
        return codes;
    }

    // The modifier masks of the lock keys as the keyboard maps them now; every combination of them, none
    // included.
    std::vector<std::uint16_t> LockCombinations() const {
        std::uint16_t locks[3] = {XCB_MOD_MASK_LOCK, 0, 0};
        const std::vector<xcb_keycode_t> numLock = KeycodesOf({0xFF7F});
        const std::vector<xcb_keycode_t> scrollLock = KeycodesOf({0xFF14});
        std::unique_ptr<xcb_get_modifier_mapping_reply_t, decltype(&std::free)> map(
            xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr),
            &std::free);
        if (map) {
            const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map.get());
            const int perModifier = map->keycodes_per_modifier;
            for (int modifier = 0; modifier < 8; ++modifier)
                for (int i = 0; i < perModifier; ++i) {
                    const xcb_keycode_t code = codes[modifier * perModifier + i];
                    if (code == 0)
                        continue;
                    const auto mask = static_cast<std::uint16_t>(1u << modifier);
                    if (std::find(numLock.begin(), numLock.end(), code) != numLock.end())
                        locks[1] = mask;
                    if (std::find(scrollLock.begin(), scrollLock.end(), code) != scrollLock.end())
                        locks[2] = mask;
                }
        }
        std::vector<std::uint16_t> combinations;
        for (int subset = 0; subset < 8; ++subset) {
            std::uint16_t mask = 0;
            for (int bit = 0; bit < 3; ++bit)
                if (subset & (1 << bit))
                    mask |= locks[bit];
            if (std::find(combinations.begin(), combinations.end(), mask) == combinations.end())
                combinations.push_back(mask);
        }
        return combinations;
    }

    void Ungrab(const Grab& G) {
        for (std::uint16_t lock : LockCombinations())
            for (xcb_keycode_t code : G.Keycodes)
                xcb_ungrab_key(connection, code, root, static_cast<std::uint16_t>(G.Mask | lock));
        xcb_flush(connection);
    }

    bool Release(HWND Window, int Id) {
        auto it = std::find_if(grabs.begin(), grabs.end(),
                               [&](const Grab& G) { return G.Window == Window && G.Id == Id; });
        if (it == grabs.end())
            return false;
        const Grab grab = *it;
        grabs.erase(it);
        Ungrab(grab);
        return true;
    }

    bool Take(HWND Window, int Id, UINT Modifiers, UINT Key) {
        Release(Window, Id);
        if (connection == nullptr)
            return false;
        Grab grab{Window, Id, Modifiers, Key, KeycodesOf(KeysymsOf(Key)), X11Modifiers(Modifiers)};
        if (grab.Keycodes.empty())
            return false;
        // Not owner_events: the press comes to the root window also while a window of the program has the focus
        // (a modal dialog, which would keep it from its shortcuts).
        std::vector<xcb_void_cookie_t> cookies;
        for (std::uint16_t lock : LockCombinations())
            for (xcb_keycode_t code : grab.Keycodes)
                cookies.push_back(xcb_grab_key_checked(connection, 0, root,
                                                       static_cast<std::uint16_t>(grab.Mask | lock), code,
                                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        // Another client holding any of the combinations answers BadAccess: then the key is not ours.
        bool refused = false;
        for (const xcb_void_cookie_t& cookie : cookies)
            if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
                refused = true;
                std::free(error);
            }
        if (refused) {
            Ungrab(grab);
            return false;
        }
        grabs.push_back(std::move(grab));
        return true;
    }

    bool nativeEventFilter(const QByteArray& EventType, void* Message, qintptr*) override {
        if (EventType != "xcb_generic_event_t")
            return false;
        auto* event = static_cast<xcb_generic_event_t*>(Message);
        const std::uint8_t type = event->response_type & 0x7F;
        if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
            return false;
        auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
        if (key->event != root)
            return false;
        for (const Grab& grab : grabs) {
            if (std::find(grab.Keycodes.begin(), grab.Keycodes.end(), key->detail) == grab.Keycodes.end() ||
                (key->state & kUsedModifiers) != grab.Mask)
                continue;
            if (type == XCB_KEY_PRESS)
                PostMessage(grab.Window, WM_HOTKEY, static_cast<WPARAM>(grab.Id),
                            HotKeyParam(grab.Modifiers, grab.Key));
            return true;
        }
        return false;
    }

    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
    std::vector<Grab> grabs;
};

X11HotKeyService::X11HotKeyService() : impl_(new Impl) {}

X11HotKeyService::~X11HotKeyService() {
    delete impl_;
}

bool X11HotKeyService::Register(HWND Window, int Id, UINT Modifiers, UINT Key) {
    return impl_->Take(Window, Id, Modifiers, Key);
}

bool X11HotKeyService::Unregister(HWND Window, int Id) {
    return impl_->Release(Window, Id);
}

bool FakeHotKeyService::Register(HWND Window, int Id, UINT Modifiers, UINT Key) {
    Calls.push_back("Register " + std::to_string(Id) + " " + std::to_string(Modifiers) + " " +
                    std::to_string(Key));
    AppendFakeLog("HotKey " + Calls.back());
    std::erase_if(Registered, [&](const Registration& R) { return R.Window == Window && R.Id == Id; });
    if (std::find(Taken.begin(), Taken.end(), std::pair{Modifiers, Key}) != Taken.end())
        return false;
    Registered.push_back({Window, Id, Modifiers, Key});
    return true;
}

bool FakeHotKeyService::Unregister(HWND Window, int Id) {
    Calls.push_back("Unregister " + std::to_string(Id));
    AppendFakeLog("HotKey " + Calls.back());
    return std::erase_if(Registered,
                         [&](const Registration& R) { return R.Window == Window && R.Id == Id; }) > 0;
}

bool FakeHotKeyService::Press(UINT Modifiers, UINT Key) const {
    for (const Registration& r : Registered)
        if (r.Modifiers == Modifiers && r.Key == Key)
            return PostMessage(r.Window, WM_HOTKEY, static_cast<WPARAM>(r.Id), HotKeyParam(Modifiers, Key)) !=
                   FALSE;
    return false;
}

namespace {

HotKeyService* chosenService = nullptr;

HotKeyService& DefaultHotKeyService() {
    // Made at first use, once the application object exists; never destroyed, as its grabs end with the
    // program's connection to the display.
    static HotKeyService* const service = []() -> HotKeyService* {
        if (FakeRequested("QUOREL_HOTKEY"))
            return new FakeHotKeyService();
        return new X11HotKeyService();
    }();
    return *service;
}

} // namespace

HotKeyService& GetHotKeyService() {
    return chosenService != nullptr ? *chosenService : DefaultHotKeyService();
}

void SetHotKeyService(HotKeyService* Service) {
    chosenService = Service;
}

BOOL RegisterHotKey(HWND Window, int Id, UINT Modifiers, UINT Key) {
    return GetHotKeyService().Register(Window, Id, Modifiers, Key) ? TRUE : FALSE;
}

BOOL UnregisterHotKey(HWND Window, int Id) {
    return GetHotKeyService().Unregister(Window, Id) ? TRUE : FALSE;
}

} // namespace win32
