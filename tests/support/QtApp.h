#pragma once
// The one QApplication of a test executable, created on first use (offscreen under CTest).

#include <string>

namespace testing_support {

void EnsureQApplication();

// The application object on a private X server of the program's own (Qt's X11 platform), for tests of what
// only a real X server does; the server is started at the first call and its name (":N") returned, "" when
// it did not start. Call it before anything else makes the application object.
const std::string& EnsureQApplicationOnPrivateDisplay();

} // namespace testing_support
