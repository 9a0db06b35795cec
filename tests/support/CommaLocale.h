#pragma once
// A locale whose decimal separator is "," (German), for tests that numbers are read and written with "."
// whatever the process's locale. It is compiled at test time from the system's locale sources into a
// temporary folder, since a minimal system has only the C locales installed.

namespace testing_support {

class CommaDecimalLocale {
public:
    // Switches the process's numbers (LC_NUMERIC) to the locale; Active() says whether that worked.
    CommaDecimalLocale();
    // Back to the "C" numbers.
    ~CommaDecimalLocale();
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    bool Active() const { return active_; }

private:
    bool active_ = false;
};

} // namespace testing_support
