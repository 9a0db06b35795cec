#pragma once
// The keys of a registry store file in memory (the format is described in Registry.h): parsed and written in
// time linear in the file's length, each key found by its names in time linear in their length, whatever the
// number of keys. RegistryStore works on it; the fuzz harness of the store's format reads files through it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/win32/Registry.h"

namespace win32 {

using RegistryKeyPath = std::vector<std::string>;

// The names of Key ("Software\\HurlvanWebCapture"), without empty ones; nullopt when a name holds a control
// character.
std::optional<RegistryKeyPath> SplitRegistryKey(std::string_view Key);

class RegistryContents {
public:
    using Index = std::size_t;
    static constexpr Index None = static_cast<Index>(-1);

    // The keys of a store file's text; nullopt when the text is not in the store's format. An empty text is
    // an empty store.
    static std::optional<RegistryContents> Parse(std::string_view Text);
    // The file's text: every key but the bare roots, in the order they were made, parents before children.
    std::string Serialize() const;

    // The key, or None when it does not exist. A root exists once it holds a value or a key.
    Index Find(HKEY Root, const RegistryKeyPath& Path) const;
    // Makes the key and its missing parents (the root included); Made tells whether anything was made.
    Index Ensure(HKEY Root, const RegistryKeyPath& Path, bool& Made);
    // Removes the key, its values and every key below it. Indexes of other keys may change.
    void Erase(Index Key);

    // The key's value Name (compared without regard to ASCII case); nullopt when missing.
    std::optional<std::string> Value(Index Key, std::string_view Name) const;
    // Sets or adds the value; false when it held Value already.
    bool SetValue(Index Key, std::string_view Name, std::string_view Value);
    // Removes every value named Name; false when there was none.
    bool DeleteValue(Index Key, std::string_view Name);
    // The names of the keys right below Key, in the order they were made.
    std::vector<std::string> SubKeyNames(Index Key) const;

    // How many keys there are, the roots that hold something included.
    std::size_t KeyCount() const { return keys_.size(); }

private:
    struct Key {
        HKEY root;
        Index parent; // None for a root
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
        std::vector<Index> children;
    };
    // A key's place among its siblings: its parent and its name in ASCII lower case (a root: None and the
    // root's name).
    struct Place {
        Index parent;
        std::string lowerName;
        bool operator==(const Place&) const = default;
    };
    struct PlaceHash {
        std::size_t operator()(const Place& P) const;
    };

    Index Child(Index Parent, std::string_view Name) const;
    Index Add(HKEY Root, Index Parent, std::string_view Name);
    void AppendPath(Index Key, std::string& Out) const;

    std::vector<Key> keys_;
    std::unordered_map<Place, Index, PlaceHash> places_;
};

} // namespace win32
