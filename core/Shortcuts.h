#pragma once
// The 28 shortcut commands and the boss key. Command i has a [ShortCut] key in Default.ini, a menu item and
// an action of the main window (CommandMenuItems[i], CommandActions[i]): the action carries the key, the item
// only shows it, and the key runs what a click on the item runs. The boss key (command 24) is in addition a
// global hot key: it hides every window of the player and pauses, and on the next press shows them again and
// resumes.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/ActnList.h"
#include "platform/forms/Menus.h"
#include "platform/win32/Types.h"

inline constexpr int ShortCutCommandCount = 28;
// The [ShortCut] keys of the commands, in their fixed order.
extern const std::array<const char*, ShortCutCommandCount> ShortCutKeys;

// "Command=Key" for every command, the key being its default: what the options dialog restores. The same keys
// as the built-in Default.ini, so that restoring gives no key twice and no dead one.
const std::vector<std::string>& DefaultShortcutTable();

// A name of the hot-key tables with its value: MOD_ bits of a modifier, the virtual-key code of a key.
struct THotKeyName {
    std::string Name;
    int Value;
};
// The 7 modifier names and the 82 key names, in the order the options dialog lists them ("Del" stands twice).
const std::vector<THotKeyName>& HotKeyModifierNames();
const std::vector<THotKeyName>& HotKeyKeyNames();

// Gives menu item i and action i the key of [ShortCut] key i (none for a missing key or a text that names
// none); action i runs the click handler that item i has when the key is pressed, with the action as sender
// (nothing when the item has none).
void LoadShortCuts(const forms::TMenuItemArray& MenuItems, const std::vector<forms::TAction*>& Actions);

// Splits a shortcut text at its last "+" that is not its last character: "Ctrl+F12" gives "Ctrl" and "F12",
// "Ctrl+Num +" gives "Ctrl" and "Num +", "Num +" gives "" and "Num +".
void SplitShortCutText(const std::string& Text, std::string& ModifierText, std::string& KeyText);
// The MOD_ bits of a modifier name, the virtual-key code of a key name; -1 for a name the tables lack. Names
// are compared without regard to case, and each key takes both its spellings ("Page up" and "PgUp", "BKSP"
// and "BkSp").
int ModifierFromName(const std::string& Name);
int KeyFromName(const std::string& Name);

// Registers [ShortCut] BossKey as the global hot key BossKeyId of Wnd. A text the tables cannot read is not
// registered; a key that cannot be registered (another program has it, or there is no X11 display) is
// reported on the error output, and the program goes on (the key then works only as a shortcut of the
// player's windows).
void RegisterBossKey(win32::HWND Wnd);
// True when Modifiers with Key can be registered as the boss key. The boss key registered before is kept.
bool TestHotKey(win32::HWND Wnd, int Modifiers, int Key);
void UnregisterBossKey(win32::HWND Wnd);

// Hides every shown window of the player and pauses what plays, or shows exactly those windows again (each
// maximized, minimized or normal as it was) and resumes, at the rate it had, what the hiding paused. Pause
// and Resume are the main window's pause and resume commands, so that its display follows.
void ToggleBossKey(const std::function<void()>& Pause, const std::function<void()>& Resume);
