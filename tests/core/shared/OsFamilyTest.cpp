#include "core/shared/OsFamily.h"

#include <gtest/gtest.h>

namespace {

TEST(GetOsFamily, ThisPlatformIsTheNtFamily) {
    std::string family = "stale";
    GetOsFamily(family);
    EXPECT_EQ(family, "Windows NT/2000/XP");
}

} // namespace
