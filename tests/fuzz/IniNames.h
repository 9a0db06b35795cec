#pragma once
// The section and key names a settings file's text holds, as the settings reader takes them: for the fuzz
// harnesses that compare what a file reads before and after a step.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fuzzing {

inline std::string_view TrimIniText(std::string_view Text) {
    const auto first = Text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string_view::npos)
        return {};
    return Text.substr(first, Text.find_last_not_of(" \t\r\n\v\f") - first + 1);
}

// The (section, key) of each key line of Text, in file order, at most Limit of them (each read parses the
// whole file again).
inline std::vector<std::pair<std::string, std::string>> IniNamesIn(std::string_view Text, std::size_t Limit) {
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    while (!Text.empty() && names.size() < Limit) {
        const auto end = Text.find_first_of("\r\n");
        const std::string_view line = TrimIniText(Text.substr(0, end));
        Text.remove_prefix(end == std::string_view::npos ? Text.size() : end + 1);
        if (line.starts_with("[")) {
            const auto close = line.find(']', 1);
            section = std::string(
                TrimIniText(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)));
        } else if (!line.empty() && line.front() != ';') {
            names.emplace_back(section, std::string(TrimIniText(line.substr(0, line.find('=')))));
        }
    }
    return names;
}

} // namespace fuzzing
