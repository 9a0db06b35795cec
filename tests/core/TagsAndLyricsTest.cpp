#include "core/TagsAndLyrics.h"

#include <cstring>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "platform/win32/MessageBox.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/CaseName.h"
#include "tests/support/CommaLocale.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"
#include "tests/support/TempDir.h"

namespace {

using forms::TStringList;
using testing_support::WriteFile;
using V = std::vector<std::string>;

std::string TagRecord(const std::string& Title, const std::string& Artist, const std::string& Album = "",
                      const std::string& Year = "", const std::string& Comment = "") {
    return testing_support::Id3v1Record(Title, Artist, Album, Year, Comment, 17); // a genre, never shown
}

std::string Description(const std::string& Title, const std::string& Artist, const std::string& Album,
                        const std::string& Year, const std::string& Comment) {
    return "Title\t\t" + Title + "\r\nArtist\t\t" + Artist + "\r\nAlbum\t\t" + Album + "\r\nYear\t\t" + Year +
           "\r\nComment\t\t" + Comment;
}

class TagsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        win32::SetMessageBoxHandler([this](const win32::MessageBoxRequest& Box) {
            boxes.push_back(Box);
            return win32::IDOK;
        });
    }
    void TearDown() override { win32::SetMessageBoxHandler(nullptr); }

    testing_support::RunTree tree;
    std::vector<win32::MessageBoxRequest> boxes;
};

struct TagCase {
    const char* name;
    std::string contents; // the whole file
    std::string description;
    std::string lrcFileName;
};
class GetId3TextTest : public TagsTest, public ::testing::WithParamInterface<TagCase> {};

TEST_P(GetId3TextTest, DescribesTheTagAndNamesTheLyricsFile) {
    const TagCase& c = GetParam();
    const std::string file = tree.Root() + "/song.mp3";
    WriteFile(file, c.contents);
    State.LrcFileName = "left over";
    std::string text = "left over";
    GetId3Text(file, text);
    EXPECT_EQ(text, c.description);
    EXPECT_EQ(State.LrcFileName, c.lrcFileName);
    EXPECT_TRUE(boxes.empty());
}

const std::string kAudio(5000, '\x55');
const std::string kNoTag = Description("", "", "", "", "No relevant information");
const std::string kThirty = "123456789012345678901234567890";

INSTANTIATE_TEST_SUITE_P(
    Cases, GetId3TextTest,
    ::testing::Values(
        TagCase{"TagWithBlanksKept", kAudio + TagRecord("Song", "  Band  ", "Album", "2001", "Fine"),
                Description("Song", "  Band  ", "Album", "2001", "Fine"), "Band - Song.lrc"},
        // Full fields have no zero byte: each stops at its width, the next field is not read into it.
        TagCase{"FullFields", kAudio + TagRecord(kThirty, kThirty, kThirty, "1999", kThirty),
                Description(kThirty, kThirty, kThirty, "1999", kThirty), kThirty + " - " + kThirty + ".lrc"},
        TagCase{"NoTag", kAudio + std::string(128, 'x'), kNoTag, " - .lrc"},
        TagCase{"EmptyFile", "", kNoTag, " - .lrc"},
        // Shorter than a tag: no tag, even when the file begins like one.
        TagCase{"FiftyBytes", TagRecord("Song", "Band").substr(0, 50), kNoTag, " - .lrc"},
        TagCase{"OneByteShort", TagRecord("Song", "Band").substr(1), kNoTag, " - .lrc"},
        TagCase{"TagOnly", TagRecord("Song", "Band"), Description("Song", "Band", "", "", ""),
                "Band - Song.lrc"},
        // "歌手" and "测试" in the Chinese code page; the file name is UTF-8 like every name on disk.
        TagCase{"GbkArtist", kAudio + TagRecord("\xb2\xe2\xca\xd4", "\xb8\xe8\xca\xd6"),
                Description("测试", "歌手", "", "", ""), "歌手 - 测试.lrc"},
        TagCase{"Utf8Title", kAudio + TagRecord("Café", "Band"), Description("Café", "Band", "", "", ""),
                "Band - Café.lrc"},
        // Names from a tag cannot leave the lyrics folder.
        TagCase{"Separators", kAudio + TagRecord("../x", "AC/DC"), Description("../x", "AC/DC", "", "", ""),
                "AC_DC - .._x.lrc"},
        TagCase{"BackslashAndControls", kAudio + TagRecord("a\\b", "\tx\x1f"),
                Description("a\\b", "\tx\x1f", "", "", ""), "_x_ - a_b.lrc"}),
    testing_support::CaseName());

