#include "platform/win32/CodePage.h"

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"

namespace {

struct CodePageCase {
    const char* name;
    std::string bytes;
    std::string utf8;
};
class AnsiToUtf8Test : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(AnsiToUtf8Test, ShowsLegacyTextAsItWasMeant) {
    EXPECT_EQ(win32::AnsiToUtf8(GetParam().bytes), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnsiToUtf8Test,
    ::testing::Values(CodePageCase{"Ascii", "Band  ", "Band  "}, CodePageCase{"Empty", "", ""},
                      CodePageCase{"Utf8StaysAsItIs", "歌手", "歌手"},
                      // "测试歌手" in the Chinese code page.
                      CodePageCase{"Gbk", "\xb2\xe2\xca\xd4\xb8\xe8\xca\xd6", "测试歌手"},
                      CodePageCase{"GbkWithAscii", "AC \xb8\xe8", "AC 歌"},
                      // A lead byte without its second byte is no GBK: every byte is a Latin-1 character.
                      CodePageCase{"Latin1WhenNotGbk", "Caf\xe9", "Café"},
                      CodePageCase{"Latin1ForBytesNoCodePageUses", "\xff\xfe", "ÿþ"}),
    testing_support::CaseName());

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
};
class IsValidUtf8Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(IsValidUtf8Test, TellsUtf8FromOtherBytes) {
    EXPECT_EQ(win32::IsValidUtf8(GetParam().bytes), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Cases, IsValidUtf8Test,
                         ::testing::Values(Utf8Case{"Ascii", "abc", true},
                                           Utf8Case{"TwoBytes", "\xc3\xa9", true},
                                           Utf8Case{"ThreeBytes", "\xe6\xad\x8c", true},
                                           Utf8Case{"FourBytes", "\xf0\x9f\x8e\xb5", true},
                                           Utf8Case{"CutShort", "\xe6\xad", false},
                                           Utf8Case{"LoneContinuation", "\x80", false},
                                           Utf8Case{"Overlong", "\xe0\x80\xaf", false},
                                           Utf8Case{"Surrogate", "\xed\xa0\x80", false},
                                           Utf8Case{"PastTheLastCodePoint", "\xf4\x90\x80\x80", false}),
                         testing_support::CaseName());

} // namespace
