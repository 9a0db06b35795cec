#pragma once
// A window manager (openbox) of its own on a virtual X server (XvfbDisplay), for the end-to-end checks that
// run with one: it frames, places, stacks and focuses the program's windows as a desktop's would.

#include <string>
#include <vector>

#include <QRect>

#include <sys/types.h>

namespace testing_support {

class WindowManagerRun {
public:
    // Starts openbox on Display and waits until it has taken the screen (it announces itself on the root
    // window).
    explicit WindowManagerRun(const std::string& Display);
    ~WindowManagerRun();
    WindowManagerRun(const WindowManagerRun&) = delete;
    WindowManagerRun& operator=(const WindowManagerRun&) = delete;

    // True once the window manager runs.
    bool Running() const { return running_; }

private:
    pid_t pid_ = -1;
    bool running_ = false;
};

// True when a window manager has announced itself on Display (_NET_SUPPORTING_WM_CHECK on the root window).
bool WindowManagerAnnounced(const std::string& Display);

// The programs' windows that the window manager stacks, bottom first, each by its rectangle on the screen
// (_NET_CLIENT_LIST_STACKING).
std::vector<QRect> StackedWindows(const std::string& Display);

} // namespace testing_support
