#pragma once
// A user's hands and eyes on an X display for end-to-end checks: what the screen shows, where a window is,
// and the mouse and keys (through xdotool).

#include <string>
#include <vector>

#include <QImage>
#include <QRect>

namespace testing_support {

// The whole screen of Display (":N"); a null image when it cannot be read.
QImage GrabScreen(const std::string& Display);
// The screen rectangle of the visible window named Name; empty when there is none.
QRect WindowNamed(const std::string& Display, const std::string& Name);
// Runs xdotool with Arguments on Display; true when it succeeded.
bool Xdotool(const std::string& Display, const std::vector<std::string>& Arguments);

} // namespace testing_support
