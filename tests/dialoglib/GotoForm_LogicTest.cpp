#include "dialoglib/GotoForm_Logic.h"

#include <gtest/gtest.h>

#include "platform/forms/Conversions.h"
#include "tests/support/CaseName.h"

namespace {

TEST(GotoTexts, ByLanguage) {
    EXPECT_EQ(GotoTexts(1).Caption, "Goto...");
    EXPECT_EQ(GotoTexts(1).MediaTime, "Media time:");
    EXPECT_EQ(GotoTexts(1).Second, "Second");
    EXPECT_EQ(GotoTexts(1).Cancel, "Cancel");
    EXPECT_EQ(GotoTexts(2).Caption, "转到...");
    EXPECT_EQ(GotoTexts(2).Hour, "小时");
    EXPECT_EQ(GotoTexts(2).Minute, "分钟");
    EXPECT_EQ(GotoTexts(2).OK, "确定");
    EXPECT_EQ(GotoTexts(2).Cancel, "放弃");
    for (int language : {0, 3, -1}) {
        const TGotoTexts t = GotoTexts(language);
        for (const std::string* text :
             {&t.Caption, &t.MediaTime, &t.Hour, &t.Minute, &t.Second, &t.OK, &t.Cancel})
            EXPECT_EQ(*text, "") << language;
    }
}

struct LengthCase {
    const char* name;
    int playType;
    std::int64_t length;
    std::int64_t seconds;
    const char* text;
};
class GotoLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(GotoLengthTest, SplitsByTheUnitOfThePlayType) {
    const TGotoLength l = GotoLength(GetParam().playType, GetParam().length);
    EXPECT_EQ(l.LengthSeconds, GetParam().seconds);
    EXPECT_EQ(GotoLengthText(l), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, GotoLengthTest,
                         ::testing::Values(LengthCase{"MediaFileTruncates", 1, 54'009'000'000, 5400,
                                                      "1:30:00"},
                                           LengthCase{"PipInRefTime", 3, 39'090'000'000, 3909, "1:05:09"},
                                           LengthCase{"DvdInSeconds", 2, 3909, 3909, "1:05:09"},
                                           LengthCase{"AudioHasNoLength", 4, 3909, 0, "0:00:00"},
                                           LengthCase{"NothingLoaded", 0, 3909, 0, "0:00:00"},
                                           LengthCase{"ZeroLength", 1, 0, 0, "0:00:00"}),
                         testing_support::CaseName());

struct TimeCase {
    const char* name;
    const char* h;
    const char* m;
    const char* s;
    bool accepted;
    std::int64_t chosen;
    TGotoEdit focus;
};
class ValidateGotoTimeTest : public ::testing::TestWithParam<TimeCase> {};

// The length 1:30:00 (5,400.9 seconds of a media file).
TEST_P(ValidateGotoTimeTest, AcceptsTimesWithinTheLengthAndPointsAtTheFirstPartTooLarge) {
    const TimeCase& c = GetParam();
    const TGotoVerdict v = ValidateGotoTime(GotoLength(1, 54'009'000'000), c.h, c.m, c.s);
    EXPECT_EQ(v.Accepted, c.accepted);
    EXPECT_EQ(v.ChosenSeconds, c.chosen);
    EXPECT_EQ(v.Focus, c.focus);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValidateGotoTimeTest,
    ::testing::Values(
        TimeCase{"Zero", "0", "0", "0", true, 0, TGotoEdit::None},
        TimeCase{"TheLengthItself", "1", "30", "0", true, 5400, TGotoEdit::None},
        TimeCase{"OneSecondBeyond", "1", "30", "1", false, 5401, TGotoEdit::Second},
        TimeCase{"PartsComparedOneByOne", "0", "90", "0", true, 5400, TGotoEdit::None},
        TimeCase{"MinutesTooLarge", "1", "45", "0", false, 6300, TGotoEdit::Minute},
        TimeCase{"HoursFirst", "2", "45", "99", false, 9999, TGotoEdit::Hour},
        TimeCase{"BeyondWithoutAPartTooLarge", "0", "0", "5401", false, 5401, TGotoEdit::Second},
        TimeCase{"OnlyTheTotalCounts", "-1", "90", "0", true, 1800, TGotoEdit::None},
        TimeCase{"Negative", "0", "-1", "0", false, -60, TGotoEdit::None},
        TimeCase{"LeadingZeros", "01", "05", "09", true, 3909, TGotoEdit::None},
        // 1193047 hours wrap to 1904 seconds in 32 bits; the 64-bit total is refused.
        TimeCase{"NoWrapAround", "1193047", "0", "0", false, 4'294'969'200LL, TGotoEdit::Hour},
        TimeCase{"LargestParts", "2147483647", "2147483647", "2147483647", false, 2147483647LL * 3661,
                 TGotoEdit::Hour},
        TimeCase{"WrapToNegativeIsRefused", "596524", "0", "0", false, 2'147'486'400LL, TGotoEdit::Hour}),
    testing_support::CaseName());

TEST(ValidateGotoTime, ZeroLengthAcceptsOnlyZero) {
    const TGotoLength none = GotoLength(4, 12345);
    EXPECT_TRUE(ValidateGotoTime(none, "0", "0", "0").Accepted);
    EXPECT_FALSE(ValidateGotoTime(none, "0", "0", "1").Accepted);
    EXPECT_EQ(ValidateGotoTime(none, "0", "0", "1").Focus, TGotoEdit::Second);
}

TEST(ValidateGotoTime, TextThatIsNoNumberRaisesTheConversionError) {
    const TGotoLength l = GotoLength(2, 100);
    EXPECT_THROW(ValidateGotoTime(l, "", "0", "0"), forms::EConvertError);
    EXPECT_THROW(ValidateGotoTime(l, "0", "1x", "0"), forms::EConvertError);
    EXPECT_THROW(ValidateGotoTime(l, "0", "0", "99999999999"), forms::EConvertError);
}

TEST(IsGotoEditCharacter, DigitsAndBackspaceOnly) {
    for (char32_t c = U'0'; c <= U'9'; ++c)
        EXPECT_TRUE(IsGotoEditCharacter(c));
    EXPECT_TRUE(IsGotoEditCharacter(8));
    for (char32_t c : {U'a', U'Z', U'-', U'+', U' ', U'$', U'\r', U'\n', char32_t{27}, U'٣', U'０'})
        EXPECT_FALSE(IsGotoEditCharacter(c)) << static_cast<unsigned>(c);
}

} // namespace
