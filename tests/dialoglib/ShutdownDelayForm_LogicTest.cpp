#include "dialoglib/ShutdownDelayForm_Logic.h"

#include <gtest/gtest.h>

namespace {

TEST(ShutdownTexts, ByLanguage) {
    const TShutdownTexts en = ShutdownTexts(1, "studio", 30);
    EXPECT_EQ(en.Caption, "Shutdown...");
    EXPECT_EQ(en.Countdown, "Computer studio will shutdown \r\rafter 30 second.");
    EXPECT_EQ(en.OK, "OK");
    EXPECT_EQ(en.Cancel, "Cancel");
    const TShutdownTexts zh = ShutdownTexts(2, "studio", 30);
    EXPECT_EQ(zh.Caption, "关闭计算机...");
    EXPECT_EQ(zh.Countdown, "计算机 studio 将要在 30 秒之后关闭。");
    EXPECT_EQ(zh.OK, "确定");
    EXPECT_EQ(zh.Cancel, "放弃");
    for (int language : {0, 3}) {
        const TShutdownTexts none = ShutdownTexts(language, "studio", 30);
        EXPECT_EQ(none.Caption + none.Countdown + none.OK + none.Cancel, "") << language;
    }
}

TEST(CountdownText, KeepsTheFullHostName) {
    const std::string name(64, 'h');
    EXPECT_EQ(CountdownText(1, name, 1), "Computer " + name + " will shutdown \r\rafter 1 second.");
    EXPECT_EQ(CountdownText(1, name, 0).substr(CountdownText(1, name, 0).size() - 16), "\rafter 0 second.");
}

TEST(CountdownTick, ShowsThirtyDownToZeroAndEndsAtTheTickAfterZero) {
    int countDown = ShutdownCountDownStart;
    std::vector<int> shown;
    int ticks = 0;
    while (true) {
        ++ticks;
        if (CountdownTick(countDown))
            break;
        shown.push_back(countDown);
        ASSERT_LT(ticks, 100);
    }
    EXPECT_EQ(ticks, 31);
    ASSERT_EQ(shown.size(), 30u);
    EXPECT_EQ(shown.front(), 29);
    EXPECT_EQ(shown.back(), 0);
    EXPECT_TRUE(CountdownTick(countDown)) << "stays run out";
    EXPECT_EQ(countDown, 0);
}

} // namespace
