#pragma once
// The 28 shortcut commands and the boss key. Not built yet: binding and the hot key do nothing.

#include <vector>

#include "platform/forms/ActnList.h"
#include "platform/forms/Menus.h"
#include "platform/win32/Types.h"

// Gives action i the [ShortCut] key of command i and, as its handler, the click handler of menu item i.
void LoadShortCuts(const forms::TMenuItemArray& MenuItems, const std::vector<forms::TAction*>& Actions);
// Registers [ShortCut] BossKey as the global hot key of Wnd; UnregisterBossKey takes it back.
void RegisterBossKey(win32::HWND Wnd);
void UnregisterBossKey(win32::HWND Wnd);
// Hides the player's windows and pauses, or shows them again and resumes. Not built yet.
void ToggleBossKey();
