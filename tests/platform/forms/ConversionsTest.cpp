#include "platform/forms/Conversions.h"

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"
#include "tests/support/CommaLocale.h"

namespace {

struct IntCase {
    const char* name;
    const char* text;
    bool converts;
    std::int32_t value;
};
class StrToIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(StrToIntTest, ConvertsOrRaisesTheConversionError) {
    const IntCase& c = GetParam();
    EXPECT_EQ(forms::StrToIntDef(c.text, -99), c.converts ? c.value : -99);
    if (c.converts) {
        EXPECT_EQ(forms::StrToInt(c.text), c.value);
    } else {
        try {
            forms::StrToInt(c.text);
            ADD_FAILURE() << "no error for '" << c.text << "'";
        } catch (const forms::EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + c.text + "' is not a valid integer value");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrToIntTest,
    ::testing::Values(IntCase{"Zero", "0", true, 0}, IntCase{"Digits", "0042", true, 42},
                      IntCase{"Signs", "-17", true, -17}, IntCase{"Plus", "+5", true, 5},
                      IntCase{"LeadingBlanks", "  12", true, 12}, IntCase{"DollarHex", "$1F", true, 31},
                      IntCase{"CHex", "0x1f", true, 31}, IntCase{"Largest", "2147483647", true, INT32_MAX},
                      IntCase{"Smallest", "-2147483648", true, INT32_MIN}, IntCase{"Empty", "", false, 0},
                      IntCase{"Blank", " ", false, 0}, IntCase{"SignOnly", "-", false, 0},
                      IntCase{"TrailingBlank", "12 ", false, 0}, IntCase{"Letters", "1a", false, 0},
                      IntCase{"TooLarge", "2147483648", false, 0},
                      IntCase{"TooSmall", "-2147483649", false, 0},
                      IntCase{"ManyDigits", "99999999999999999999999", false, 0},
                      IntCase{"HexWithoutDigits", "$", false, 0}),
    testing_support::CaseName());

struct FloatCase {
    const char* name;
    const char* text;
    bool converts;
    double value;
};
class TryStrToFloatTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(TryStrToFloatTest, ConvertsOrLeavesTheValue) {
    const FloatCase& c = GetParam();
    double value = -99.0;
    EXPECT_EQ(forms::TryStrToFloat(c.text, value), c.converts);
    EXPECT_DOUBLE_EQ(value, c.converts ? c.value : -99.0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TryStrToFloatTest,
    ::testing::Values(FloatCase{"Integer", "00", true, 0.0}, FloatCase{"Hundredths", "12.50", true, 12.5},
                      FloatCase{"Blanks", " 7.25 ", true, 7.25}, FloatCase{"Signs", "-1.5", true, -1.5},
                      FloatCase{"Plus", "+2", true, 2.0}, FloatCase{"NoIntegerPart", ".5", true, 0.5},
                      FloatCase{"NoFraction", "3.", true, 3.0}, FloatCase{"Exponent", "1.5e2", true, 150.0},
                      FloatCase{"NegativeExponent", "25E-1", true, 2.5}, FloatCase{"Empty", "", false, 0},
                      FloatCase{"PointOnly", ".", false, 0}, FloatCase{"Comma", "12,50", false, 0},
                      FloatCase{"Letters", "ar", false, 0}, FloatCase{"TwoPoints", "1.2.3", false, 0},
                      FloatCase{"ExponentWithoutDigits", "1e", false, 0},
                      FloatCase{"Infinity", "inf", false, 0}, FloatCase{"NotANumber", "nan", false, 0},
                      FloatCase{"Hex", "0x10", false, 0}, FloatCase{"TooLarge", "1e999", false, 0}),
    testing_support::CaseName());

TEST(TryStrToFloat, ThePointIsTheDecimalSeparatorWhateverTheLocale) {
    testing_support::CommaDecimalLocale comma;
    ASSERT_TRUE(comma.Active()) << "no locale with a decimal comma could be made";
    double value = 0.0;
    EXPECT_TRUE(forms::TryStrToFloat("12.50", value));
    EXPECT_DOUBLE_EQ(value, 12.5);
    EXPECT_FALSE(forms::TryStrToFloat("12,50", value));
    EXPECT_EQ(forms::FloatToStr(29.97), "29.97");
}

TEST(FloatToStr, GeneralFormatWithoutTrailingZeros) {
    EXPECT_EQ(forms::FloatToStr(25.0), "25");
    EXPECT_EQ(forms::FloatToStr(29.97), "29.97");
    EXPECT_EQ(forms::FloatToStr(23.976023976023978), "23.976023976024");
    EXPECT_EQ(forms::FloatToStr(0.0), "0");
    EXPECT_EQ(forms::FloatToStr(-2.5), "-2.5");
}

} // namespace
