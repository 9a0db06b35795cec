#include "core/MenuSettings.h"

void DisableMenuItems(const forms::TMenuItemArray& Items) {
    for (forms::TMenuItem* item : Items)
        item->SetEnabled(false);
}

void EnableMenuItems(const forms::TMenuItemArray& Items) {
    for (forms::TMenuItem* item : Items)
        item->SetEnabled(true);
}

void SetMenuItemsOnClick(const forms::TMenuItemArray& Items, const forms::TNotifyEvent& Handler) {
    for (forms::TMenuItem* item : Items)
        item->OnClick = Handler;
}

void LoadStayOnTopMenu(int, int, int, int, const forms::TMenuItemArray&) {}

void LoadVideoScaleMenu(const forms::TMenuItemArray&) {}
