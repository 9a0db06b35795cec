#pragma once
// Settings files for tests: the built-in default text with some keys changed.

#include <initializer_list>
#include <string>
#include <utility>

namespace testing_support {

// The default settings with each Key=Value of Changes (every Key is one of the default text).
std::string DefaultsWith(std::initializer_list<std::pair<const char*, const char*>> Changes);

} // namespace testing_support
