#include "tests/support/WindowManagerRun.h"

#include <chrono>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace testing_support {

bool WindowManagerAnnounced(const std::string& Display) {
    ::Display* x = XOpenDisplay(Display.c_str());
    if (x == nullptr)
        return false;
    bool announced = false;
    const Atom check = XInternAtom(x, "_NET_SUPPORTING_WM_CHECK", True);
    if (check != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        announced = XGetWindowProperty(x, DefaultRootWindow(x), check, 0, 1, False, XA_WINDOW, &type, &format,
                                       &count, &after, &data) == Success &&
                    type == XA_WINDOW && count == 1;
        if (data != nullptr)
            XFree(data);
    }
    XCloseDisplay(x);
    return announced;
}

std::vector<QRect> StackedWindows(const std::string& Display) {
    std::vector<QRect> stacked;
    ::Display* x = XOpenDisplay(Display.c_str());
    if (x == nullptr)
        return stacked;
    const Atom list = XInternAtom(x, "_NET_CLIENT_LIST_STACKING", True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (list != None &&
        XGetWindowProperty(x, DefaultRootWindow(x), list, 0, 1024, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success &&
        type == XA_WINDOW && data != nullptr) {
        const auto* windows = reinterpret_cast<const Window*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            XWindowAttributes attributes{};
            Window child = 0;
            int left = 0, top = 0;
            if (XGetWindowAttributes(x, windows[i], &attributes) != 0 &&
                XTranslateCoordinates(x, windows[i], DefaultRootWindow(x), 0, 0, &left, &top, &child) != 0)
                stacked.emplace_back(left, top, attributes.width, attributes.height);
        }
    }
    if (data != nullptr)
        XFree(data);
    XCloseDisplay(x);
    return stacked;
}

WindowManagerRun::WindowManagerRun(const std::string& Display) {
    if (Display.empty())
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) {
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        ::setenv("DISPLAY", Display.c_str(), 1);
        // Without a session manager: the test is its whole session.
        ::execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            break;
        }
        if (WindowManagerAnnounced(Display)) {
            running_ = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

WindowManagerRun::~WindowManagerRun() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

} // namespace testing_support
