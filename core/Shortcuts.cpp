#include "core/Shortcuts.h"

void LoadShortCuts(const forms::TMenuItemArray&, const std::vector<forms::TAction*>&) {}

void RegisterBossKey(win32::HWND) {}

void UnregisterBossKey(win32::HWND) {}

void ToggleBossKey() {}
