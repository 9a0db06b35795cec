#include "platform/forms/StringList.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

using forms::TStringList;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::vector<std::string> Lines(const TStringList& list) {
    return list.Items();
}

TEST(StringList, LoadSplitsAtCrLfLfAndCr) {
    TempDir dir;
    WriteFile(dir.File("l"), "a\r\nb\nc\rd\r\n\r\ne");
    TStringList list;
    list.LoadFromFile(dir.File("l"));
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
}

TEST(StringList, SaveEndsEveryLineWithCrLf) {
    TempDir dir;
    TStringList list;
    list.Add("one");
    list.Add("");
    list.Add("three");
    list.SaveToFile(dir.File("l"));
    EXPECT_EQ(ReadFile(dir.File("l")), "one\r\n\r\nthree\r\n");
}

TEST(StringList, EmptyListSavesEmptyFileAndLoadsBackEmpty) {
    TempDir dir;
    TStringList list;
    list.SaveToFile(dir.File("l"));
    EXPECT_EQ(ReadFile(dir.File("l")), "");
    list.Add("x");
    list.LoadFromFile(dir.File("l"));
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, IndexOfIgnoresAsciiCase) {
    TStringList list;
    list.Add("/Media/Film.AVI");
    list.Add("/media/film.avi");
    EXPECT_EQ(list.IndexOf("/MEDIA/film.avi"), 0);
    EXPECT_EQ(list.IndexOf("/media/film.mkv"), -1);
}

TEST(StringList, OutOfRangeIndexRaisesTheClassLibraryError) {
    TStringList list;
    list.Add("a");
    EXPECT_THROW((void)list[1], forms::EClassLibraryError);
    EXPECT_THROW((void)list[-1], forms::EClassLibraryError);
    EXPECT_THROW(list.Delete(1), forms::EClassLibraryError);
    EXPECT_NO_THROW(list.Insert(1, "b")); // inserting at Count appends
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b"}));
}

TEST(StringList, MissingOrUnreadableFileRaisesTheClassLibraryError) {
    TempDir dir;
    TStringList list;
    EXPECT_THROW(list.LoadFromFile(dir.File("missing")), forms::EClassLibraryError);
    EXPECT_THROW(list.SaveToFile(dir.File("no/such/folder")), forms::EClassLibraryError);
    std::filesystem::create_directory(dir.File("PlayFileList"));
    EXPECT_THROW(list.LoadFromFile(dir.File("PlayFileList")), forms::EClassLibraryError);
}

TEST(StringList, SaveReplacesTheFileInsteadOfRewritingIt) {
    TempDir dir;
    WriteFile(dir.File("l"), "old\r\n");
    // A second name of the old file: a write in place would show through it.
    std::filesystem::create_hard_link(dir.File("l"), dir.File("second-name"));
    TStringList list;
    list.Add("new");
    list.SaveToFile(dir.File("l"));
    EXPECT_EQ(ReadFile(dir.File("l")), "new\r\n");
    EXPECT_EQ(ReadFile(dir.File("second-name")), "old\r\n");
}

TEST(StringList, MoveAndExchangeKeepTheOtherEntries) {
    TStringList list;
    for (const char* s : {"a", "b", "c", "d"})
        list.Add(s);
    list.Move(0, 2);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"b", "c", "a", "d"}));
    list.Exchange(0, 3);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"d", "c", "a", "b"}));
}

} // namespace
