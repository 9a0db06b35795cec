#include "platform/win32/RegistryContents.h"

#include <algorithm>
#include <functional>

#include "platform/win32/AsciiText.h"

namespace win32 {
namespace {

constexpr std::string_view kHeader = "TarvexDvd registry 1";

bool IsControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

std::string Lower(std::string_view Text) {
    std::string lower(Text);
    for (char& c : lower)
        c = AsciiLower(c);
    return lower;
}

std::optional<HKEY> RootNamed(std::string_view Name) {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_CLASSES_ROOT})
        if (Name == RootKeyName(root))
            return root;
    return std::nullopt;
}

void AppendQuoted(std::string_view Text, std::string& Out) {
    static const char* const digits = "0123456789ABCDEF";
    Out += '"';
    for (char c : Text) {
        if (c == '\\' || c == '"') {
            Out += '\\';
            Out += c;
        } else if (IsControl(c)) {
            const auto u = static_cast<unsigned char>(c);
            Out += "\\x";
            Out += digits[u >> 4];
            Out += digits[u & 0xF];
        } else {
            Out += c;
        }
    }
    Out += '"';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = AsciiLower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads a quoted text at the start of Line and removes it from Line; nullopt when it is not one.
std::optional<std::string> Unquote(std::string_view& Line) {
    if (Line.empty() || Line.front() != '"')
        return std::nullopt;
    std::string text;
    std::size_t i = 1;
    for (; i < Line.size() && Line[i] != '"'; ++i) {
        if (Line[i] != '\\') {
            text += Line[i];
            continue;
        }
        if (++i >= Line.size())
            return std::nullopt;
        if (Line[i] == '\\' || Line[i] == '"') {
            text += Line[i];
        } else if (Line[i] == 'x' && i + 2 < Line.size() && HexDigit(Line[i + 1]) >= 0 &&
                   HexDigit(Line[i + 2]) >= 0) {
            text += static_cast<char>(HexDigit(Line[i + 1]) * 16 + HexDigit(Line[i + 2]));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    if (i >= Line.size())
        return std::nullopt;
    Line.remove_prefix(i + 1);
    return text;
}

} // namespace

std::optional<RegistryKeyPath> SplitRegistryKey(std::string_view Key) {
    RegistryKeyPath path;
    while (!Key.empty()) {
        const auto slash = Key.find('\\');
        const std::string_view name = Key.substr(0, slash);
        if (std::any_of(name.begin(), name.end(), IsControl))
            return std::nullopt;
        if (!name.empty())
            path.emplace_back(name);
        if (slash == std::string_view::npos)
            break;
        Key.remove_prefix(slash + 1);
    }
    return path;
}

std::size_t RegistryContents::PlaceHash::operator()(const Place& P) const {
    return std::hash<std::string>()(P.lowerName) ^ (std::hash<Index>()(P.parent) * 0x9E3779B97F4A7C15ull);
}

RegistryContents::Index RegistryContents::Child(Index Parent, std::string_view Name) const {
    const auto found = places_.find(Place{Parent, Lower(Name)});
    return found == places_.end() ? None : found->second;
}

RegistryContents::Index RegistryContents::Add(HKEY Root, Index Parent, std::string_view Name) {
    const Index index = keys_.size();
    keys_.push_back(Key{Root, Parent, std::string(Name), {}, {}});
    places_.emplace(Place{Parent, Lower(Name)}, index);
    if (Parent != None)
        keys_[Parent].children.push_back(index);
    return index;
}

RegistryContents::Index RegistryContents::Find(HKEY Root, const RegistryKeyPath& Path) const {
    Index at = Child(None, RootKeyName(Root));
    for (std::size_t i = 0; i < Path.size() && at != None; ++i)
        at = Child(at, Path[i]);
    return at;
}

RegistryContents::Index RegistryContents::Ensure(HKEY Root, const RegistryKeyPath& Path, bool& Made) {
    const std::string rootName = RootKeyName(Root);
    Index at = Child(None, rootName);
    if (at == None) {
        at = Add(Root, None, rootName);
        Made = true;
    }
    for (const std::string& name : Path) {
        Index next = Child(at, name);
        if (next == None) {
            next = Add(Root, at, name);
            Made = true;
        }
        at = next;
    }
    return at;
}

void RegistryContents::Erase(Index Target) {
    // Parents come before their children, so one pass in order finds everything below the key.
    std::vector<bool> erased(keys_.size(), false);
    for (Index i = Target; i < keys_.size(); ++i)
        erased[i] = i == Target || (keys_[i].parent != None && erased[keys_[i].parent]);
    std::vector<Key> kept;
    std::vector<Index> renumbered(keys_.size(), None);
    for (Index i = 0; i < keys_.size(); ++i) {
        if (erased[i])
            continue;
        renumbered[i] = kept.size();
        kept.push_back(std::move(keys_[i]));
    }
    keys_ = std::move(kept);
    places_.clear();
    for (Index i = 0; i < keys_.size(); ++i) {
        Key& key = keys_[i];
        if (key.parent != None)
            key.parent = renumbered[key.parent];
        std::erase_if(key.children, [&](Index Child) { return renumbered[Child] == None; });
        for (Index& child : key.children)
            child = renumbered[child];
        places_.emplace(Place{key.parent, Lower(key.name)}, i);
    }
}

std::optional<std::string> RegistryContents::Value(Index Key, std::string_view Name) const {
    for (const auto& [name, value] : keys_[Key].values)
        if (SameAsciiText(name, Name))
            return value;
    return std::nullopt;
}

bool RegistryContents::SetValue(Index Key, std::string_view Name, std::string_view Value) {
    for (auto& [name, value] : keys_[Key].values)
        if (SameAsciiText(name, Name)) {
            if (value == Value)
                return false;
            value = Value;
            return true;
        }
    keys_[Key].values.emplace_back(Name, Value);
    return true;
}

bool RegistryContents::DeleteValue(Index Key, std::string_view Name) {
    return std::erase_if(keys_[Key].values,
                         [&](const auto& Entry) { return SameAsciiText(Entry.first, Name); }) > 0;
}

std::vector<std::string> RegistryContents::SubKeyNames(Index Key) const {
    std::vector<std::string> names;
    names.reserve(keys_[Key].children.size());
    for (Index child : keys_[Key].children)
        names.push_back(keys_[child].name);
    return names;
}

void RegistryContents::AppendPath(Index Key, std::string& Out) const {
    std::vector<Index> chain;
    for (Index at = Key; at != None; at = keys_[at].parent)
        chain.push_back(at);
    for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
        if (at != chain.rbegin())
            Out += '\\';
        Out += keys_[*at].name;
    }
}

std::string RegistryContents::Serialize() const {
    std::string out = std::string(kHeader) + "\n";
    for (Index i = 0; i < keys_.size(); ++i) {
        const Key& key = keys_[i];
        // The bare roots are implied.
        if (key.parent == None && key.values.empty())
            continue;
        out += "\n[";
        AppendPath(i, out);
        out += "]\n";
        for (const auto& [name, value] : key.values) {
            if (name.empty())
                out += '@';
            else
                AppendQuoted(name, out);
            out += '=';
            AppendQuoted(value, out);
            out += '\n';
        }
    }
    return out;
}

std::optional<RegistryContents> RegistryContents::Parse(std::string_view Text) {
    RegistryContents contents;
    if (Text.empty())
        return contents;
    Index current = None;
    bool headerSeen = false;
    while (!Text.empty()) {
        const auto end = Text.find('\n');
        std::string_view line = Text.substr(0, end);
        Text.remove_prefix(end == std::string_view::npos ? Text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!headerSeen) {
            if (line != kHeader)
                return std::nullopt;
            headerSeen = true;
            continue;
        }
        if (line.empty())
            continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 2)
                return std::nullopt;
            line = line.substr(1, line.size() - 2);
            const auto slash = line.find('\\');
            const auto root = RootNamed(line.substr(0, slash));
            const auto path = SplitRegistryKey(slash == std::string_view::npos ? "" : line.substr(slash + 1));
            if (!root || !path)
                return std::nullopt;
            bool made = false;
            current = contents.Ensure(*root, *path, made);
            continue;
        }
        if (current == None)
            return std::nullopt;
        std::optional<std::string> name;
        if (line.front() == '@') {
            name = "";
            line.remove_prefix(1);
        } else {
            name = Unquote(line);
        }
        if (!name || line.empty() || line.front() != '=')
            return std::nullopt;
        line.remove_prefix(1);
        auto value = Unquote(line);
        if (!value || !line.empty())
            return std::nullopt;
        // A value given twice keeps its first place: the store reads the first one.
        contents.keys_[current].values.emplace_back(std::move(*name), std::move(*value));
    }
    return contents;
}

} // namespace win32
