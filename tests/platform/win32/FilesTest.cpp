#include "platform/win32/Files.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

TEST(WriteFileAtomically, ReplacesContentsAsAnOrdinaryFile) {
    TempDir dir;
    WriteFile(dir.File("list"), "old contents that are longer");
    ASSERT_TRUE(win32::WriteFileAtomically(dir.File("list"), "new"));
    EXPECT_EQ(ReadFile(dir.File("list")), "new");
    struct stat st = {};
    ASSERT_EQ(::stat(dir.File("list").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(WriteFileAtomically, MissingFolderFailsWithoutCreatingAnything) {
    TempDir dir;
    EXPECT_FALSE(win32::WriteFileAtomically(dir.File("none/list"), "x"));
    EXPECT_FALSE(win32::DirectoryExists(dir.File("none")));
}

TEST(ReadWholeFile, MissingFileIsNotEmptyFile) {
    TempDir dir;
    WriteFile(dir.File("empty"), "");
    EXPECT_EQ(win32::ReadWholeFile(dir.File("empty")), std::string());
    EXPECT_EQ(win32::ReadWholeFile(dir.File("missing")), std::nullopt);
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
