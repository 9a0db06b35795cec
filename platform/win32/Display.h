#pragma once
// The X11 display the program runs on (global hot keys and window placement need X11; under Wayland that is
// XWayland).

#include <string>

namespace win32 {

// Empty when the display that DISPLAY names opens; otherwise the reason in one line (DISPLAY is not set, or
// names a display that cannot be opened).
std::string X11DisplayProblem();

} // namespace win32
