#include "platform/win32/DiskSpace.h"

#include <climits>
#include <cstdlib>
#include <fstream>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace win32 {

namespace {

// The size of a block device: from the device itself, or (without the right to open it, as for an optical
// drive of another group) from its sysfs entry, which counts 512-byte sectors.
bool BlockDeviceSize(const std::string& Path, const struct stat& Info, std::uint64_t& Size) {
    const int fd = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        std::uint64_t bytes = 0;
        const bool known = ::ioctl(fd, BLKGETSIZE64, &bytes) == 0;
        ::close(fd);
        if (known) {
            Size = bytes;
            return true;
        }
    }
    std::ifstream sectors("/sys/dev/block/" + std::to_string(major(Info.st_rdev)) + ":" +
                          std::to_string(minor(Info.st_rdev)) + "/size");
    std::uint64_t count = 0;
    if (!(sectors >> count))
        return false;
    Size = count * 512;
    return true;
}

} // namespace

bool IsVolumeRoot(const std::string& Path) {
    struct stat self {};
    if (Path.empty() || ::stat(Path.c_str(), &self) != 0)
        return false;
    if (S_ISBLK(self.st_mode))
        return true;
    if (!S_ISDIR(self.st_mode))
        return false;
    char resolved[PATH_MAX];
    if (::realpath(Path.c_str(), resolved) == nullptr)
        return false;
    struct stat parent {};
    if (::stat((std::string(resolved) + "/..").c_str(), &parent) != 0)
        return false;
    // A mounted file system lies on another device than the folder above it; the root is its own parent.
    // (A bind mount of a folder of the same device is not told apart from a plain folder.)
    return parent.st_dev != self.st_dev || parent.st_ino == self.st_ino;
}

BOOL GetDiskFreeSpaceExA(const std::string& Path, std::uint64_t* FreeBytesAvailable,
                         std::uint64_t* TotalBytes, std::uint64_t* TotalFreeBytes) {
    struct stat info {};
    if (Path.empty() || ::stat(Path.c_str(), &info) != 0)
        return FALSE;
    std::uint64_t total = 0, free = 0, available = 0;
    if (S_ISBLK(info.st_mode)) {
        if (!BlockDeviceSize(Path, info, total))
            return FALSE;
    } else {
        struct statvfs volume {};
        if (::statvfs(Path.c_str(), &volume) != 0)
            return FALSE;
        total = static_cast<std::uint64_t>(volume.f_blocks) * volume.f_frsize;
        free = static_cast<std::uint64_t>(volume.f_bfree) * volume.f_frsize;
        available = static_cast<std::uint64_t>(volume.f_bavail) * volume.f_frsize;
    }
    if (FreeBytesAvailable != nullptr)
        *FreeBytesAvailable = available;
    if (TotalBytes != nullptr)
        *TotalBytes = total;
    if (TotalFreeBytes != nullptr)
        *TotalFreeBytes = free;
    return TRUE;
}

} // namespace win32
