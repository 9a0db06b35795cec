#include "tests/support/IniText.h"

#include "core/Settings.h"

namespace testing_support {

std::string DefaultsWith(std::initializer_list<std::pair<const char*, const char*>> Changes) {
    std::string text = DefaultIniText();
    for (const auto& [key, value] : Changes) {
        const std::string from = std::string("\r\n") + key + "=";
        const auto at = text.find(from);
        const auto end = text.find("\r\n", at + 2);
        text.replace(at + 2, end - at - 2, std::string(key) + "=" + value);
    }
    return text;
}

} // namespace testing_support
