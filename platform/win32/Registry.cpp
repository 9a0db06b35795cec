#include "platform/win32/Registry.h"

#include <filesystem>
#include <map>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/win32/Files.h"
#include "platform/win32/RegistryContents.h"
#include "platform/win32/UserFolders.h"

namespace win32 {
namespace {

// A batch of changes to one store file: its keys as the changes left them, written once at its end.
struct Batch {
    int depth = 0;
    std::optional<RegistryContents> contents;
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

// The store file's keys: empty when there is no file; nullopt when a file is there that cannot be read or
// parsed.
std::optional<RegistryContents> LoadFile(const std::string& Path) {
    if (Path.empty())
        return std::nullopt;
    std::error_code error;
    const auto text = ReadWholeFile(Path, error);
    // No file, or a file where one of its folders should be: there is no store yet.
    if (!text)
        return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory
                   ? std::optional<RegistryContents>(RegistryContents{})
                   : std::nullopt;
    return RegistryContents::Parse(*text);
}

// The store's keys as a reader or a change sees them: within a batch the batch's own (read once at its
// start, changed in place), otherwise the file's, read now.
class LoadedStore {
public:
    explicit LoadedStore(const std::string& Path) {
        if (Batch* batch = BatchOf(Path)) {
            contents_ = batch->contents ? &*batch->contents : nullptr;
            batch_ = batch;
            return;
        }
        own_ = LoadFile(Path);
        contents_ = own_ ? &*own_ : nullptr;
    }
    // nullptr when the store cannot be read.
    RegistryContents* Contents() const { return contents_; }
    Batch* InBatch() const { return batch_; }

private:
    std::optional<RegistryContents> own_;
    RegistryContents* contents_ = nullptr;
    Batch* batch_ = nullptr;
};

RegistryStatus Save(const std::string& Path, const std::string& Text) {
    const std::filesystem::path folder = std::filesystem::path(Path).parent_path();
    if (!folder.empty() && !ForceDirectories(folder.string()))
        return RegistryStatus::WriteFailed;
    return WriteFileAtomically(Path, Text) ? RegistryStatus::Ok : RegistryStatus::WriteFailed;
}

// A key named for a change: the root must be one of the store's and the names must be valid.
struct Target {
    HKEY root;
    RegistryKeyPath path;
};

std::optional<Target> TargetOf(HKEY Root, std::string_view Key) {
    if (RootKeyName(Root).empty())
        return std::nullopt;
    auto path = SplitRegistryKey(Key);
    if (!path)
        return std::nullopt;
    return Target{Root, std::move(*path)};
}

// Applies Change to the store's keys; when it answers Ok and says that it changed them, they are saved (or
// kept for the end of the batch). A change that fails changes nothing.
template <class Change>
RegistryStatus ChangeStore(const std::string& Path, HKEY Root, std::string_view Key, Change&& Apply) {
    const auto target = TargetOf(Root, Key);
    if (!target)
        return RegistryStatus::BadName;
    LoadedStore store(Path);
    if (store.Contents() == nullptr)
        return RegistryStatus::Unreadable;
    bool changed = false;
    const RegistryStatus status = Apply(*store.Contents(), *target, changed);
    if (status != RegistryStatus::Ok || !changed)
        return status;
    if (Batch* batch = store.InBatch()) {
        batch->changed = true;
        return RegistryStatus::Ok;
    }
    return Save(Path, store.Contents()->Serialize());
}

// The key named by Root and Key in Store, for reading: None when it or the store is missing.
RegistryContents::Index FindKey(const LoadedStore& Store, HKEY Root, std::string_view Key) {
    const auto target = TargetOf(Root, Key);
    if (!target || Store.Contents() == nullptr)
        return RegistryContents::None;
    return Store.Contents()->Find(target->root, target->path);
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
    const std::string config = XdgConfigHome();
    return config.empty() ? "" : (std::filesystem::path(config) / "TarvexDvd" / "registry").string();
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
    return FindKey(LoadedStore(path_), Root, Key) != RegistryContents::None;
}

std::optional<std::string> RegistryStore::ReadString(HKEY Root, std::string_view Key,
                                                     std::string_view Name) const {
    const LoadedStore store(path_);
    const auto key = FindKey(store, Root, Key);
    if (key == RegistryContents::None)
        return std::nullopt;
    return store.Contents()->Value(key, Name);
}

std::vector<std::string> RegistryStore::SubKeyNames(HKEY Root, std::string_view Key) const {
    const LoadedStore store(path_);
    const auto key = FindKey(store, Root, Key);
    if (key == RegistryContents::None)
        return {};
    return store.Contents()->SubKeyNames(key);
}

bool RegistryStore::Readable() const {
    return LoadedStore(path_).Contents() != nullptr;
}

RegistryStatus RegistryStore::CreateKey(HKEY Root, std::string_view Key) {
    return ChangeStore(path_, Root, Key, [](RegistryContents& Contents, const Target& At, bool& Changed) {
        Contents.Ensure(At.root, At.path, Changed);
        return RegistryStatus::Ok;
    });
}

RegistryStatus RegistryStore::DeleteKey(HKEY Root, std::string_view Key) {
    return ChangeStore(path_, Root, Key, [](RegistryContents& Contents, const Target& At, bool& Changed) {
        if (At.path.empty())
            return RegistryStatus::BadName;
        const auto key = Contents.Find(At.root, At.path);
        if (key == RegistryContents::None)
            return RegistryStatus::NotFound;
        Contents.Erase(key);
        Changed = true;
        return RegistryStatus::Ok;
    });
}

RegistryStatus RegistryStore::WriteString(HKEY Root, std::string_view Key, std::string_view Name,
                                          std::string_view Value) {
    return ChangeStore(path_, Root, Key, [&](RegistryContents& Contents, const Target& At, bool& Changed) {
        // The root always exists: a value of its own makes it a key of the file.
        const auto key =
            At.path.empty() ? Contents.Ensure(At.root, {}, Changed) : Contents.Find(At.root, At.path);
        if (key == RegistryContents::None)
            return RegistryStatus::NotFound;
        Changed = Contents.SetValue(key, Name, Value) || Changed;
        return RegistryStatus::Ok;
    });
}

RegistryStatus RegistryStore::DeleteValue(HKEY Root, std::string_view Key, std::string_view Name) {
    return ChangeStore(path_, Root, Key, [&](RegistryContents& Contents, const Target& At, bool& Changed) {
        const auto key = Contents.Find(At.root, At.path);
        if (key == RegistryContents::None || !Contents.DeleteValue(key, Name))
            return RegistryStatus::NotFound;
        Changed = true;
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
        batch->changed && batch->contents ? Save(path_, batch->contents->Serialize()) : RegistryStatus::Ok;
    Batches().erase(path_);
    return status;
}

void RegistryStore::CancelBatch() {
    Batches().erase(path_);
}

} // namespace win32
