#pragma once
// A freedesktop.org key file (mimeapps.list and the like) as its lines of text, changed one key at a time:
// every line that a change does not name stays byte for byte as it was, comments, blank lines, other groups,
// other keys and line ends included.
//
// A group begins at a line "[Name]"; a key line is "Key=Value" (blanks around the "=" allowed), and a line
// beginning with "#" is a comment. Lines before the first group belong to the group "". A key is looked up in
// the first group of its name, and there at its first line: other programs read it so.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

class DesktopKeyFile {
public:
    explicit DesktopKeyFile(std::string_view Text);

    std::string Text() const;

    // The value of Key in Group; nullopt when the group or the key is missing.
    std::optional<std::string> Value(std::string_view Group, std::string_view Key) const;
    // True when a line opens Group (always for "").
    bool HasGroup(std::string_view Group) const { return GroupLines(Group).has_value(); }
    // The keys of Group, in file order, each once.
    std::vector<std::string> Keys(std::string_view Group) const;

    // Gives Key the value Value: its first line in Group is replaced; without one, a line is added after the
    // group's last line that is not blank; without the group, the group is added at the end of the file.
    void SetValue(std::string_view Group, std::string_view Key, std::string_view Value);
    // Removes every line of Key in Group.
    void Remove(std::string_view Group, std::string_view Key);
    // Removes Group when nothing but blank lines is left in it (with the blank lines before it, when it is
    // the last group): a group that SetValue added goes without a trace.
    void RemoveGroupIfEmpty(std::string_view Group);

private:
    struct Line {
        std::string text; // without its end
        std::string end;  // "\n", "\r\n" or "" (the last line of a file without a final end)
    };
    // The lines of Group's first occurrence: [first, last) after its header; nullopt when missing.
    std::optional<std::pair<std::size_t, std::size_t>> GroupLines(std::string_view Group) const;
    // The key of a key line; nullopt for a header, a comment, a blank or another line.
    static std::optional<std::string_view> KeyOf(std::string_view Line);

    std::vector<Line> lines_;
};

// The entries of a ";"-separated list value ("a.desktop;b.desktop;"), empty ones left out.
std::vector<std::string> SplitDesktopList(std::string_view Value);

} // namespace win32
