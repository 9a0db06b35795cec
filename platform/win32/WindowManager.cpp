// Whether a window manager runs: on X11 one announces itself by the root window's _NET_SUPPORTING_WM_CHECK.
// (Apart from Window.cpp, whose names the X11 headers would clash with.)

#include "platform/win32/WindowManager.h"

#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace win32 {

bool WindowManagerPlacesWindows() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // Every other platform places its windows itself: a Wayland compositor, and Qt's offscreen platform,
    // which plays one.
    if (x11 == nullptr || x11->display() == nullptr)
        return true;
    Display* display = x11->display();
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                                          &type, &format, &count, &after, &data);
    const bool announced = status == Success && type == XA_WINDOW && count == 1;
    if (data != nullptr)
        XFree(data);
    return announced;
}

} // namespace win32
