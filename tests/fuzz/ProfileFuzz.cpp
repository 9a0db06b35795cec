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
#include "tests/fuzz/IniNames.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "profile", What);
}

// The writer's promise: it refuses exactly the names holding CR, LF, "=" or "]", or beginning with ";" or
// "[".
bool ReadsBack(std::string_view Name) {
    Name = fuzzing::TrimIniText(Name);
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

    // At most a few names: each read parses the whole file again.
    const auto names = fuzzing::IniNamesIn(text, 12);
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
