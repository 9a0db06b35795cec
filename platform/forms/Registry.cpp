#include "platform/forms/Registry.h"

#include <utility>

namespace forms {

TRegistry::TRegistry() : TRegistry(win32::UserRegistryStorePath()) {}

TRegistry::TRegistry(std::string StorePath) : store_(std::move(StorePath)) {}

TRegistry::~TRegistry() {
    while (updates_ > 0) {
        --updates_;
        store_.EndBatch();
    }
}

void TRegistry::BeginUpdate() {
    store_.BeginBatch();
    ++updates_;
}

void TRegistry::EndUpdate() {
    if (updates_ == 0)
        return;
    --updates_;
    const auto status = store_.EndBatch();
    if (status != win32::RegistryStatus::Ok)
        throw ERegistryException("Failed to write the registry: " + win32::RegistryStatusText(status));
}

void TRegistry::CancelUpdate() {
    if (updates_ == 0)
        return;
    updates_ = 0;
    store_.CancelBatch();
}

void TRegistry::SetRootKey(win32::HKEY Value) {
    CloseKey();
    rootKey_ = Value;
}

std::string TRegistry::FullPath(const std::string& Key) const {
    if (!Key.empty() && Key.front() == '\\')
        return Key.substr(1);
    if (keyOpen_ && !currentPath_.empty())
        return Key.empty() ? currentPath_ : currentPath_ + "\\" + Key;
    return Key;
}

bool TRegistry::Open(const std::string& Key, bool CanCreate, bool ReadOnly) {
    std::string path = FullPath(Key);
    if (!store_.KeyExists(rootKey_, path) &&
        (!CanCreate || store_.CreateKey(rootKey_, path) != win32::RegistryStatus::Ok))
        return false;
    // The path as CurrentPath shows it: no empty names.
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    while (!path.empty() && path.front() == '\\')
        path.erase(0, 1);
    currentPath_ = std::move(path);
    keyOpen_ = true;
    readOnly_ = ReadOnly;
    return true;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) {
    return Open(Key, CanCreate, false);
}

bool TRegistry::OpenKeyReadOnly(const std::string& Key) {
    return Open(Key, false, true);
}

void TRegistry::CloseKey() {
    currentPath_.clear();
    keyOpen_ = false;
    readOnly_ = false;
}

bool TRegistry::KeyExists(const std::string& Key) const {
    return store_.KeyExists(rootKey_, FullPath(Key));
}

bool TRegistry::CreateKey(const std::string& Key) {
    const auto status = store_.CreateKey(rootKey_, FullPath(Key));
    if (status != win32::RegistryStatus::Ok)
        throw ERegistryException("Failed to create key " + Key + ": " + win32::RegistryStatusText(status));
    return true;
}

bool TRegistry::DeleteKey(const std::string& Key) {
    return store_.DeleteKey(rootKey_, FullPath(Key)) == win32::RegistryStatus::Ok;
}

bool TRegistry::ValueExists(const std::string& Name) const {
    return store_.ReadString(rootKey_, currentPath_, Name).has_value();
}

std::string TRegistry::ReadString(const std::string& Name) const {
    return store_.ReadString(rootKey_, currentPath_, Name).value_or("");
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value) {
    const auto status = readOnly_ ? win32::RegistryStatus::WriteFailed
                                  : store_.WriteString(rootKey_, currentPath_, Name, Value);
    if (status != win32::RegistryStatus::Ok)
        throw ERegistryException("Failed to set data for '" + Name + "': " +
                                 (readOnly_ ? std::string("the key is open for reading only")
                                            : win32::RegistryStatusText(status)));
}

bool TRegistry::DeleteValue(const std::string& Name) {
    return !readOnly_ && store_.DeleteValue(rootKey_, currentPath_, Name) == win32::RegistryStatus::Ok;
}

void TRegistry::GetKeyNames(TStringList& Strings) const {
    Strings.Clear();
    for (const std::string& name : store_.SubKeyNames(rootKey_, currentPath_))
        Strings.Add(name);
}

} // namespace forms
