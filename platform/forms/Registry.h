#pragma once
// The class library's registry object over the registry store (platform/win32/Registry.h).
//
// A registry object has a root key (HKEY_CURRENT_USER unless set) and at most one open key. As the player's
// code relies on it:
// - a key name that begins with "\" is taken from the root; any other name from the open key, or from the
//   root when no key is open;
// - OpenKey opens a key, creating it (with its missing parents) when CanCreate is set; it answers false when
//   the key does not exist and may not be created, or cannot be created; OpenKeyReadOnly opens an existing
//   key for reading only;
// - reads and writes of values go to the open key, or to the root when no key is open; a missing value
//   reads as "";
// - a write that cannot be done (a key opened read-only, a store that cannot be read or written) raises
//   ERegistryException; CreateKey raises when the key cannot be created;
// - BeginUpdate .. EndUpdate make the changes of many calls, by this object or any other on the same store,
//   one write of the store (see RegistryStore's batches), and one read of it; EndUpdate raises when that
//   write fails. CancelUpdate drops the changes of the whole update instead. An update still open when the
//   object is freed ends then, without raising.

#include <string>

#include "platform/forms/StringList.h"
#include "platform/win32/Registry.h"

namespace forms {

class ERegistryException : public EClassLibraryError {
public:
    using EClassLibraryError::EClassLibraryError;
};

class TRegistry {
public:
    // Works on the user's registry store.
    TRegistry();
    // Works on the store in the file StorePath (tests).
    explicit TRegistry(std::string StorePath);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    win32::HKEY RootKey() const { return rootKey_; }
    // Closes the open key.
    void SetRootKey(win32::HKEY Value);
    // The open key's path below the root, without a leading "\"; "" when none is open.
    const std::string& CurrentPath() const { return currentPath_; }
    bool KeyOpen() const { return keyOpen_; }

    bool OpenKey(const std::string& Key, bool CanCreate);
    bool OpenKeyReadOnly(const std::string& Key);
    void CloseKey();

    bool KeyExists(const std::string& Key) const;
    bool CreateKey(const std::string& Key);
    // Deletes Key and every key below it; false when it does not exist or cannot be deleted.
    bool DeleteKey(const std::string& Key);

    bool ValueExists(const std::string& Name) const;
    std::string ReadString(const std::string& Name) const;
    void WriteString(const std::string& Name, const std::string& Value);
    bool DeleteValue(const std::string& Name);
    // The names of the keys right below the open key (below the root when none is open).
    void GetKeyNames(TStringList& Strings) const;

    // The file of the store this object works on, and whether it can be read (false: it is there but cannot
    // be read or is not in the store's format, and every change to it fails).
    const std::string& StorePath() const { return store_.Path(); }
    bool StoreReadable() const { return store_.Readable(); }

    void BeginUpdate();
    void EndUpdate();
    void CancelUpdate();

private:
    // Key as a path from the root.
    std::string FullPath(const std::string& Key) const;
    bool Open(const std::string& Key, bool CanCreate, bool ReadOnly);

    win32::RegistryStore store_;
    win32::HKEY rootKey_ = win32::HKEY_CURRENT_USER;
    std::string currentPath_;
    bool keyOpen_ = false;
    bool readOnly_ = false;
    int updates_ = 0;
};

} // namespace forms
