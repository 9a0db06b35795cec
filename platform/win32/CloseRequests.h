#pragma once
// Close requests of the window manager (a title bar's close button, a desktop's "close window") that reach a
// window while a modal window blocks it: Qt drops them, so that a modal box would keep the program from
// closing for good.

#include <functional>

class QWidget;

namespace win32 {

// From now on OnBlocked runs (in the GUI thread) for each close request of the window manager aimed at
// Window while a modal window blocks it; requests while nothing blocks it reach it as usual. A later call
// replaces the watch.
void WatchBlockedCloseRequests(QWidget* Window, std::function<void()> OnBlocked);

} // namespace win32
