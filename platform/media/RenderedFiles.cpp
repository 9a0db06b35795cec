#include "platform/media/RenderedFiles.h"

#include <algorithm>
#include <deque>
#include <mutex>

#include <sys/stat.h>

namespace dshow {

namespace {

constexpr std::size_t KeptFiles = 8;

struct Identity {
    unsigned long long device = 0, inode = 0;
    long long size = -1;
    long long modifiedSeconds = 0;
    long long modifiedNanoseconds = 0;
    bool operator==(const Identity&) const = default;
};

std::optional<Identity> IdentityOf(const std::string& Path) {
    struct stat status {};
    if (::stat(Path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return Identity{status.st_dev, status.st_ino, static_cast<long long>(status.st_size),
                    static_cast<long long>(status.st_mtim.tv_sec),
                    static_cast<long long>(status.st_mtim.tv_nsec)};
}

struct Entry {
    std::string path;
    Identity identity;
    RenderedFile facts;
};

struct Store {
    std::mutex mutex;
    std::deque<Entry> entries; // the newest first
};

Store& Kept() {
    static auto* const store = new Store; // never destroyed: graphs may render while the process exits
    return *store;
}

} // namespace

void RememberRenderedFile(const std::string& Path, RenderedFile Facts) {
    const std::optional<Identity> identity = IdentityOf(Path);
    if (!identity || Facts.streams.empty())
        return;
    std::stable_partition(Facts.streams.begin(), Facts.streams.end(), [](const auto& s) { return s.video; });
    Store& store = Kept();
    std::lock_guard lock(store.mutex);
    std::erase_if(store.entries, [&](const Entry& e) { return e.path == Path; });
    store.entries.push_front(Entry{Path, *identity, std::move(Facts)});
    if (store.entries.size() > KeptFiles)
        store.entries.pop_back();
}

std::optional<RenderedFile> RenderedFileFacts(const std::string& Path) {
    const std::optional<Identity> identity = IdentityOf(Path);
    Store& store = Kept();
    std::lock_guard lock(store.mutex);
    const auto found = std::find_if(store.entries.begin(), store.entries.end(),
                                    [&](const Entry& e) { return e.path == Path; });
    if (found == store.entries.end())
        return std::nullopt;
    if (!identity || !(found->identity == *identity)) {
        store.entries.erase(found);
        return std::nullopt;
    }
    return found->facts;
}

} // namespace dshow
