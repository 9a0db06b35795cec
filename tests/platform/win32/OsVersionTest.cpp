#include "platform/win32/OsVersion.h"

#include <gtest/gtest.h>

namespace {

TEST(GetVersionExA, RefusesAStructureOfAnotherSize) {
    win32::OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 156;
    info.dwPlatformId = 77;
    EXPECT_EQ(win32::GetVersionExA(&info), win32::FALSE);
    EXPECT_EQ(info.dwPlatformId, 77u);
    info.dwOSVersionInfoSize = 148;
    EXPECT_EQ(win32::GetVersionExA(&info), win32::TRUE);
    EXPECT_EQ(info.dwPlatformId, win32::VER_PLATFORM_WIN32_NT);
    EXPECT_GT(info.dwMajorVersion, 0u);
}

} // namespace
