#include "platform/win32/DiskSpace.h"

#include <filesystem>

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

using testing_support::TempDir;

namespace {

TEST(IsVolumeRoot, MountedFoldersOnly) {
    TempDir dir;
    testing_support::WriteFile(dir.File("f"), "x");
    EXPECT_TRUE(win32::IsVolumeRoot("/"));
    EXPECT_TRUE(win32::IsVolumeRoot("/proc"));
    EXPECT_TRUE(win32::IsVolumeRoot("/proc/"));
    EXPECT_FALSE(win32::IsVolumeRoot(dir.Path()));
    EXPECT_FALSE(win32::IsVolumeRoot(dir.File("f")));
    EXPECT_FALSE(win32::IsVolumeRoot(dir.File("missing")));
    EXPECT_FALSE(win32::IsVolumeRoot(""));
}

TEST(GetDiskFreeSpaceExA, TheVolumeOfAFolder) {
    TempDir dir;
    struct statvfs volume {};
    ASSERT_EQ(::statvfs(dir.Path().c_str(), &volume), 0);
    std::uint64_t available = 0, total = 0, free = 0;
    ASSERT_EQ(win32::GetDiskFreeSpaceExA(dir.Path(), &available, &total, &free), win32::TRUE);
    EXPECT_EQ(total, static_cast<std::uint64_t>(volume.f_blocks) * volume.f_frsize);
    EXPECT_LE(available, free);
    EXPECT_LE(free, total);
    EXPECT_EQ(win32::GetDiskFreeSpaceExA(dir.Path(), nullptr, &total, nullptr), win32::TRUE);
    EXPECT_EQ(win32::GetDiskFreeSpaceExA(dir.File("missing"), nullptr, &total, nullptr), win32::FALSE);
}

TEST(GetDiskFreeSpaceExA, ABlockDeviceGivesItsSize) {
    std::string device;
    for (const auto& entry : std::filesystem::directory_iterator("/dev"))
        if (entry.is_block_file() &&
            win32::GetDiskFreeSpaceExA(entry.path().string(), nullptr, nullptr, nullptr)) {
            device = entry.path().string();
            break;
        }
    if (device.empty())
        GTEST_SKIP() << "no block device here";
    EXPECT_TRUE(win32::IsVolumeRoot(device));
    std::uint64_t total = 0, free = 1;
    ASSERT_EQ(win32::GetDiskFreeSpaceExA(device, nullptr, &total, &free), win32::TRUE);
    EXPECT_EQ(free, 0u);
}

} // namespace
