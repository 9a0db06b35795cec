#include "core/shared/TimeSplit.h"

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"

namespace {

struct SplitCase {
    const char* name;
    std::int64_t refTime;
    std::int64_t h, m, s;
};
class RefTimeToHmsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(RefTimeToHmsTest, TruncatesToWholeSecondsAndSplits) {
    const SplitCase& c = GetParam();
    std::int64_t h = -1, m = -1, s = -1;
    RefTimeToHms(h, m, s, c.refTime);
    EXPECT_EQ(h, c.h);
    EXPECT_EQ(m, c.m);
    EXPECT_EQ(s, c.s);

    SecondsToHms(h, m, s, c.refTime / RefTimeUnitsPerSecond);
    EXPECT_EQ(h, c.h);
    EXPECT_EQ(m, c.m);
    EXPECT_EQ(s, c.s);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefTimeToHmsTest,
    ::testing::Values(SplitCase{"Zero", 0, 0, 0, 0}, SplitCase{"JustBelowOneHour", 36'009'999'999, 1, 0, 0},
                      SplitCase{"FractionTruncated", 54'009'000'000, 1, 30, 0},
                      SplitCase{"AllParts", 39'090'000'000, 1, 5, 9},
                      SplitCase{"BeyondThirtyTwoBits", 3'000'000'000LL * 10'000'000, 833333, 20, 0}),
    testing_support::CaseName());

TEST(HmsText, PadsMinutesAndSecondsButNotHours) {
    EXPECT_EQ(HmsText(1, 5, 9), "1:05:09");
    EXPECT_EQ(HmsText(0, 0, 0), "0:00:00");
    EXPECT_EQ(HmsText(12, 0, 0), "12:00:00");
    EXPECT_EQ(HmsText(833333, 20, 0), "833333:20:00");
}

} // namespace
