#pragma once
// The text of a settings file for tests that write one before the program starts.

#include <initializer_list>
#include <string>
#include <utility>

namespace testing_support {

// The default settings text with each Key=Value of Changes in place of the key's default line.
std::string DefaultSettingsWith(std::initializer_list<std::pair<const char*, const char*>> Changes);

} // namespace testing_support
