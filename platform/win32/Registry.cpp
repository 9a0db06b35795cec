#include "platform/win32/Registry.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/win32/AsciiText.h"
#include "platform/win32/Files.h"

namespace win32 {
namespace {

constexpr std::string_view kHeader = "TarvexDvd registry 1";

bool IsControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

using KeyPath = std::vector<std::string>;

bool SamePath(const KeyPath& a, const KeyPath& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!SameAsciiText(a[i], b[i]))
            return false;
    return true;
}

// True when Path is Ancestor itself or lies below it.
bool IsAtOrBelow(const KeyPath& Path, const KeyPath& Ancestor) {
    if (Path.size() < Ancestor.size())
        return false;
    for (std::size_t i = 0; i < Ancestor.size(); ++i)
        if (!SameAsciiText(Path[i], Ancestor[i]))
            return false;
    return true;
}

// The names of Key; nullopt when a name holds a control character.
std::optional<KeyPath> SplitKey(std::string_view Key) {
    KeyPath path;
    while (!Key.empty()) {
        const auto slash = Key.find('\\');
        const std::string_view name = Key.substr(0, slash);
        for (char c : name)
            if (IsControl(c))
                return std::nullopt;
        if (!name.empty())
            path.emplace_back(name);
        if (slash == std::string_view::npos)
            break;
        Key.remove_prefix(slash + 1);
    }
    return path;
}

std::optional<HKEY> RootNamed(std::string_view Name) {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_CLASSES_ROOT})
        if (Name == RootKeyName(root))
            return root;
    return std::nullopt;
}

struct StoredKey {
    HKEY root = nullptr;
    KeyPath path;
    std::vector<std::pair<std::string, std::string>> values;
};

// Every key of the store, parents before their children.
struct StoreContents {
    std::vector<StoredKey> keys;

    StoredKey* Find(HKEY Root, const KeyPath& Path) {
        for (auto& key : keys)
            if (key.root == Root && SamePath(key.path, Path))
                return &key;
        return nullptr;
    }
    // Adds Path and its missing parents; the root itself is a key too (it holds the root's values).
    StoredKey& Ensure(HKEY Root, const KeyPath& Path) {
        for (std::size_t length = 0; length <= Path.size(); ++length) {
            const KeyPath part(Path.begin(), Path.begin() + static_cast<std::ptrdiff_t>(length));
            if (Find(Root, part) == nullptr)
                keys.push_back(StoredKey{Root, part, {}});
        }
        return *Find(Root, Path);
    }
};

std::string Quote(std::string_view Text) {
    static const char* const digits = "0123456789ABCDEF";
    std::string out = "\"";
    for (char c : Text) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (IsControl(c)) {
            const auto u = static_cast<unsigned char>(c);
            out += "\\x";
            out += digits[u >> 4];
            out += digits[u & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
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

std::optional<StoreContents> Parse(std::string_view Text) {
    StoreContents contents;
    if (Text.empty())
        return contents;
    StoredKey* current = nullptr;
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
            if (line.back() != ']')
                return std::nullopt;
            line = line.substr(1, line.size() - 2);
            const auto slash = line.find('\\');
            const auto root = RootNamed(line.substr(0, slash));
            const auto path = SplitKey(slash == std::string_view::npos ? "" : line.substr(slash + 1));
            if (!root || !path)
                return std::nullopt;
            current = &contents.Ensure(*root, *path);
            continue;
        }
        if (current == nullptr)
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
        current->values.emplace_back(std::move(*name), std::move(*value));
    }
    return contents;
}

std::string Serialize(const StoreContents& Contents) {
    std::string out = std::string(kHeader) + "\n";
    for (const auto& key : Contents.keys) {
        // The empty roots are implied.
        if (key.path.empty() && key.values.empty())
            continue;
        out += "\n[" + RootKeyName(key.root);
        for (const auto& name : key.path)
            out += "\\" + name;
        out += "]\n";
        for (const auto& [name, value] : key.values)
            out += (name.empty() ? std::string("@") : Quote(name)) + "=" + Quote(value) + "\n";
    }
    return out;
}

// A batch of changes to one store file: its keys as the changes left them, written once at its end.
struct Batch {
    int depth = 0;
    std::optional<StoreContents> contents;
    bool changed = false;
};

std::map<std::string, Batch>& Batches() {
    static std::map<std::string, Batch> batches;
    return batches;
}

Batch* BatchOf(const std::string& Path) {
    auto found = Batches().find(Path);
    return found == Batches().end() ? nullptr : &found->second;
}

std::optional<StoreContents> LoadFile(const std::string& Path);

// The store's keys: empty when there is no file; nullopt when a file is there that cannot be read or parsed.
// Within a batch, the keys as its changes left them.
std::optional<StoreContents> Load(const std::string& Path) {
    if (const Batch* batch = BatchOf(Path))
        return batch->contents;
    return LoadFile(Path);
}

std::optional<StoreContents> LoadFile(const std::string& Path) {
    if (Path.empty())
        return std::nullopt;
    std::error_code error;
    const auto text = ReadWholeFile(Path, error);
    // No file, or a file where one of its folders should be: there is no store yet.
    if (!text)
        return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory
                   ? std::optional<StoreContents>(StoreContents{})
                   : std::nullopt;
    return Parse(*text);
}

RegistryStatus Save(const std::string& Path, const std::string& Text) {
    const std::filesystem::path folder = std::filesystem::path(Path).parent_path();
    if (!folder.empty() && !ForceDirectories(folder.string()))
        return RegistryStatus::WriteFailed;
    return WriteFileAtomically(Path, Text) ? RegistryStatus::Ok : RegistryStatus::WriteFailed;
}

// A key named for a change: the root must be one of the store's and the names must be valid.
struct Target {
    HKEY root;
    KeyPath path;
};

std::optional<Target> TargetOf(HKEY Root, std::string_view Key) {
    if (RootKeyName(Root).empty())
        return std::nullopt;
    auto path = SplitKey(Key);
    if (!path)
        return std::nullopt;
    return Target{Root, std::move(*path)};
}

// Applies Change to the store's keys and saves them when it answers Ok and they are not the same as before
// (creating a key that exists writes nothing).
template <class Change>
RegistryStatus ChangeStore(const std::string& Path, HKEY Root, std::string_view Key, Change&& Apply) {
    const auto target = TargetOf(Root, Key);
    if (!target)
        return RegistryStatus::BadName;
    auto contents = Load(Path);
    if (!contents)
        return RegistryStatus::Unreadable;
    const std::string before = Serialize(*contents);
    const RegistryStatus status = Apply(*contents, *target);
    if (status != RegistryStatus::Ok)
        return status;
    const std::string after = Serialize(*contents);
    if (after == before)
        return RegistryStatus::Ok;
    if (Batch* batch = BatchOf(Path)) {
        batch->contents = std::move(contents);
        batch->changed = true;
        return RegistryStatus::Ok;
    }
    return Save(Path, after);
}

} // namespace

