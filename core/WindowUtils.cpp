#include "core/WindowUtils.h"

#include "core/PlaybackState.h"
#include "platform/forms/Forms.h"
#include "platform/win32/Power.h"
#include "platform/win32/Shell.h"
#include "platform/win32/Window.h"

void DragWindow(win32::HWND Wnd) {
    win32::ReleaseCapture();
    win32::SendMessage(Wnd, win32::WM_NCLBUTTONDOWN, win32::HTCAPTION, 0);
}

void CreateUiFont() {
    State.UiFont = std::make_unique<forms::TFont>();
    State.UiFont->SetName(forms::Screen().IconFont().Name());
    State.UiFont->SetSize(9);
}

void FreeUiFont() { State.UiFont.reset(); }

void InvalidateClient(win32::HWND Wnd) {
    win32::RECT r;
    win32::GetClientRect(Wnd, &r);
    win32::InvalidateRect(Wnd, &r, win32::TRUE);
}

int GetShowCmd(win32::HWND Wnd) {
    win32::WINDOWPLACEMENT placement;
    placement.length = 44;
    win32::GetWindowPlacement(Wnd, &placement);
    return static_cast<int>(placement.showCmd);
}

void ToggleMaximize(win32::HWND Wnd) {
    if (GetShowCmd(Wnd) == win32::SW_SHOWMAXIMIZED)
        win32::ShowWindow(Wnd, win32::SW_RESTORE);
    else
        win32::ShowWindow(Wnd, win32::SW_SHOWMAXIMIZED);
}

bool SuspendSystem() {
    // polkit decides whether this user may suspend; there is no privilege of the process to enable first.
    return win32::SetSystemPowerState(win32::TRUE, win32::FALSE) != win32::FALSE;
}

void OpenHomePage() {
    // Shown normally: a browser started hidden would never appear.
    win32::ShellExecute(nullptr, "Open", HomePageAddress, "", "", win32::SW_SHOWNORMAL);
}
