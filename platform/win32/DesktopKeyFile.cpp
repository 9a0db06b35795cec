#include "platform/win32/DesktopKeyFile.h"

#include <algorithm>

namespace win32 {
namespace {

std::string_view Trim(std::string_view Text) {
    const auto first = Text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = Text.find_last_not_of(" \t");
    return Text.substr(first, last - first + 1);
}

// The group a header line opens; nullopt for another line.
std::optional<std::string_view> HeaderOf(std::string_view Line) {
    Line = Trim(Line);
    if (Line.size() < 2 || Line.front() != '[' || Line.back() != ']')
        return std::nullopt;
    return Line.substr(1, Line.size() - 2);
}

} // namespace

DesktopKeyFile::DesktopKeyFile(std::string_view Text) {
    while (!Text.empty()) {
        const auto end = Text.find('\n');
        Line line;
        if (end == std::string_view::npos) {
            line.text = Text;
            Text = {};
        } else {
            line.text = Text.substr(0, end);
            line.end = "\n";
            Text.remove_prefix(end + 1);
        }
        if (!line.end.empty() && !line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.end = "\r\n";
        }
        lines_.push_back(std::move(line));
    }
}

std::string DesktopKeyFile::Text() const {
    std::string text;
    for (const Line& line : lines_)
        text += line.text + line.end;
    return text;
}

std::optional<std::string_view> DesktopKeyFile::KeyOf(std::string_view Line) {
    if (Line.empty() || Line.front() == '#' || HeaderOf(Line))
        return std::nullopt;
    const auto equals = Line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = Trim(Line.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return key;
}

std::optional<std::pair<std::size_t, std::size_t>> DesktopKeyFile::GroupLines(std::string_view Group) const {
    std::size_t first = 0;
    if (!Group.empty()) {
        const auto header = std::find_if(lines_.begin(), lines_.end(),
                                         [&](const Line& L) { return HeaderOf(L.text) == Group; });
        if (header == lines_.end())
            return std::nullopt;
        first = static_cast<std::size_t>(header - lines_.begin()) + 1;
    }
    std::size_t last = first;
    while (last < lines_.size() && !HeaderOf(lines_[last].text))
        ++last;
    return std::make_pair(first, last);
}

std::optional<std::string> DesktopKeyFile::Value(std::string_view Group, std::string_view Key) const {
    const auto range = GroupLines(Group);
    if (!range)
        return std::nullopt;
    for (std::size_t i = range->first; i < range->second; ++i) {
        const std::string_view text = lines_[i].text;
        if (KeyOf(text) == Key) {
            std::string_view value = text.substr(text.find('=') + 1);
            value.remove_prefix(std::min(value.size(), value.find_first_not_of(" \t")));
            return std::string(value);
        }
    }
    return std::nullopt;
}

std::vector<std::string> DesktopKeyFile::Keys(std::string_view Group) const {
    std::vector<std::string> keys;
    const auto range = GroupLines(Group);
    if (!range)
        return keys;
    for (std::size_t i = range->first; i < range->second; ++i)
        if (const auto key = KeyOf(lines_[i].text);
            key && std::find(keys.begin(), keys.end(), *key) == keys.end())
            keys.emplace_back(*key);
    return keys;
}

void DesktopKeyFile::SetValue(std::string_view Group, std::string_view Key, std::string_view Value) {
    const std::string text = std::string(Key) + "=" + std::string(Value);
    // A line added after the last one must not join it.
    auto endLast = [this] {
        if (!lines_.empty() && lines_.back().end.empty())
            lines_.back().end = "\n";
    };
    const auto range = GroupLines(Group);
    if (!range) {
        endLast();
        // One blank line before the group, always, so that RemoveGroupIfEmpty knows which one to take away.
        if (!lines_.empty())
            lines_.push_back(Line{"", "\n"});
        lines_.push_back(Line{"[" + std::string(Group) + "]", "\n"});
        lines_.push_back(Line{text, "\n"});
        return;
    }
    for (std::size_t i = range->first; i < range->second; ++i)
        if (KeyOf(lines_[i].text) == Key) {
            lines_[i].text = text;
            return;
        }
    std::size_t at = range->second;
    while (at > range->first && Trim(lines_[at - 1].text).empty())
        --at;
    if (at == lines_.size())
        endLast();
    // The new line ends as its neighbours do.
    const std::string end = at > 0 && lines_[at - 1].end == "\r\n" ? "\r\n" : "\n";
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{text, end});
}

void DesktopKeyFile::Remove(std::string_view Group, std::string_view Key) {
    const auto range = GroupLines(Group);
    if (!range)
        return;
    const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(range->first);
    const auto last = lines_.begin() + static_cast<std::ptrdiff_t>(range->second);
    lines_.erase(std::remove_if(first, last, [&](const Line& L) { return KeyOf(L.text) == Key; }), last);
}

void DesktopKeyFile::RemoveGroupIfEmpty(std::string_view Group) {
    const auto range = GroupLines(Group);
    if (!range || Group.empty())
        return;
    for (std::size_t i = range->first; i < range->second; ++i)
        if (!Trim(lines_[i].text).empty())
            return;
    std::size_t first = range->first - 1;
    // The blank line SetValue puts before a group it adds at the end goes too; the user's own blank lines stay.
    if (range->second == lines_.size() && first >= 1 && lines_[first - 1].text.empty() &&
        lines_[first - 1].end == "\n")
        --first;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->second));
}

std::vector<std::string> SplitDesktopList(std::string_view Value) {
    std::vector<std::string> entries;
    while (!Value.empty()) {
        const auto semicolon = Value.find(';');
        const std::string_view entry = Trim(Value.substr(0, semicolon));
        if (!entry.empty())
            entries.emplace_back(entry);
        if (semicolon == std::string_view::npos)
            break;
        Value.remove_prefix(semicolon + 1);
    }
    return entries;
}

} // namespace win32