std::string RootKeyName(HKEY Root) {
    if (Root == HKEY_CURRENT_USER)
        return "HKEY_CURRENT_USER";
    if (Root == HKEY_CLASSES_ROOT)
        return "HKEY_CLASSES_ROOT";
    return "";
}

std::string UserRegistryStorePath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path folder;
    if (config != nullptr && config[0] == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0')
            return "";
        folder = std::filesystem::path(home) / ".config";
    }
    return (folder / "TarvexDvd" / "registry").string();
}

std::string RegistryStatusText(RegistryStatus Status) {
    switch (Status) {
    case RegistryStatus::Ok:
        return "done";
    case RegistryStatus::NotFound:
        return "the key or value does not exist";
    case RegistryStatus::BadName:
        return "the key name is not valid";
    case RegistryStatus::Unreadable:
        return "the registry store cannot be read";
    case RegistryStatus::WriteFailed:
        return "the registry store cannot be written";
    }
    return "";
}

bool RegistryStore::KeyExists(HKEY Root, std::string_view Key) const {
    const auto target = TargetOf(Root, Key);
    if (!target)
        return false;
    if (target->path.empty())
        return true;
    auto contents = Load(path_);
    return contents && contents->Find(target->root, target->path) != nullptr;
}

std::optional<std::string> RegistryStore::ReadString(HKEY Root, std::string_view Key,
                                                     std::string_view Name) const {
    const auto target = TargetOf(Root, Key);
    auto contents = target ? Load(path_) : std::nullopt;
    const StoredKey* key = contents ? contents->Find(target->root, target->path) : nullptr;
    if (key == nullptr)
        return std::nullopt;
    for (const auto& [name, value] : key->values)
        if (SameAsciiText(name, Name))
            return value;
    return std::nullopt;
}

RegistryStatus RegistryStore::CreateKey(HKEY Root, std::string_view Key) {
    return ChangeStore(path_, Root, Key, [](StoreContents& Contents, const Target& At) {
        Contents.Ensure(At.root, At.path);
        return RegistryStatus::Ok;
    });
}

RegistryStatus RegistryStore::DeleteKey(HKEY Root, std::string_view Key) {
    return ChangeStore(path_, Root, Key, [](StoreContents& Contents, const Target& At) {
        if (At.path.empty())
            return RegistryStatus::BadName;
        if (Contents.Find(At.root, At.path) == nullptr)
            return RegistryStatus::NotFound;
        std::erase_if(Contents.keys, [&](const StoredKey& Stored) {
            return Stored.root == At.root && IsAtOrBelow(Stored.path, At.path);
        });
        return RegistryStatus::Ok;
    });
}

RegistryStatus RegistryStore::WriteString(HKEY Root, std::string_view Key, std::string_view Name,
                                          std::string_view Value) {
    return ChangeStore(path_, Root, Key, [&](StoreContents& Contents, const Target& At) {
        StoredKey* key = At.path.empty() ? &Contents.Ensure(At.root, {}) : Contents.Find(At.root, At.path);
        if (key == nullptr)
            return RegistryStatus::NotFound;
        for (auto& [name, value] : key->values)
            if (SameAsciiText(name, Name)) {
                value = Value;
                return RegistryStatus::Ok;
            }
        key->values.emplace_back(Name, Value);
        return RegistryStatus::Ok;
    });
}

void RegistryStore::BeginBatch() {
    Batch& batch = Batches()[path_];
    if (batch.depth++ == 0)
        batch.contents = LoadFile(path_);
}

RegistryStatus RegistryStore::EndBatch() {
    Batch* batch = BatchOf(path_);
    if (batch == nullptr || --batch->depth > 0)
        return RegistryStatus::Ok;
    const RegistryStatus status =
        batch->changed && batch->contents ? Save(path_, Serialize(*batch->contents)) : RegistryStatus::Ok;
    Batches().erase(path_);
    return status;
}

RegistryStatus RegistryStore::DeleteValue(HKEY Root, std::string_view Key, std::string_view Name) {
    return ChangeStore(path_, Root, Key, [&](StoreContents& Contents, const Target& At) {
        StoredKey* key = Contents.Find(At.root, At.path);
        if (key == nullptr || std::erase_if(key->values, [&](const auto& Entry) {
                                  return SameAsciiText(Entry.first, Name);
                              }) == 0)
            return RegistryStatus::NotFound;
        return RegistryStatus::Ok;
    });
}

} // namespace win32
