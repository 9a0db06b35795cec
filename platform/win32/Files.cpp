#include "platform/win32/Files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win32 {

bool WriteFileAtomically(const std::string& Path, std::string_view Contents) {
    std::error_code error;
    return WriteFileAtomically(Path, Contents, error);
}

namespace {

// A new file beside Path named "Path.XXXXXX" (six letters or digits, as RemoveStaleTemporaries expects),
// created with the mode 0666 less the process's umask, as any new file of the user's; -1 with errno set when
// none can be made.
int CreateTemporaryBeside(const std::string& Path, std::string& TempPath) {
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof Letters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        TempPath = Path + ".";
        for (int i = 0; i < 6; ++i)
            TempPath += Letters[pick(random)];
        const int fd = ::open(TempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

bool WriteFileAtomically(const std::string& Path, std::string_view Contents, std::error_code& Error) {
    Error.clear();
    auto fail = [&Error] {
        if (!Error)
            Error.assign(errno, std::generic_category());
        return false;
    };
    std::string tempPath;
    int fd = CreateTemporaryBeside(Path, tempPath);
    if (fd < 0)
        return fail();
    const char* data = Contents.data();
    std::size_t left = Contents.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    // A file that is replaced keeps the permissions the user gave it (a history kept private stays so); a new
    // one has those of the umask, from its creation.
    struct stat replaced {};
    if (ok && ::stat(Path.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode))
        ok = ::fchmod(fd, replaced.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO)) == 0;
    ok = ok && ::fsync(fd) == 0;
    if (!ok)
        fail();
    ok = (::close(fd) == 0 || fail()) && ok;
    if (ok && ::rename(tempPath.c_str(), Path.c_str()) == 0)
        return true;
    fail();
    ::unlink(tempPath.c_str());
    return false;
}

int RemoveStaleTemporaries(const std::string& Path) {
    namespace fs = std::filesystem;
    constexpr auto MinimumAge = std::chrono::minutes(1);
    const fs::path path(Path);
    const std::string prefix = path.filename().string() + ".";
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const auto now = fs::file_time_type::clock::now();
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const bool madeByMkstemp =
            std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                        [](unsigned char c) { return std::isalnum(c) != 0; });
        std::error_code fileError;
        if (!madeByMkstemp || !fs::is_regular_file(fs::symlink_status(it->path(), fileError)))
            continue;
        const auto written = fs::last_write_time(it->path(), fileError);
        if (fileError || now - written < MinimumAge)
            continue;
        if (fs::remove(it->path(), fileError))
            ++removed;
    }
    return removed;
}

std::optional<std::string> KeepDamagedFile(const std::string& Path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(Path, error)))
        return std::nullopt;
    return KeepDamagedEntry(Path);
}

std::optional<std::string> KeepDamagedEntry(const std::string& Path) {
    namespace fs = std::filesystem;
    constexpr int Kept = 5;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(Path, error)))
        return std::nullopt;
    auto name = [&Path](int Number) {
        return Path + ".bad" + (Number == 1 ? "" : "." + std::to_string(Number));
    };
    for (int number = 1; number <= Kept; ++number) {
        const std::string to = name(number);
        // Never over a file kept before, even one that another program keeps aside at the same moment.
        if (::renameat2(AT_FDCWD, Path.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return to;
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return std::nullopt;
        // A file system without the no-replace rename.
        if (!fs::exists(fs::symlink_status(to, error)) && ::rename(Path.c_str(), to.c_str()) == 0)
            return to;
    }
    std::string oldest = name(1);
    for (int number = 2; number <= Kept; ++number) {
        std::error_code timeError;
        if (fs::last_write_time(name(number), timeError) < fs::last_write_time(oldest, error) && !timeError)
            oldest = name(number);
    }
    if (::rename(Path.c_str(), oldest.c_str()) != 0)
        return std::nullopt;
    return oldest;
}

std::optional<std::string> ReadWholeFile(const std::string& Path, std::error_code& Error) {
    Error.clear();
    // Plain reads: a read error (a folder in the file's place, an I/O error) must come back as a result, not
    // as an exception out of a stream. O_NONBLOCK keeps a FIFO in the file's place from blocking the open.
    const int fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        Error.assign(errno, std::generic_category());
        return std::nullopt;
    }
    std::string text;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Error.assign(errno, std::generic_category());
            ::close(fd);
            return std::nullopt;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return text;
}

std::optional<std::string> ReadWholeFile(const std::string& Path) {
    std::error_code error;
    return ReadWholeFile(Path, error);
}

bool FileExists(const std::string& Path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(Path, ec);
}

PathKind KindOfPath(const std::string& Path) {
    std::error_code ec;
    const std::filesystem::file_status target = std::filesystem::status(Path, ec);
    switch (target.type()) {
    case std::filesystem::file_type::regular:
        return PathKind::File;
    case std::filesystem::file_type::directory:
        return PathKind::Folder;
    case std::filesystem::file_type::not_found:
    case std::filesystem::file_type::none:
        return std::filesystem::is_symlink(std::filesystem::symlink_status(Path, ec)) ? PathKind::BrokenLink
                                                                                     : PathKind::Nothing;
    default:
        return PathKind::Special;
    }
}

std::string FileReadError(const std::string& Path) {
    // Without blocking: a FIFO put in the file's place never waits for a writer.
    const int fd = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    ::close(fd);
    return {};
}

bool DirectoryExists(const std::string& Path) {
    std::error_code ec;
    return std::filesystem::is_directory(Path, ec);
}

bool ForceDirectories(const std::string& Path) {
    std::error_code ec;
    std::filesystem::create_directories(Path, ec);
    return DirectoryExists(Path);
}

std::string FindFileNoCase(const std::string& Path) {
    if (FileExists(Path))
        return Path;
    const std::filesystem::path path(Path);
    const std::string name = path.filename().string();
    auto lower = [](std::string text) {
        for (char& c : text)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return text;
    };
    const std::string wanted = lower(name);
    std::error_code ec;
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (lower(it->path().filename().string()) == wanted && it->is_regular_file(ec))
            return (path.has_parent_path() ? path.parent_path() / it->path().filename()
                                           : it->path().filename())
                .string();
    return Path;
}

std::string GetModuleFileName() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

std::optional<FileTail> ReadFileTail(const std::string& Path, std::size_t Count, std::error_code& Error) {
    const int fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        Error = std::error_code(errno, std::system_category());
        return std::nullopt;
    }
    FileTail tail;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        tail.regular = true;
        tail.shorter = info.st_size < static_cast<off_t>(Count);
        const off_t at = info.st_size - static_cast<off_t>(Count);
        std::string bytes(tail.shorter ? 0 : Count, '\0');
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n =
                ::pread(fd, bytes.data() + got, bytes.size() - got, at + static_cast<off_t>(got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        tail.bytes = std::move(bytes);
    }
    ::close(fd);
    return tail;
}

} // namespace win32
