#pragma once
// The registry: keys under the roots HKEY_CURRENT_USER and HKEY_CLASSES_ROOT holding string values, kept in a
// file of the user's own (UserRegistryStorePath) instead of a system database.
//
// As in the Windows registry:
// - a key is a path of names separated by "\" below its root ("Software\HurlvanWebCapture"); a leading,
//   trailing or doubled "\" adds no name; the root itself always exists;
// - key names and value names compare without regard to (ASCII) case and keep the case they were created
// with;
// - the value named "" is the key's default value;
// - creating a key creates its missing parents; deleting a key deletes every key below it.
// Key names hold no control characters; value names and values may hold any byte but NUL.
//
// Every call outside a batch reads the file; every change then applies itself and replaces the file
// atomically (a temporary file beside it, then a rename), creating its folder when missing. A batch
// (BeginBatch .. EndBatch, which may nest) reads the file once, at its start: within it the keys of one store
// file are kept in memory, where every store object on that file reads and changes them, and the file is
// written once, at the end of the outermost batch (when something changed). Only the GUI thread uses the
// registry. A file that is there but cannot be read, or that is not in the store's format, reads as an empty
// registry and is never written over: every change to it fails.
//
// Store file format, one line each, "\n" at the end:
//   TarvexDvd registry 1
//   [HKEY_CURRENT_USER\Software\HurlvanWebCapture]
//   "Name"="Value"
//   @="the default value"
// Inside quotes "\\", "\"" and "\xHH" (control bytes) are escaped. Blank lines are ignored.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

// A root key handle. Only the two predefined roots name keys of the store.
struct HKEY__;
using HKEY = HKEY__*;

inline const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u));
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u));

// The root's name as the store writes it ("HKEY_CURRENT_USER"); "" for a handle that names no root.
std::string RootKeyName(HKEY Root);

// The store of the user: "TarvexDvd/registry" in $XDG_CONFIG_HOME, or in $HOME/.config when that is not set
// to an absolute path; "" when neither names a folder.
std::string UserRegistryStorePath();

enum class RegistryStatus {
    Ok,
    NotFound,    // the key or value does not exist
    BadName,     // not a root, a key name with a control character, or the root itself where a key is needed
    Unreadable,  // the store is there but cannot be read or is not in the store's format; it is left alone
    WriteFailed, // the store could not be written; it is left as it was
};

// A short English text for Status, for error messages.
std::string RegistryStatusText(RegistryStatus Status);

class RegistryStore {
public:
    explicit RegistryStore(std::string Path) : path_(std::move(Path)) {}

    const std::string& Path() const { return path_; }

    bool KeyExists(HKEY Root, std::string_view Key) const;
    // Creates Key and its missing parents; Ok when it exists afterwards.
    RegistryStatus CreateKey(HKEY Root, std::string_view Key);
    // Deletes Key with its values and every key below it. The root itself cannot be deleted.
    RegistryStatus DeleteKey(HKEY Root, std::string_view Key);

    // The string value Name of Key; nullopt when the key or the value is missing (or the store unreadable).
    std::optional<std::string> ReadString(HKEY Root, std::string_view Key, std::string_view Name) const;
    // Sets the value Name of an existing Key to Value, replacing an existing value.
    RegistryStatus WriteString(HKEY Root, std::string_view Key, std::string_view Name,
                               std::string_view Value);
    RegistryStatus DeleteValue(HKEY Root, std::string_view Key, std::string_view Name);
    // The names of the keys right below Key (the root's own keys for an empty Key), in the order they were
    // made; none when Key is missing.
    std::vector<std::string> SubKeyNames(HKEY Root, std::string_view Key) const;

    // False when the store file is there but cannot be read or is not in the store's format (every change
    // then fails with Unreadable).
    bool Readable() const;

    // A batch of changes to this store file. EndBatch of the outermost batch writes the changes (when there
    // are any) and gives the result of that write; inner ones give Ok.
    void BeginBatch();
    RegistryStatus EndBatch();
    // Ends the batch on this store file at once, however deeply it nests, without writing its changes.
    void CancelBatch();

private:
    std::string path_;
};

} // namespace win32
