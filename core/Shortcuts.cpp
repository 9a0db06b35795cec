#include "core/Shortcuts.h"

#include <algorithm>
#include <iostream>

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/WindowUtils.h"
#include "platform/forms/StringList.h"
#include "platform/win32/HotKey.h"
#include "platform/win32/Window.h"

using namespace forms;

const std::array<const char*, ShortCutCommandCount> ShortCutKeys = {
    "OpenFile",    "OpenDvdDirectory", "Close",          "CaptureScreen", "Property",      "Play/Pause",
    "Stop",        "SingleFrameStep",  "PlayPrevious",   "PlayNext",      "Goto",          "Forward",
    "Backward",    "AcceleratePlay",   "DeceleratePlay", "NormalPlay",    "PreviousFrame", "NextFrame",
    "HoistVolume", "DebaseVolume",     "Slience",        "Stereo",        "LeftTrack",     "RightTrack",
    "BossKey",     "Option",           "PlayList",       "FullScreen"};

const std::vector<std::string>& DefaultShortcutTable() {
    static const std::vector<std::string> table = [] {
        // The [ShortCut] lines of the built-in settings text, in their order.
        std::vector<std::string> lines;
        const std::string& text = DefaultIniText();
        const std::string section = "[ShortCut]\r\n";
        std::size_t at = text.find(section);
        if (at == std::string::npos)
            return lines;
        at += section.size();
        while (at < text.size() && text[at] != '[') {
            const std::size_t end = text.find("\r\n", at);
            lines.push_back(text.substr(at, end - at));
            at = end == std::string::npos ? text.size() : end + 2;
        }
        return lines;
    }();
    return table;
}

const std::vector<THotKeyName>& HotKeyModifierNames() {
    static const std::vector<THotKeyName> names = {
        {"Alt", 1},        {"Ctrl", 2},      {"Shift", 4},          {"Ctrl+Alt", 3},
        {"Ctrl+Shift", 6}, {"Alt+Shift", 5}, {"Ctrl+Alt+Shift", 7},
    };
    return names;
}

const std::vector<THotKeyName>& HotKeyKeyNames() {
    static const std::vector<THotKeyName> names = [] {
        std::vector<THotKeyName> n;
        for (char c = 'A'; c <= 'Z'; ++c)
            n.push_back({std::string(1, c), c});
        n.insert(n.end(), {{"Left", 37}, {"Right", 39}, {"Del", 46}});
        for (int f = 1; f <= 12; ++f)
            n.push_back({"F" + std::to_string(f), 111 + f});
        for (int d = 0; d <= 9; ++d)
            n.push_back({"Num " + std::to_string(d), 96 + d});
        n.insert(n.end(), {{"Num +", 107}, {"Num -", 109}, {"Num *", 106}, {"Num /", 111}, {"Num Del", 110}});
        for (char c = '0'; c <= '9'; ++c)
            n.push_back({std::string(1, c), c});
        n.insert(n.end(), {{"Num Lock", 144},
                           {"Scroll Lock", 145},
                           {"Esc", 27},
                           {"Caps Lock", 20},
                           {"Enter", 13},
                           {"Tab", 9},
                           {"BKSP", 8},
                           {"Space", 32},
                           {"Page up", 33},
                           {"Page down", 34},
                           {"End", 35},
                           {"Home", 36},
                           {"Up", 38},
                           {"Down", 40},
                           {"Ins", 45},
                           {"Del", 46}});
        return n;
    }();
    return names;
}

void LoadShortCuts(const TMenuItemArray& MenuItems, const std::vector<TAction*>& Actions) {
    const std::size_t count = std::min({MenuItems.size(), Actions.size(), ShortCutKeys.size()});
    for (std::size_t i = 0; i < count; ++i) {
        const TShortCut key = TextToShortCut(ReadIniString("ShortCut", ShortCutKeys[i]));
        TMenuItem* item = MenuItems[i];
        item->SetShortCut(key);
        Actions[i]->SetShortCut(key);
        // The item's handler is taken when the key is pressed: whatever handler the item has by then (its
        // commands are bound to it on their own time) is what the key runs.
        Actions[i]->OnExecute = [item](TObject* Sender) {
            if (item->OnClick)
                item->OnClick(Sender);
        };
    }
}

void SplitShortCutText(const std::string& Text, std::string& ModifierText, std::string& KeyText) {
    ModifierText.clear();
    KeyText.clear();
    if (Text.empty())
        return;
    const std::size_t plus = Text.size() > 1 ? Text.find_last_of('+', Text.size() - 2) : std::string::npos;
    if (plus == std::string::npos) {
        KeyText = Text;
        return;
    }
    ModifierText = Text.substr(0, plus);
    KeyText = Text.substr(plus + 1);
}