TEST_F(TagsTest, AMissingFileIsReportedAndReadsAsFailed) {
    const std::string file = tree.Root() + "/gone.mp3";
    Id3v1Tag tag{};
    std::memset(&tag, 'k', sizeof tag);
    EXPECT_FALSE(ReadId3v1(tag, file));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, file + " is not exists!");
    EXPECT_EQ(boxes[0].Caption, "Information");
    EXPECT_EQ(boxes[0].Type & win32::MB_ICONINFORMATION, win32::MB_ICONINFORMATION);
    EXPECT_EQ(tag.Title[0], 'k') << "the tag is left as it was";
    std::string text;
    GetId3Text(file, text);
    EXPECT_EQ(text, Description("", "", "", "", ""));
}

TEST_F(TagsTest, ATaggedFileReadsAsSucceeded) {
    const std::string file = tree.Root() + "/song.mp3";
    WriteFile(file, kAudio + TagRecord("Song", "Band"));
    Id3v1Tag tag{};
    EXPECT_TRUE(ReadId3v1(tag, file));
    EXPECT_EQ(std::string(tag.Marker, 3), "TAG");
    EXPECT_EQ(tag.Genre, 17);
    WriteFile(file, kAudio);
    EXPECT_TRUE(ReadId3v1(tag, file)) << "no tag is no failure";
}

TEST_F(TagsTest, AFifoNamedLikeAnAudioFileDoesNotBlock) {
    const std::string fifo = tree.Root() + "/pipe.mp3";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Id3v1Tag tag{};
    EXPECT_FALSE(ReadId3v1(tag, fifo));
}

TEST(TrimSpaces, TakesOnlyBlanksFromBothEnds) {
    std::string result = "x";
    TrimSpaces("  Band  ", result);
    EXPECT_EQ(result, "Band");
    TrimSpaces("\tBand \t", result);
    EXPECT_EQ(result, "\tBand \t");
    TrimSpaces("   ", result);
    EXPECT_EQ(result, "");
}

struct LrcLineCase {
    const char* name;
    const char* line;
    V times;
    V texts;
};
class ParseLrcLineTest : public ::testing::TestWithParam<LrcLineCase> {};

TEST_P(ParseLrcLineTest, AppendsOneTimeAndTextPerTimeTag) {
    const LrcLineCase& c = GetParam();
    TStringList times, texts;
    times.Add("9.00");
    texts.Add("before");
    ParseLrcLine(c.line, times, texts);
    V expectedTimes = {"9.00"}, expectedTexts = {"before"};
    expectedTimes.insert(expectedTimes.end(), c.times.begin(), c.times.end());
    expectedTexts.insert(expectedTexts.end(), c.texts.begin(), c.texts.end());
    EXPECT_EQ(times.Items(), expectedTimes);
    EXPECT_EQ(texts.Items(), expectedTexts);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseLrcLineTest,
    ::testing::Values(
        LrcLineCase{"OneTime", "[00:12.50]Hello", {"12.50"}, {"Hello"}},
        LrcLineCase{"TwoTimes", "[01:02.00][02:03.00]Again", {"62.00", "123.00"}, {"Again", "Again"}},
        LrcLineCase{"ArtistTagOnly", "[ar:Band]", {}, {}}, LrcLineCase{"TimeTagOnly", "[00:05.00]", {}, {}},
        LrcLineCase{"TextWithoutTime", "no time here", {}, {}},
        LrcLineCase{"OtherTagsSkipped", "[offset:500][00:01.00]x", {"1.00"}, {"x"}},
        LrcLineCase{"TextKeptExactly", "[00:01.00]  two  blanks ", {"1.00"}, {"  two  blanks "}},
        LrcLineCase{"WholeSeconds", "[00:05]x", {"5.00"}, {"x"}},
        LrcLineCase{"FractionalMinutes", "[1.5:00]x", {"90.00"}, {"x"}},
        LrcLineCase{"LongMinutes", "[100:00.00]x", {"6000.00"}, {"x"}},
        LrcLineCase{"RoundedToHundredths", "[00:01.005]x", {"1.00"}, {"x"}},
        LrcLineCase{"CommaIsNoDecimalPoint", "[00:12,50]x", {}, {}},
        LrcLineCase{"LaterPairIsAnotherTag", "[00:01.00]a[00:02.00]b", {"1.00", "2.00"}, {"b", "b"}},
        LrcLineCase{"ClosingBracketFirst", "]x[00:03.00]y", {"3.00"}, {"y"}},
        LrcLineCase{"NotFinite", "[00:1e400]x", {}, {}}, LrcLineCase{"Empty", "", {}, {}}),
    testing_support::CaseName());

