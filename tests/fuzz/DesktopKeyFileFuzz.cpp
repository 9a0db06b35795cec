// Fuzzes the reader and editor of mimeapps.list (DesktopKeyFile) with any file contents: the file reads back
// byte for byte; a key set in a group reads back, every other key of the file reads as before, and taking
// it away again gives the file back (with at most a line end added to its last line).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/DesktopKeyFile.h"
#include "tests/fuzz/FuzzCheck.h"

using win32::DesktopKeyFile;

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "desktop key file", What);
}

// The names of the first few groups of Text, as a header line names them, and a group that is not there.
std::vector<std::string> GroupsOf(std::string_view Text) {
    std::vector<std::string> groups = {"", "Default Applications", "Added Associations"};
    while (!Text.empty() && groups.size() < 8) {
        const auto end = Text.find('\n');
        std::string_view line = Text.substr(0, end);
        Text.remove_prefix(end == std::string_view::npos ? Text.size() : end + 1);
        const auto first = line.find_first_not_of(" \t");
        const auto last = line.find_last_not_of(" \t\r");
        if (first != std::string_view::npos && line[first] == '[' && line[last] == ']' && last > first)
            groups.emplace_back(line.substr(first + 1, last - first - 1));
    }
    return groups;
}

// Every key of Groups with its value.
std::vector<std::pair<std::string, std::string>> Snapshot(const DesktopKeyFile& File,
                                                          const std::vector<std::string>& Groups) {
    std::vector<std::pair<std::string, std::string>> values;
    for (const std::string& group : Groups)
        for (const std::string& key : File.Keys(group))
            values.emplace_back(group + "\n" + key, File.Value(group, key).value_or("(missing)"));
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    DesktopKeyFile file(text);
    Check(file.Text() == text, "a file reads back byte for byte");
    const std::vector<std::string> groups = GroupsOf(text);
    const auto before = Snapshot(file, groups);
    for (const std::string& group : groups) {
        for (const std::string& key : file.Keys(group))
            Check(file.Value(group, key).has_value(), "every key listed has a value");
        const std::string key = "video/x-fuzz";
        if (file.Value(group, key) || group.find_first_of("[]\r\n") != std::string::npos)
            continue;
        const bool groupThere = file.HasGroup(group);
        DesktopKeyFile changed(text);
        changed.SetValue(group, key, "tarvexdvd.desktop;");
        Check(changed.Value(group, key) == "tarvexdvd.desktop;", "a key set reads back");
        auto after = Snapshot(changed, groups);
        std::erase_if(after, [&](const auto& Entry) { return Entry.first == group + "\n" + key; });
        Check(after == before, "setting a key leaves the others as they were");
        changed.Remove(group, key);
        if (!groupThere)
            changed.RemoveGroupIfEmpty(group);
        Check(!changed.Value(group, key).has_value(), "a key removed is gone");
        Check(changed.Text() == text || changed.Text() == text + "\n",
              "a key set and removed gives the file back");
    }
    return 0;
}
