#pragma once
// Window and system utilities the windows and the core share: dragging a window without a caption bar, the
// UI font, repainting a client area, the maximized state, suspending the machine and the maker's web page.
// (The operating-system family is core/shared/OsFamily.h; FindImageControl is skin/ximage.h.)

#include "platform/win32/Types.h"

// Releases the mouse capture and lets the window manager move Wnd with the mouse, as a grab of its caption
// bar would. Called from a mouse-press handler.
void DragWindow(win32::HWND Wnd);

// UiFont := a new font with the face of the system's icon font at size 9.
void CreateUiFont();
// Frees UiFont; nothing when there is none.
void FreeUiFont();

// Repaints the whole client area of Wnd.
void InvalidateClient(win32::HWND Wnd);

// The showCmd of Wnd's placement: 3 maximized, 2 minimized, 1 otherwise.
int GetShowCmd(win32::HWND Wnd);
// Restores a maximized Wnd, maximizes any other.
void ToggleMaximize(win32::HWND Wnd);

// Suspends the machine to memory through the power service; true when the system accepted.
bool SuspendSystem();

// The maker's web page, opened in the desktop's browser.
inline constexpr const char* HomePageAddress = "https://www.tarvexdvd.example/";
void OpenHomePage();
