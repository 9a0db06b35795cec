#include "platform/win32/Display.h"

#include <cstdlib>

#include <X11/Xlib.h>

namespace win32 {

std::string X11DisplayProblem() {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0')
        return "needs an X11 display, and DISPLAY is not set";
    ::Display* display = XOpenDisplay(name);
    if (display == nullptr)
        return std::string("needs an X11 display, and the display ") + name + " cannot be opened";
    XCloseDisplay(display);
    return {};
}

} // namespace win32
