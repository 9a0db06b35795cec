#pragma once
// Looking at and typing into a virtual X server (XvfbDisplay) as a user would: the windows on its screen,
// pictures of the screen, and key presses and clicks through xdotool (the X test extension), so that Qt sees
// real input.

#include <string>
#include <vector>

#include <QImage>
#include <QRect>

namespace testing_support {

// The top-level windows mapped on Display's screen, bottom first (no window manager: the program's windows
// and popup menus are the root's children).
std::vector<QRect> MappedWindows(const std::string& Display);

// The titles (WM_NAME) of the windows shown on Display's screen, the program's and, under a window manager,
// its frames', as a window manager reads them: decoded from the type they are stored in (STRING is
// Latin-1, COMPOUND_TEXT names its character sets) into UTF-8.
std::vector<std::string> WindowTitles(const std::string& Display);

// The pixels of Area of Display's screen.
QImage GrabScreen(const std::string& Display, const QRect& Area);

// Runs xdotool with Arguments on Display ("mousemove", "612", "450", "click", "3"); true when it succeeded.
bool XdoTool(const std::string& Display, const std::vector<std::string>& Arguments);

} // namespace testing_support
