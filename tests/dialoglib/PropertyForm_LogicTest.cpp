#include "dialoglib/PropertyForm_Logic.h"

#include <climits>
#include <filesystem>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
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

// A chain of folders that goes on below the longest path the system accepts, made and removed through
// handles of the folders above, since no path reaches its lower part. Each folder holds a file made before
// its sub-folder and one made after it, so that whatever order a listing gives, some file comes after the
// sub-folder that cannot be read.
class TooDeepChain {
public:
    explicit TooDeepChain(const std::string& Root) : root_(Root) {
        fs::create_directory(root_);
        const std::string name(200, 'd');
        std::string path = root_;
        int folder = ::open(root_.c_str(), O_DIRECTORY | O_RDONLY);
        for (int level = 0; folder >= 0 && path.size() < PATH_MAX + 2 * name.size(); ++level) {
            const std::string bytes(static_cast<std::size_t>(level) + 1, 'x');
            Write(folder, "before.bin", bytes);
            ::mkdirat(folder, name.c_str(), 0755);
            Write(folder, "after.bin", bytes);
            levels_.push_back({path, 2 * static_cast<std::int64_t>(bytes.size())});
            const int next = ::openat(folder, name.c_str(), O_DIRECTORY | O_RDONLY);
            ::close(folder);
            folder = next;
            path += "/" + name;
        }
        if (folder >= 0)
            ::close(folder);
    }
    ~TooDeepChain() {
        RemoveBelow(AT_FDCWD, root_.c_str());
        ::rmdir(root_.c_str());
    }
    TooDeepChain(const TooDeepChain&) = delete;
    TooDeepChain& operator=(const TooDeepChain&) = delete;

    // The bytes in the folders that a path still reaches, and the number of folders that none reaches.
    std::int64_t ReachableBytes() const {
        std::int64_t bytes = 0;
        for (const Level& level : levels_)
            if (Reachable(level.path))
                bytes += level.bytes;
        return bytes;
    }
    int Unreachable() const {
        int count = 0;
        for (const Level& level : levels_)
            count += Reachable(level.path) ? 0 : 1;
        return count;
    }

private:
    struct Level {
        std::string path;
        std::int64_t bytes;
    };
    static bool Reachable(const std::string& Path) {
        const int fd = ::open(Path.c_str(), O_DIRECTORY | O_RDONLY);
        if (fd < 0)
            return false;
        ::close(fd);
        return true;
    }
    static void Write(int Folder, const char* Name, const std::string& Bytes) {
        const int fd = ::openat(Folder, Name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return;
        [[maybe_unused]] const auto written = ::write(fd, Bytes.data(), Bytes.size());
        ::close(fd);
    }
    // Empties the folder Name of Parent, whatever the length of the paths below it.
    static void RemoveBelow(int Parent, const char* Name) {
        const int fd = ::openat(Parent, Name, O_DIRECTORY | O_RDONLY | O_NOFOLLOW);
        if (fd < 0)
            return;
        DIR* listing = ::fdopendir(fd);
        if (listing == nullptr) {
            ::close(fd);
            return;
        }
        std::vector<std::string> entries;
        while (const dirent* entry = ::readdir(listing))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                entries.emplace_back(entry->d_name);
        for (const std::string& entry : entries) {
            if (::unlinkat(fd, entry.c_str(), 0) != 0) {
                RemoveBelow(fd, entry.c_str());
                ::unlinkat(fd, entry.c_str(), AT_REMOVEDIR);
            }
        }
        ::closedir(listing);
    }

    std::string root_;
    std::vector<Level> levels_;
};

// A folder that cannot be read for another reason than its permissions adds nothing, and the walk goes on
// with what comes after it: here a folder whose path is too long, and, in a process that may open only a few
// files more, folders nested deeper than that number.
TEST(DescribeMedia, AFolderThatCannotBeReadDoesNotEndTheWalk) {
    TempDir dir;
    const TooDeepChain chain(dir.File("deep"));
    ASSERT_GT(chain.Unreachable(), 0) << "the chain must reach below the longest path";
    const std::int64_t expected = chain.ReachableBytes();
    ASSERT_GT(expected, 0);
    EXPECT_EQ(GetDirectorySize(dir.File("deep") + "/"), expected);
    EXPECT_EQ(DescribeMedia(2, dir.File("deep"), PropertyTexts(1)).Size, expected);

    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const int lowestFree = ::open("/dev/null", O_RDONLY);
        ::close(lowestFree);
        const rlimit few{static_cast<rlim_t>(lowestFree) + 3, static_cast<rlim_t>(lowestFree) + 3};
        if (lowestFree < 0 || ::setrlimit(RLIMIT_NOFILE, &few) != 0)
            ::_exit(2);
        ::_exit(GetDirectorySize(dir.File("deep") + "/") == expected ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "with three files left to open";
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
