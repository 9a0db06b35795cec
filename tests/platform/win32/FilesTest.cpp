#include "platform/win32/Files.h"

#include <chrono>
#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"
#include "tests/support/TempDir.h"

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

// Holds the process's umask at Mask while it lives.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t Mask) : saved_(::umask(Mask)) {}
    ~ScopedUmask() { ::umask(saved_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t saved_;
};

mode_t ModeOf(const std::string& Path) {
    struct stat st = {};
    EXPECT_EQ(::stat(Path.c_str(), &st), 0) << Path;
    return st.st_mode & 07777;
}

struct ModeCase {
    const char* name;
    mode_t umask;
    int existing; // the mode of the file replaced; -1: there is none
    mode_t expected;
};

class WrittenMode : public ::testing::TestWithParam<ModeCase> {};

// A new stored file gets the permissions any new file of the user gets (0666 less the umask); a file that is
// replaced keeps the permissions it had, whatever the umask.
TEST_P(WrittenMode, NewFilesFollowTheUmaskReplacedOnesKeepTheirMode) {
    const ModeCase& c = GetParam();
    TempDir dir;
    const std::string file = dir.File("HistoryList");
    if (c.existing >= 0) {
        WriteFile(file, "old contents that are longer");
        ASSERT_EQ(::chmod(file.c_str(), static_cast<mode_t>(c.existing)), 0);
    }
    {
        ScopedUmask mask(c.umask);
        ASSERT_TRUE(win32::WriteFileAtomically(file, "new"));
    }
    EXPECT_EQ(ReadFile(file), "new");
    EXPECT_EQ(ModeOf(file), c.expected) << std::oct << ModeOf(file);
}

INSTANTIATE_TEST_SUITE_P(Cases, WrittenMode,
                         ::testing::Values(ModeCase{"NewUnderTheUsualUmask", 022, -1, 0644},
                                           ModeCase{"NewUnderAPrivateUmask", 077, -1, 0600},
                                           ModeCase{"NewUnderAGroupUmask", 027, -1, 0640},
                                           ModeCase{"PrivateFileStaysPrivate", 022, 0600, 0600},
                                           ModeCase{"SharedFileStaysShared", 077, 0664, 0664},
                                           ModeCase{"ReadOnlyFileStaysReadOnly", 022, 0444, 0444},
                                           ModeCase{"SetIdBitsAreNotCarried", 022, 06750, 0750}),
                         testing_support::CaseName());

TEST(WriteFileAtomically, NewFileReplacesTheOldOneInsteadOfRewritingIt) {
    TempDir dir;
    WriteFile(dir.File("list"), "old");
    // A second name of the old file: a write in place would show through it.
    std::filesystem::create_hard_link(dir.File("list"), dir.File("second-name"));
    ASSERT_TRUE(win32::WriteFileAtomically(dir.File("list"), "new"));
    EXPECT_EQ(ReadFile(dir.File("list")), "new");
    EXPECT_EQ(ReadFile(dir.File("second-name")), "old");
}

// Holds the process's file size limit at Bytes while it lives: writes past it fail with EFBIG, for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t Bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = Bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_ = {};
    void (*oldHandler_)(int) = nullptr;
};

TEST(WriteFileAtomically, WriteThatCannotFinishLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string old = "[PlayControl]\r\nLastPos=12\r\n";
    WriteFile(dir.File("Default.ini"), old);
    {
        FileSizeLimit limit(1024);
        std::error_code error;
        EXPECT_FALSE(win32::WriteFileAtomically(dir.File("Default.ini"), std::string(4096, 'x'), error));
        EXPECT_EQ(error, std::errc::file_too_large) << error.message();
    }
    EXPECT_EQ(ReadFile(dir.File("Default.ini")), old);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1) << "the temporary file is removed";
}

