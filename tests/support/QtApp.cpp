#include "tests/support/QtApp.h"

#include <cstdlib>

#include <QApplication>

#include "tests/support/XvfbDisplay.h"

namespace testing_support {

void EnsureQApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    static int argc = 1;
    static char arg0[] = "tests";
    static char* argv[] = {arg0, nullptr};
    new QApplication(argc, argv); // lives until the process ends
}

const std::string& EnsureQApplicationOnPrivateDisplay() {
    static XvfbDisplay display;
    if (!display.Name().empty() && QCoreApplication::instance() == nullptr) {
        ::setenv("DISPLAY", display.Name().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        EnsureQApplication();
    }
    return display.Name();
}

} // namespace testing_support
