#pragma once
// What a window manager does to the windows of a program, done by a test through Xlib on a virtual display
// (there is no window manager there).

#include <string>
#include <vector>

namespace testing_support {

struct ShownWindow {
    unsigned long window = 0;
    unsigned long transientFor = 0; // the window it belongs to (a dialog's owner), 0 for none
};

// The top-level windows shown on Display (mapped children of the root window).
std::vector<ShownWindow> ShownWindows(const std::string& Display);

// The window a shown dialog belongs to: the owner of the first transient window shown, 0 when none is shown.
unsigned long OwnerOfShownDialog(const std::string& Display);

// Asks Window to close as a window manager does (a client message of WM_PROTOCOLS with WM_DELETE_WINDOW).
bool RequestClose(const std::string& Display, unsigned long Window);

} // namespace testing_support