namespace {

int FindName(const std::vector<THotKeyName>& Names, const std::string& Name) {
    for (const THotKeyName& entry : Names)
        if (SameText(entry.Name, Name))
            return entry.Value;
    return -1;
}

// The boss key's text, and its registration; false when it was not registered. Report tells on the error
// output why not.
bool RegisterStoredBossKey(win32::HWND Wnd, bool Report) {
    const std::string text = ReadIniString("ShortCut", "BossKey");
    std::string modifierText, keyText;
    SplitShortCutText(text, modifierText, keyText);
    // A key without a modifier (the options dialog's empty first choice) has none of the modifier bits.
    const int modifiers = modifierText.empty() ? 0 : ModifierFromName(modifierText);
    const int key = KeyFromName(keyText);
    if (modifiers < 0 || key < 0) {
        if (Report)
            std::cerr << "TarvexDVD: the boss key \"" << text
                      << "\" names no key that can be a global hot key\n";
        return false;
    }
    if (win32::RegisterHotKey(Wnd, State.BossKeyId, static_cast<win32::UINT>(modifiers),
                              static_cast<win32::UINT>(key)) == win32::FALSE) {
        if (Report)
            std::cerr << "TarvexDVD: the boss key \"" << text
                      << "\" could not be registered as a global hot key (another program holds it, or there "
                         "is no X11 display); it works only while a window of the player has the focus\n";
        return false;
    }
    return true;
}

} // namespace

int ModifierFromName(const std::string& Name) {
    return FindName(HotKeyModifierNames(), Name);
}

int KeyFromName(const std::string& Name) {
    const int value = FindName(HotKeyKeyNames(), Name);
    if (value >= 0)
        return value;
    // The other spellings, those of the shortcut texts ("BkSp" is "BKSP" already, without regard to case).
    static const std::vector<THotKeyName> otherSpellings = {{"PgUp", 33}, {"PgDn", 34}};
    return FindName(otherSpellings, Name);
}

void RegisterBossKey(win32::HWND Wnd) {
    RegisterStoredBossKey(Wnd, true);
}

bool TestHotKey(win32::HWND Wnd, int Modifiers, int Key) {
    const bool registered = Modifiers >= 0 && Key >= 0 &&
                            win32::RegisterHotKey(Wnd, State.BossKeyId, static_cast<win32::UINT>(Modifiers),
                                                  static_cast<win32::UINT>(Key)) != win32::FALSE;
    UnregisterBossKey(Wnd);
    // The test took the id from the boss key in use: it is given back, so that the key goes on working.
    RegisterStoredBossKey(Wnd, false);
    return registered;
}

void UnregisterBossKey(win32::HWND Wnd) {
    win32::UnregisterHotKey(Wnd, State.BossKeyId);
}

void ToggleBossKey(const std::function<void()>& Pause, const std::function<void()>& Resume) {
    if (!State.BossKeyHidden) {
        // The main window first, so that it is shown first again and the others (a dialog) come above it.
        State.BossKeyWindows.clear();
        for (win32::HWND window : win32::VisibleTopLevelWindows()) {
            const std::pair<win32::HWND, int> entry{window, GetShowCmd(window)};
            if (window == State.MainWindowHandle)
                State.BossKeyWindows.insert(State.BossKeyWindows.begin(), entry);
            else
                State.BossKeyWindows.push_back(entry);
        }
        for (const auto& [window, showCmd] : State.BossKeyWindows)
            win32::ShowWindow(window, win32::SW_HIDE);
        // Only what plays is paused, and only that is resumed later: a medium the user paused stays paused.
        State.BossKeyWasPlaying = State.IsPlaying && !State.IsPaused;
        State.BossKeyRate = State.PlayRate;
        if (State.BossKeyWasPlaying)
            Pause();
    } else {
        bool mainShown = false;
        for (const auto& [window, showCmd] : State.BossKeyWindows) {
            if (!win32::IsWindow(window))
                continue;
            switch (showCmd) {
            case win32::SW_SHOWMAXIMIZED:
                win32::ShowWindow(window, win32::SW_SHOWMAXIMIZED);
                break;
            case win32::SW_SHOWMINIMIZED:
                win32::ShowWindow(window, win32::SW_SHOWMINNOACTIVE);
                break;
            default:
                // Shown as it was, full screen included.
                win32::ShowWindow(window, win32::SW_SHOWNA);
                break;
            }
            mainShown = mainShown || window == State.MainWindowHandle;
        }
        State.BossKeyWindows.clear();
        if (mainShown)
            win32::SetForegroundWindow(State.MainWindowHandle);
        if (State.BossKeyWasPlaying && State.IsPlaying && State.IsPaused) {
            Resume();
            // Running again starts at the normal rate; the rate the medium played at is given back.
            const bool graphRate = State.PlayType == PlayTypes::MediaFile || State.PlayType == PlayTypes::Pip;
            if (graphRate && State.MediaSeeking && State.PlayRate != State.BossKeyRate &&
                com::SUCCEEDED(State.MediaSeeking->SetRate(State.BossKeyRate)))
                State.PlayRate = State.BossKeyRate;
        }
        State.BossKeyWasPlaying = false;
    }
    State.BossKeyHidden = !State.BossKeyHidden;
}
