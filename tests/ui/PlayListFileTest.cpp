#include "ui/PlayListFile.h"

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "tests/support/CaseName.h"
#include "tests/support/TempDir.h"

using forms::TStringList;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

TStringList Lines(std::initializer_list<const char*> Texts) {
    TStringList list;
    for (const char* text : Texts)
        list.Add(text);
    return list;
}

struct SplitCase {
    const char* name;
    const char* line;
    const char* path;
    const char* position;
};

class SplitPlayListLineCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPlayListLineCases, PathAndPosition) {
    std::string path, position;
    SplitPlayListLine(GetParam().line, path, position);
    EXPECT_EQ(path, GetParam().path);
    EXPECT_EQ(position, GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitPlayListLineCases,
    ::testing::Values(SplitCase{"PathAndSeconds", "/m/a.avi===12", "/m/a.avi", "12"},
                      SplitCase{"NoSeparator", "/m/b.mp3", "/m/b.mp3", "0"},
                      SplitCase{"SingleEqualsInPath", "/m/x=y.avi===3", "/m/x=y.avi", "3"},
                      SplitCase{"SeparatorInsidePath", "/m/a===b.avi===7", "/m/a===b.avi", "7"},
                      SplitCase{"PathEndingInEquals", "/m/a=====0", "/m/a==", "0"},
                      // A hand-edited position that is no number: the first "===" separates.
                      SplitCase{"PositionNotANumber", "/m/a.avi===abc", "/m/a.avi", "abc"},
                      SplitCase{"EmptyPosition", "/m/a.avi===", "/m/a.avi", ""}),
    testing_support::CaseName());

TEST(PlayListFile, LinesOfTheListReadBackToTheSameList) {
    TempDir dir;
    TStringList files, positions;
    const std::string names[] = {"/m/with space.avi", "/m/a===b.mkv", "/m/中文 歌曲.mp3", "/m/x=.wav"};
    for (const auto& name : names)
        files.Add(name);
    for (const char* position : {"0", "12", "7", "0"})
        positions.Add(position);
    TStringList lines;
    PlayListLinesOf(files, positions, lines);
    lines.SaveToFile(dir.File("PlayFileList"));
    EXPECT_EQ(testing_support::ReadFile(dir.File("PlayFileList")),
              "/m/with space.avi===0\r\n/m/a===b.mkv===12\r\n/m/中文 歌曲.mp3===7\r\n/m/x=.wav===0\r\n");

    TStringList read, readFiles, readPositions;
    read.LoadFromFile(dir.File("PlayFileList"));
    AddPlayListEntries(read, readFiles, readPositions, false);
    EXPECT_EQ(readFiles.Items(), files.Items());
    EXPECT_EQ(readPositions.Items(), positions.Items());
}

// A name holding a line break (names may) would read back as two entries, the second a path of its own: such
// an entry is not written, and the others are.
TEST(PlayListFile, EntriesWithALineBreakAreNotWritten) {
    TempDir dir;
    TStringList files = Lines({"/m/a.avi", "/m/two\nlines.mp4", "/m/b.mp3", "/m/cr\r.avi", "/m/c.avi"});
    TStringList positions = Lines({"1", "2", "3", "4", "5\n6"}), lines;
    PlayListLinesOf(files, positions, lines);
    lines.SaveToFile(dir.File("PlayFileList"));
    EXPECT_EQ(testing_support::ReadFile(dir.File("PlayFileList")), "/m/a.avi===1\r\n/m/b.mp3===3\r\n");
    TStringList read, readFiles, readPositions;
    read.LoadFromFile(dir.File("PlayFileList"));
    AddPlayListEntries(read, readFiles, readPositions, false);
    EXPECT_EQ(readFiles.Items(), (std::vector<std::string>{"/m/a.avi", "/m/b.mp3"}));
}

TEST(PlayListFile, MissingPositionsAreWrittenAsZero) {
    TStringList files = Lines({"/m/a.avi", "/m/b.avi"}), positions = Lines({"5"}), lines;
    PlayListLinesOf(files, positions, lines);
    EXPECT_EQ(lines.Items(), (std::vector<std::string>{"/m/a.avi===5", "/m/b.avi===0"}));
}

TEST(PlayListFile, EntriesSkipDuplicatesEmptyOrBlankPathsAndTheMissingKeyText) {
    TStringList files, positions;
    AddPlayListEntries(Lines({"/m/a.avi===0", "/M/A.AVI===12", "", "===4", "Value no find===0",
                              "Value no find", "   ", "\t", " \t===5", "/m/b.mp3", " /m/c.mp3 "}),
                       files, positions, false);
    EXPECT_EQ(files.Items(), (std::vector<std::string>{"/m/a.avi", "/m/b.mp3", " /m/c.mp3 "}))
        << "blanks around a name are part of it";
    EXPECT_EQ(positions.Items(), (std::vector<std::string>{"0", "0", "0"}));
}

// A list saved by an editor that writes a byte-order mark: the first path is read without it (later lines
// have none to drop).
TEST(PlayListFile, AByteOrderMarkBeforeTheFirstLineIsNoPartOfThePath) {
    TempDir dir;
    WriteFile(dir.File("there.avi"), "x");
    WriteFile(dir.File("PlayFileList"), "\xEF\xBB\xBF" + dir.File("there.avi") + "===3\r\n/m/b.mp3===0\r\n");
    TStringList lines, files, positions;
    lines.LoadFromFile(dir.File("PlayFileList"));
    AddPlayListEntries(lines, files, positions, true);
    EXPECT_EQ(files.Items(), (std::vector<std::string>{dir.File("there.avi")}));
    EXPECT_EQ(positions.Items(), (std::vector<std::string>{"3"}));
    files.Clear();
    positions.Clear();
    AddPlayListEntries(Lines({"\xEF\xBB\xBF", "\xEF\xBB\xBF/m/a.avi"}), files, positions, false);
    EXPECT_EQ(files.Items(), (std::vector<std::string>{"\xEF\xBB\xBF/m/a.avi"}))
        << "a mark alone is a blank line";
}

TEST(PlayListFile, OnlyExistingFilesWhenAsked) {
    TempDir dir;
    WriteFile(dir.File("there.avi"), "x");
    TStringList lines = Lines({});
    lines.Add(dir.File("there.avi") + "===3");
    lines.Add(dir.File("gone.avi") + "===4");
    TStringList files, positions;
    AddPlayListEntries(lines, files, positions, true);
    EXPECT_EQ(files.Items(), (std::vector<std::string>{dir.File("there.avi")}));
    EXPECT_EQ(positions.Items(), (std::vector<std::string>{"3"}));
    files.Clear();
    positions.Clear();
    AddPlayListEntries(lines, files, positions, false);
    EXPECT_EQ(files.Count(), 2);
}

TEST(PlayListFile, PositionTextsThatAreNoNumberCountAsZero) {
    EXPECT_EQ(PlayListPositionSeconds("42"), 42);
    EXPECT_EQ(PlayListPositionSeconds(" 8"), 8);
    EXPECT_EQ(PlayListPositionSeconds("-3"), -3);
    for (const char* text : {"", "abc", "12 ", "1.5"})
        EXPECT_EQ(PlayListPositionSeconds(text), 0) << text;
}

} // namespace
