#pragma once
// The recording fakes of outside effects (power, screen saver, message boxes) run in tests and in the program
// when the environment asks for them (QUOREL_POWER=fake, QUOREL_SCREENSAVER=fake, QUOREL_MESSAGE_BOXES=fake).
// Besides keeping their calls in memory they append one line per call to the file QUOREL_FAKE_LOG names, so
// that a test can see what a program it started asked for.

#include <string_view>

namespace win32 {

// True when the environment variable Name is "fake".
bool FakeRequested(const char* Name);

// Appends Line and a line end to the file of QUOREL_FAKE_LOG; nothing when the variable is not set.
void AppendFakeLog(std::string_view Line);

} // namespace win32