TEST(WriteFileAtomically, MissingFolderFailsWithoutCreatingAnything) {
    TempDir dir;
    std::error_code error;
    EXPECT_FALSE(win32::WriteFileAtomically(dir.File("none/list"), "x", error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory) << error.message();
    EXPECT_FALSE(win32::DirectoryExists(dir.File("none")));
}

TEST(ReadWholeFile, MissingFileIsNotEmptyFile) {
    TempDir dir;
    WriteFile(dir.File("empty"), "");
    EXPECT_EQ(win32::ReadWholeFile(dir.File("empty")), std::string());
    EXPECT_EQ(win32::ReadWholeFile(dir.File("missing")), std::nullopt);
}

TEST(ReadWholeFile, ReadsMoreThanOneBufferWhole) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += std::to_string(i) + "\r\n";
    WriteFile(dir.File("big"), text);
    EXPECT_EQ(win32::ReadWholeFile(dir.File("big")), text);
}

TEST(ReadWholeFile, ReadErrorIsAResultTellingUnreadableFromMissing) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("folder"));
    std::error_code error;
    // The folder opens but its read fails: that must come back, not escape as an exception.
    EXPECT_EQ(win32::ReadWholeFile(dir.File("folder"), error), std::nullopt);
    EXPECT_EQ(error, std::errc::is_a_directory);
    EXPECT_EQ(win32::ReadWholeFile(dir.File("folder")), std::nullopt);
    EXPECT_EQ(win32::ReadWholeFile(dir.File("missing"), error), std::nullopt);
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    WriteFile(dir.File("file"), "x");
    EXPECT_EQ(win32::ReadWholeFile(dir.File("file"), error), "x");
    EXPECT_FALSE(error);
}

// Each damaged file is kept under a name of its own, five at most: the sixth replaces the oldest kept. Only a
// regular file is moved.
TEST(KeepDamagedFile, KeepsEachUnderANumberedNameFiveAtMost) {
    TempDir dir;
    const std::string path = dir.File("registry");
    const auto aged = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    const char* expected[] = {"registry.bad", "registry.bad.2", "registry.bad.3", "registry.bad.4",
                              "registry.bad.5"};
    for (int i = 0; i < 5; ++i) {
        WriteFile(path, "damage " + std::to_string(i));
        EXPECT_EQ(win32::KeepDamagedFile(path), dir.File(expected[i]));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    std::filesystem::last_write_time(dir.File("registry.bad.3"), aged);
    WriteFile(path, "damage 5");
    EXPECT_EQ(win32::KeepDamagedFile(path), dir.File("registry.bad.3")) << "the oldest goes";
    for (int i : {0, 1, 3, 4})
        EXPECT_EQ(ReadFile(dir.File(expected[i])), "damage " + std::to_string(i));
    EXPECT_EQ(ReadFile(dir.File("registry.bad.3")), "damage 5");

    EXPECT_EQ(win32::KeepDamagedFile(dir.File("missing")), std::nullopt);
    std::filesystem::create_directory(dir.File("folder"));
    EXPECT_EQ(win32::KeepDamagedFile(dir.File("folder")), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));
}

TEST(ForceDirectories, CreatesParents) {
    TempDir dir;
    EXPECT_TRUE(win32::ForceDirectories(dir.File("a/b/c")));
    EXPECT_TRUE(win32::DirectoryExists(dir.File("a/b/c")));
    EXPECT_FALSE(win32::FileExists(dir.File("a/b/c")));
}

TEST(FindFileNoCase, ExactNameFirstThenAnyCaseThenUnchanged) {
    TempDir dir;
    WriteFile(dir.File("Sound_Normal_btn.bmp"), "a");
    WriteFile(dir.File("Max_Normal_Btn.bmp"), "b");
    WriteFile(dir.File("max_normal_btn.bmp"), "c");
    EXPECT_EQ(win32::FindFileNoCase(dir.File("Sound_normal_btn.bmp")), dir.File("Sound_Normal_btn.bmp"));
    EXPECT_EQ(win32::FindFileNoCase(dir.File("max_normal_btn.bmp")), dir.File("max_normal_btn.bmp"));
    EXPECT_EQ(win32::FindFileNoCase(dir.File("Missing.bmp")), dir.File("Missing.bmp"));
    EXPECT_EQ(win32::FindFileNoCase(dir.File("none/x.bmp")), dir.File("none/x.bmp"));
}

} // namespace
