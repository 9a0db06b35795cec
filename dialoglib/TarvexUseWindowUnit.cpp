// The exports of the dialog library. Until the dialogs are built, every call with a window handle reports
// the result of a dialog closed without a choice.

#include "dialoglib/TarvexUseWindow.h"

extern "C" {

void CreateShutDownDelayForm(win32::HWND, std::int32_t) {}

void CreateManageHistoryForm(win32::HWND AppHandle, const forms::TStringList*, std::int32_t* ResultCode,
                             std::int32_t) {
    if (AppHandle == nullptr)
        return;
    *ResultCode = 0;
}

void CreateMediaPropertyForm(win32::HWND, std::int32_t, const char*, const char*, std::int32_t, std::int32_t,
                             double, std::int32_t) {}

void CreateGotoMediaForm(win32::HWND AppHandle, std::int32_t, std::int64_t, std::int32_t, std::int64_t* Seconds,
                         std::uint8_t* Cancelled) {
    if (AppHandle == nullptr)
        return;
    *Seconds = 0;
    *Cancelled = 1;
}
}