TEST(ParseLrcLine, ReadsAndWritesThePointInALocaleWithADecimalComma) {
    testing_support::CommaDecimalLocale comma;
    ASSERT_TRUE(comma.Active()) << "no locale with a decimal comma could be made";
    TStringList times, texts;
    ParseLrcLine("[00:12.50]Hello", times, texts);
    EXPECT_EQ(times.Items(), V{"12.50"});
    EXPECT_EQ(texts.Items(), V{"Hello"});
    EXPECT_DOUBLE_EQ(LrcTimeValue("12.50"), 12.5);
}

TEST(LrcTimeText, TwoDecimalsWithAPoint) {
    EXPECT_EQ(LrcTimeText(5.5), "5.50");
    EXPECT_EQ(LrcTimeText(83.449999), "83.45");
    EXPECT_EQ(LrcTimeText(125), "125.00");
    EXPECT_EQ(LrcTimeText(0), "0.00");
    EXPECT_DOUBLE_EQ(LrcTimeValue("not a time"), 0.0);
}

struct SortCase {
    const char* name;
    V dst;
    V src;
    V sorted;
};
class SortLrcTimesTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortLrcTimesTest, InsertsEachTimeInNumericOrderKeepingEqualOnes) {
    const SortCase& c = GetParam();
    TStringList src, dst;
    for (const auto& t : c.src)
        src.Add(t);
    for (const auto& t : c.dst)
        dst.Add(t);
    SortLrcTimes(src, dst);
    EXPECT_EQ(dst.Items(), c.sorted);
    EXPECT_EQ(src.Items(), c.src);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortLrcTimesTest,
    ::testing::Values(
        SortCase{"Numeric", {}, {"62.00", "12.50", "123.00"}, {"12.50", "62.00", "123.00"}},
        SortCase{"EqualTimesAllKept", {}, {"5.00", "2.00", "5.00", "5.00"}, {"2.00", "5.00", "5.00", "5.00"}},
        SortCase{"IntoAList", {"1.00", "5.00"}, {"5.00", "3.00"}, {"1.00", "3.00", "5.00", "5.00"}},
        SortCase{"Empty", {}, {}, {}}),
    testing_support::CaseName());

TEST(SortLrcLines, EqualTimesKeepTheirOwnTextsInFileOrder) {
    TStringList times, texts, sortedTimes, sortedTexts;
    for (const auto& [time, text] : std::vector<std::pair<std::string, std::string>>{
             {"5.00", "first at five"}, {"2.00", "two"}, {"5.00", "second at five"}, {"10.00", "ten"}}) {
        times.Add(time);
        texts.Add(text);
    }
    sortedTimes.Add("stale");
    SortLrcLines(times, texts, sortedTimes, sortedTexts);
    EXPECT_EQ(sortedTimes.Items(), (V{"2.00", "5.00", "5.00", "10.00"}));
    EXPECT_EQ(sortedTexts.Items(), (V{"two", "first at five", "second at five", "ten"}));
}

} // namespace
