#pragma once
// Settings-backed menus: the radio groups of the main window's menus and the items a command enables.

#include "platform/forms/Menus.h"

void DisableMenuItems(const forms::TMenuItemArray& Items);
void EnableMenuItems(const forms::TMenuItemArray& Items);
// Gives every item of Items the click handler Handler.
void SetMenuItemsOnClick(const forms::TMenuItemArray& Items, const forms::TNotifyEvent& Handler);

// Check the item of the stored setting (and, for stay-on-top, apply it to the window at Left, Top, Width,
// Height). Not built yet: they change nothing.
void LoadStayOnTopMenu(int Left, int Top, int Width, int Height, const forms::TMenuItemArray& Items);
void LoadVideoScaleMenu(const forms::TMenuItemArray& Items);
