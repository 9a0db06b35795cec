#include "platform/win32/FileSearch.h"

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>

namespace win32 {

struct TSearchRec::Search {
    DIR* dir = nullptr;
    std::string pattern;
    int mask = 0;
    ~Search() {
        if (dir != nullptr)
            ::closedir(dir);
    }
};

namespace {

// The attributes of Name in the search's folder; -1 for an entry the search never finds.
int AttributesOf(DIR* Dir, const char* Name, std::int64_t& Size) {
    struct stat st {};
    if (::fstatat(::dirfd(Dir), Name, &st, 0) != 0)
        return -1;
    int attr = Name[0] == '.' ? faHidden : 0;
    if (S_ISDIR(st.st_mode)) {
        attr |= faDirectory;
    } else if (S_ISREG(st.st_mode)) {
        attr |= faArchive;
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            attr |= faReadOnly;
    } else {
        return -1;
    }
    Size = S_ISREG(st.st_mode) ? static_cast<std::int64_t>(st.st_size) : 0;
    return attr;
}

int NextMatch(TSearchRec& F) {
    TSearchRec::Search& search = *F.Handle;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(search.dir);
        if (entry == nullptr)
            return errno != 0 ? errno : ENOENT;
        if (::fnmatch(search.pattern.c_str(), entry->d_name, FNM_CASEFOLD) != 0)
            continue;
        std::int64_t size = 0;
        const int attr = AttributesOf(search.dir, entry->d_name, size);
        // The Windows rule: hidden entries and folders only when the mask asks for them.
        if (attr < 0 || (attr & ~search.mask & (faHidden | faSysFile | faVolumeID | faDirectory)) != 0)
            continue;
        F.Name = entry->d_name;
        F.Attr = attr;
        F.Size = size;
        return 0;
    }
}

} // namespace

int FindFirst(const std::string& Path, int Attr, TSearchRec& F) {
    FindClose(F);
    const auto slash = Path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : Path.substr(0, slash);
    std::string pattern = slash == std::string::npos ? Path : Path.substr(slash + 1);
    if (pattern.empty())
        return ENOENT;
    if (pattern == "*.*")
        pattern = "*";
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return errno;
    F.Handle = std::make_shared<TSearchRec::Search>();
    F.Handle->dir = dir;
    F.Handle->pattern = std::move(pattern);
    F.Handle->mask = Attr;
    const int result = NextMatch(F);
    if (result != 0)
        FindClose(F);
    return result;
}

int FindNext(TSearchRec& F) {
    if (!F.Handle)
        return ENOENT;
    return NextMatch(F);
}

void FindClose(TSearchRec& F) {
    F.Handle.reset();
}

} // namespace win32
