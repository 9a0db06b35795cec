#include "tests/support/QtApp.h"

#include <QApplication>

namespace testing_support {

void EnsureQApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    static int argc = 1;
    static char arg0[] = "tests";
    static char* argv[] = {arg0, nullptr};
    new QApplication(argc, argv); // lives until the process ends
}

} // namespace testing_support
