#include "dialoglib/TarvexUseWindow.h"

#include <QApplication>

#include <gtest/gtest.h>

#include "tests/support/QtApp.h"

namespace {

TEST(Exports, ZeroHandleDoesNothingAndLeavesTheResultsAlone) {
    testing_support::EnsureQApplication();
    forms::TStringList history;
    history.Add("/media/a.avi");
    std::int32_t resultCode = 77;
    std::int64_t seconds = -5;
    std::uint8_t cancelled = 9;

    CreateShutDownDelayForm(nullptr, 1);
    CreateManageHistoryForm(nullptr, &history, &resultCode, 1);
    CreateMediaPropertyForm(nullptr, 1, "/media/a.avi", "0:00:10", 640, 480, 25.0, 1);
    CreateGotoMediaForm(nullptr, 1, 100'000'000, 1, &seconds, &cancelled);

    EXPECT_EQ(resultCode, 77);
    EXPECT_EQ(seconds, -5);
    EXPECT_EQ(cancelled, 9);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

} // namespace
