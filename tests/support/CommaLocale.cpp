#include "tests/support/CommaLocale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "tests/support/TempDir.h"

namespace testing_support {

namespace {

// The folder of the compiled locale, made once per test program.
const std::string& CompiledLocales() {
    static const auto dir = std::make_unique<TempDir>();
    static const bool made = [] {
        const std::string command =
            "localedef -c -i de_DE -f UTF-8 '" + dir->File("de_DE.UTF-8") + "' >/dev/null 2>&1";
        std::system(command.c_str());
        return true;
    }();
    (void)made;
    return dir->Path();
}

} // namespace

CommaDecimalLocale::CommaDecimalLocale() {
    ::setenv("LOCPATH", CompiledLocales().c_str(), 1);
    active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr &&
              std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

CommaDecimalLocale::~CommaDecimalLocale() {
    std::setlocale(LC_NUMERIC, "C");
    ::unsetenv("LOCPATH");
}

} // namespace testing_support
