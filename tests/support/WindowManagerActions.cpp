#include "tests/support/WindowManagerActions.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace testing_support {

namespace {

class Connection {
public:
    explicit Connection(const std::string& Name) : display_(XOpenDisplay(Name.c_str())) {}
    ~Connection() {
        if (display_ != nullptr)
            XCloseDisplay(display_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Display* Get() const { return display_; }

private:
    Display* display_;
};

} // namespace

std::vector<ShownWindow> ShownWindows(const std::string& Display) {
    std::vector<ShownWindow> shown;
    Connection x(Display);
    if (x.Get() == nullptr)
        return shown;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(x.Get(), DefaultRootWindow(x.Get()), &root, &parent, &children, &count) == 0)
        return shown;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(x.Get(), children[i], &attributes) == 0 ||
            attributes.map_state != IsViewable)
            continue;
        ShownWindow window;
        window.window = children[i];
        Window owner = 0;
        if (XGetTransientForHint(x.Get(), children[i], &owner) != 0)
            window.transientFor = owner;
        shown.push_back(window);
    }
    if (children != nullptr)
        XFree(children);
    return shown;
}

unsigned long OwnerOfShownDialog(const std::string& Display) {
    for (const ShownWindow& window : ShownWindows(Display))
        if (window.transientFor != 0)
            return window.transientFor;
    return 0;
}

bool RequestClose(const std::string& Display, unsigned long Window) {
    Connection x(Display);
    if (x.Get() == nullptr)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = Window;
    event.xclient.message_type = XInternAtom(x.Get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(x.Get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(x.Get(), Window, False, NoEventMask, &event) != 0;
    XFlush(x.Get());
    return sent;
}

} // namespace testing_support
