#pragma once
// Whether a window manager places the program's top-level windows (maximized, full screen, moved by the
// mouse). On a bare X server (Xvfb, a kiosk) none does: the window functions then place the windows
// themselves.

namespace win32 {

bool WindowManagerPlacesWindows();

} // namespace win32
