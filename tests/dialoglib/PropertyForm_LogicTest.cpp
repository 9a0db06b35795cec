#include "dialoglib/PropertyForm_Logic.h"

#include <filesystem>

#include <sys/statvfs.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

using testing_support::TempDir;
using testing_support::WriteFile;

namespace fs = std::filesystem;

namespace {

TEST(PropertyTexts, ByLanguage) {
    const TPropertyTexts en = PropertyTexts(1);
    EXPECT_EQ(en.Caption, "Property");
    EXPECT_EQ(en.FrameSpeed, "Frame speed:");
    EXPECT_EQ(en.Path, "Path:");
    EXPECT_EQ(en.FileWord + en.MegabyteWord + en.ByteWord, "FileMBbyte");
    const TPropertyTexts zh = PropertyTexts(2);
    EXPECT_EQ(zh.Caption, "属性");
    EXPECT_EQ(zh.Resolution, "视频分辨率:");
    EXPECT_EQ(zh.MediaTime, "媒体时长:");
    EXPECT_EQ(zh.FileWord + zh.MegabyteWord + zh.ByteWord, "文件MB字节");
    const TPropertyTexts none = PropertyTexts(0);
    EXPECT_EQ(none.Caption + none.Type + none.Size + none.FrameSpeed + none.MediaTime + none.Resolution +
                  none.Path + none.OK + none.FileWord + none.MegabyteWord + none.ByteWord,
              "");
}

TEST(SizeText, WholeMegabytesAndTheByteCount) {
    EXPECT_EQ(SizeText(700LL * 1024 * 1024, PropertyTexts(1)), "700MB (734003200 byte)");
    EXPECT_EQ(SizeText(5'000'000'000LL, PropertyTexts(1)), "4768MB (5000000000 byte)");
    EXPECT_EQ(SizeText(1024 * 1024 - 1, PropertyTexts(2)), "0MB (1048575 字节)");
    EXPECT_EQ(SizeText(0, PropertyTexts(1)), "0MB (0 byte)");
    EXPECT_EQ(SizeText(5'000'000'000LL, PropertyTexts(0)), "4768 (5000000000 )");
}

TEST(ValueTexts, ResolutionAndFrameRate) {
    EXPECT_EQ(ResolutionText(720, 576), "720 * 576");
    EXPECT_EQ(ResolutionText(0, 0), "0 * 0");
    EXPECT_EQ(FrameRateText(25), "25");
    EXPECT_EQ(FrameRateText(29.97), "29.97");
}

TEST(DescribeMedia, AFileGivesItsExtensionNameAndSize) {
    TempDir dir;
    WriteFile(dir.File("song.MP3"), std::string(1234, 'x'));
    const TMediaFacts facts = DescribeMedia(4, dir.File("song.MP3"), PropertyTexts(1));
    EXPECT_EQ(facts.TypeValue, "File .MP3");
    EXPECT_EQ(facts.MediaFileName, "song.MP3");
    EXPECT_EQ(facts.Size, 1234);
    EXPECT_EQ(DescribeMedia(1, dir.File("song.MP3"), PropertyTexts(2)).TypeValue, "文件 .MP3");
    EXPECT_EQ(DescribeMedia(1, dir.File("song.MP3"), PropertyTexts(0)).TypeValue, " .MP3");
}

TEST(DescribeMedia, AMissingFileHasSizeZero) {
    TempDir dir;
    const TMediaFacts facts = DescribeMedia(1, dir.File("gone.avi"), PropertyTexts(1));
    EXPECT_EQ(facts.Size, 0);
    EXPECT_EQ(facts.MediaFileName, "gone.avi");
    EXPECT_EQ(DescribeMedia(1, "", PropertyTexts(1)).Size, 0);
    EXPECT_EQ(DescribeMedia(2, "", PropertyTexts(1)).Size, 0);
}

TEST(GetFileSizeByName, TakesTheExactNameNeverAPattern) {
    TempDir dir;
    WriteFile(dir.File("ab.avi"), std::string(10, 'x'));
    WriteFile(dir.File("a?.avi"), std::string(20, 'x'));
    WriteFile(dir.File("a*.avi"), std::string(30, 'x'));
    EXPECT_EQ(GetFileSizeByName(dir.File("a?.avi")), 20);
    EXPECT_EQ(GetFileSizeByName(dir.File("a*.avi")), 30);
    EXPECT_EQ(GetFileSizeByName(dir.File("a?b.avi")), 0);
    EXPECT_EQ(GetFileSizeByName(dir.Path()), 0) << "a folder is no file";
}

TEST(GetFileSizeByName, CountsBeyondThirtyTwoBits) {
    TempDir dir;
    WriteFile(dir.File("big.mkv"), "");
    std::error_code ec;
    fs::resize_file(dir.File("big.mkv"), 5'000'000'000ULL, ec); // sparse: no disk space used
    if (ec)
        GTEST_SKIP() << "the temporary folder holds no file of that size: " << ec.message();
    EXPECT_EQ(GetFileSizeByName(dir.File("big.mkv")), 5'000'000'000LL);
}

TEST(DescribeMedia, ADvdFolderSumsEveryFileBelowItWithoutFollowingLinks) {
    TempDir dir;
    const std::string dvd = dir.File("MyDvd");
    fs::create_directories(dvd + "/VIDEO_TS/sub");
    fs::create_directories(dvd + "/AUDIO_TS");
    WriteFile(dvd + "/VIDEO_TS/VIDEO_TS.IFO", std::string(100, 'x'));
    WriteFile(dvd + "/VIDEO_TS/VTS_01_1.VOB", std::string(2000, 'x'));
    WriteFile(dvd + "/VIDEO_TS/.hidden", std::string(30, 'x'));
    WriteFile(dvd + "/VIDEO_TS/sub/deep.bin", std::string(4, 'x'));
    WriteFile(dir.File("outside.bin"), std::string(50'000, 'x'));
    fs::create_directory_symlink(dvd, dvd + "/VIDEO_TS/loop");      // would recurse for ever
    fs::create_symlink(dir.File("outside.bin"), dvd + "/link.bin"); // would count a file outside
    fs::create_directory(dvd + "/locked");
    WriteFile(dvd + "/locked/unseen.bin", std::string(7, 'x'));
    fs::permissions(dvd + "/locked", fs::perms::none);

    const TMediaFacts facts = DescribeMedia(2, dvd, PropertyTexts(1));
    const TMediaFacts slashed = DescribeMedia(2, dvd + "/", PropertyTexts(1));
    fs::permissions(dvd + "/locked", fs::perms::owner_all);
    EXPECT_EQ(facts.TypeValue, "DVD");
    EXPECT_EQ(facts.MediaFileName, dvd);
    // A folder that cannot be read adds nothing (root reads it all the same).
    const std::int64_t expected = 2134 + (::geteuid() == 0 ? 7 : 0);
    EXPECT_EQ(facts.Size, expected);
    EXPECT_EQ(slashed.Size, expected) << "a trailing slash names the same folder";
    EXPECT_EQ(GetDirectorySize(dir.File("nothing-here")), 0);
}

TEST(DescribeMedia, AWholeVolumeGivesItsCapacity) {
    struct statvfs root {};
    ASSERT_EQ(::statvfs("/", &root), 0);
    const TMediaFacts facts = DescribeMedia(2, "/", PropertyTexts(1));
    EXPECT_EQ(facts.TypeValue, "DVD");
    EXPECT_EQ(facts.MediaFileName, "/");
    EXPECT_EQ(facts.Size, static_cast<std::int64_t>(root.f_blocks * root.f_frsize));
}

} // namespace
