#pragma once
// Global hot keys: a key combination that reaches a window of the program whichever program has the
// keyboard. RegisterHotKey and UnregisterHotKey go to one hot-key service:
// - on X11 (also XWayland) a passive grab of the key on the root window, made for every combination of the
//   lock modifiers (Caps Lock, Num Lock, Scroll Lock), so that a lock being on does not matter; its presses
//   come in through the program's native event filter. Under XWayland the X server sees the keyboard only
//   while a window of an X program has the focus, so there the key works only then;
// - without X11 (Qt's offscreen platform) a service that refuses every key;
// - in tests a recording fake.
// A press of a registered key posts WM_HOTKEY to its window: WParam the id, LParam the modifiers in the low
// word and the virtual-key code in the high word.

#include <string>
#include <vector>

#include "platform/win32/Types.h"

namespace win32 {

constexpr UINT MOD_ALT = 0x0001;
constexpr UINT MOD_CONTROL = 0x0002;
constexpr UINT MOD_SHIFT = 0x0004;
constexpr UINT MOD_WIN = 0x0008;

class HotKeyService {
public:
    virtual ~HotKeyService() = default;
    // Makes Modifiers (MOD_ bits) with Key (a virtual-key code) hot key Id of Window, in place of what Id was
    // before. False when the combination is held by another program, or Key names no key of the keyboard;
    // then Id has no key.
    virtual bool Register(HWND Window, int Id, UINT Modifiers, UINT Key) = 0;
    // False when Window had no hot key Id.
    virtual bool Unregister(HWND Window, int Id) = 0;
};

// The X11 service of the program's display (nothing can be registered when the program does not run on X11).
class X11HotKeyService : public HotKeyService {
public:
    X11HotKeyService();
    ~X11HotKeyService() override;
    bool Register(HWND Window, int Id, UINT Modifiers, UINT Key) override;
    bool Unregister(HWND Window, int Id) override;

private:
    struct Impl;
    Impl* impl_;
};

// Records "Register <id> <modifiers> <key>" and "Unregister <id>"; refuses combinations listed in Taken (held
// by another program). Press plays a key press as the desktop would deliver it.
class FakeHotKeyService : public HotKeyService {
public:
    bool Register(HWND Window, int Id, UINT Modifiers, UINT Key) override;
    bool Unregister(HWND Window, int Id) override;
    // Posts WM_HOTKEY to the window that registered the combination; false when none did.
    bool Press(UINT Modifiers, UINT Key) const;

    struct Registration {
        HWND Window;
        int Id;
        UINT Modifiers;
        UINT Key;
    };
    std::vector<Registration> Registered;
    std::vector<std::pair<UINT, UINT>> Taken;
    std::vector<std::string> Calls;
};

// The service in use: a FakeHotKeyService when QUOREL_HOTKEY=fake, else the X11 one.
HotKeyService& GetHotKeyService();
// Puts Service in use until the next call (tests); nullptr returns to the default. The caller keeps
// ownership.
void SetHotKeyService(HotKeyService* Service);

// Through the service in use. TRUE when the key was registered (unregistered).
BOOL RegisterHotKey(HWND Window, int Id, UINT Modifiers, UINT Key);
BOOL UnregisterHotKey(HWND Window, int Id);

} // namespace win32
