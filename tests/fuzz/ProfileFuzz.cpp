// Fuzzes the settings file (INI) reader and writer with any file contents: reading never fails, a write
// either refuses a name that could not be read back or reads back the value written, and leaves every other
// key reading as it did. The file is kept in memory (the profile functions' own seam), so that millions of
// inputs run.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/Profile.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "profile", What);
}

std::string_view Trim(std::string_view Text) {
    const auto first = Text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string_view::npos)
        return {};
    return Text.substr(first, Text.find_last_not_of(" \t\r\n\v\f") - first + 1);
}

// The section and key names the text holds, as the reader takes them (at most a few: each read parses the
// whole file again).
std::vector<std::pair<std::string, std::string>> NamesIn(std::string_view Text) {
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    while (!Text.empty() && names.size() < 12) {
        const auto end = Text.find_first_of("\r\n");
        std::string_view line = Trim(Text.substr(0, end));
        Text.remove_prefix(end == std::string_view::npos ? Text.size() : end + 1);
        if (line.starts_with("[")) {
            const auto close = line.find(']', 1);
            section =
                std::string(Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)));
        } else if (!line.empty() && line.front() != ';') {
            names.emplace_back(section, std::string(Trim(line.substr(0, line.find('=')))));
        }
    }
    return names;
}

// The writer's promise: it refuses exactly the names holding CR, LF, "=" or "]", or beginning with ";" or
// "[".
bool ReadsBack(std::string_view Name) {
    Name = Trim(Name);
    return Name.find_first_of("\r\n=]") == std::string_view::npos &&
           (Name.empty() || (Name.front() != ';' && Name.front() != '['));
}

// The file lives in memory: the profile functions parse and write it exactly as on the disk, without the
// disk's sync at every write.
win32::MemoryProfileFiles& Files() {
    static win32::MemoryProfileFiles* files = [] {
        auto* memory = new win32::MemoryProfileFiles;
        win32::SetProfileFiles(memory);
        return memory;
    }();
    return *files;
}

constexpr const char* Missing = "\x01missing";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    const std::string file = "/fuzz/Default.ini";
    Files().Files[file] = text;

    const auto names = NamesIn(text);
    std::vector<std::string> before;
    for (const auto& [section, key] : names) {
        before.push_back(win32::GetPrivateProfileString(section, key, Missing, file));
        win32::GetPrivateProfileInt(section, key, -1, file);
        win32::ProfileTextToInt(before.back());
    }

    // One key of the file itself (when there is one) and one that is new, each given a value that reads back
    // as it is written (no blanks or quotes at its ends, no line break).
    std::vector<std::pair<std::string, std::string>> writes;
    if (!names.empty())
        writes.push_back(names.front());
    writes.emplace_back(names.empty() ? "Fuzz" : names.back().first, "FuzzKey");
    const std::string value = "v=" + std::to_string(Size) + " x";
    for (const auto& [section, key] : writes) {
        const bool written = win32::WritePrivateProfileString(section, key, value, file);
        Check(written == (ReadsBack(section) && ReadsBack(key)),
              "a name is refused or taken against the rule");
        if (!written)
            continue;
        Check(win32::GetPrivateProfileString(section, key, Missing, file) == value,
              "a written value reads back");
        for (std::size_t i = 0; i < names.size(); ++i) {
            const auto& [otherSection, otherKey] = names[i];
            if (otherKey == key && otherSection == section)
                continue;
            const std::string now = win32::GetPrivateProfileString(otherSection, otherKey, Missing, file);
            // A key that has the written key's name in the same section (without regard to case) may be it.
            if (now != before[i])
                Check(now == value, "a write changes only its own key");
        }
    }
    return 0;
}
