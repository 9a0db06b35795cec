#include "platform/win32/Profile.h"

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"
#include "tests/support/TempDir.h"

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

struct ReadCase {
    const char* name;
    const char* file;
    const char* section;
    const char* key;
    const char* expected; // with the default "DEF"
};

void PrintTo(const ReadCase& Case, std::ostream* Out) {
    *Out << Case.name;
}

class ProfileReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileReadTest, GetPrivateProfileString) {
    const auto& c = GetParam();
    TempDir dir;
    WriteFile(dir.File("a.ini"), c.file);
    EXPECT_EQ(win32::GetPrivateProfileString(c.section, c.key, "DEF", dir.File("a.ini")), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileReadTest,
    ::testing::Values(
        ReadCase{"CaseInsensitiveSectionAndKey", "[Play]\r\nSoundLevel=30\r\n", "pLAY", "soundlevel", "30"},
        ReadCase{"MissingSection", "[Play]\r\nSoundLevel=30\r\n", "View", "SoundLevel", "DEF"},
        ReadCase{"MissingKey", "[Play]\r\nSoundLevel=30\r\n", "Play", "Volume", "DEF"},
        ReadCase{"EmptyValueIsNotMissing", "[Play]\r\nLastMediaFile=\r\n", "Play", "LastMediaFile", ""},
        ReadCase{"KeyOfAnotherSectionIsNotFound", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", "A", "y", "DEF"},
        ReadCase{"FirstMatchingKeyWins", "[A]\r\nx=1\r\nX=2\r\n", "A", "x", "1"},
        ReadCase{"FirstMatchingSectionWins", "[A]\r\nx=1\r\n[a]\r\nx=2\r\ny=3\r\n", "A", "y", "DEF"},
        ReadCase{"SlashInsideKeyName", "[ShortCut]\r\nPlay/Pause=Space\r\n", "ShortCut", "play/pause",
                 "Space"},
        ReadCase{"LfOnlyFile", "[A]\nx=1\ny=2\n", "A", "y", "2"},
        ReadCase{"BlanksAroundEqualsAreTrimmed", "[A]\r\n  x  =  some value  \r\n", "A", "x", "some value"},
        ReadCase{"BlanksInsideBracketsAreTrimmed", "[ A ]\r\nx=1\r\n", "A", "x", "1"},
        ReadCase{"EnclosingQuotesAreRemoved", "[A]\r\nx=\"quoted\"\r\n", "A", "x", "quoted"},
        ReadCase{"CommentLineIsNotAKey", "[A]\r\n;x=1\r\n", "A", ";x", "DEF"},
        ReadCase{"ValueKeepsFurtherEquals", "[A]\r\nx=a=b\r\n", "A", "x", "a=b"},
        ReadCase{"Utf8TextPassesThrough", "[A]\r\nx=/媒体/电影.avi\r\n", "A", "x", "/媒体/电影.avi"},
        ReadCase{"ByteOrderMarkIsIgnored", "\xEF\xBB\xBF[A]\r\nx=1\r\n", "A", "x", "1"},
        ReadCase{"NoLineEndAtEnd", "[A]\r\nx=1", "A", "x", "1"},
        ReadCase{"BlanksAroundTheAskedNamesAreTrimmed", "[A]\r\nx=1\r\n", " A ", "\tx ", "1"}),
    testing_support::CaseName());

TEST(ProfileRead, MissingFileGivesDefault) {
    TempDir dir;
    EXPECT_EQ(win32::GetPrivateProfileString("A", "x", "Value no find", dir.File("none.ini")),
              "Value no find");
    EXPECT_EQ(win32::GetPrivateProfileInt("A", "x", -1, dir.File("none.ini")), -1);
}

TEST(ProfileRead, LongValuesComeBackWhole) {
    TempDir dir;
    const std::string path = "/" + std::string(300, 'p') + "/movie.avi";
    ASSERT_TRUE(win32::WritePrivateProfileString("PlayControl", "LastMediaFile", path, dir.File("a.ini")));
    EXPECT_EQ(win32::GetPrivateProfileString("PlayControl", "LastMediaFile", "", dir.File("a.ini")), path);
}

struct IntCase {
    const char* name;
    const char* value;
    int expected; // with the default -1
};

void PrintTo(const IntCase& Case, std::ostream* Out) {
    *Out << '"' << Case.value << '"';
}

class ProfileIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(ProfileIntTest, ReadsAsTheWindowsReaderDoes) {
    TempDir dir;
    WriteFile(dir.File("a.ini"), std::string("[A]\r\nx=") + GetParam().value + "\r\n");
    EXPECT_EQ(win32::GetPrivateProfileInt("A", "x", -1, dir.File("a.ini")), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileIntTest,
    ::testing::Values(IntCase{"Decimal", "30", 30}, IntCase{"Negative", "-9999", -9999},
                      IntCase{"PlusSign", "+7", 7}, IntCase{"Zero", "0", 0},
                      IntCase{"EmptyGivesTheDefault", "", -1}, IntCase{"NoDigitsGiveZero", "abc", 0},
                      IntCase{"LeadingDigitsCount", "55zz", 55}, IntCase{"SignAlone", "-", 0},
                      IntCase{"Hex", "0x1F", 31}, IntCase{"NegativeHex", "-0x10", -16},
                      IntCase{"StopsAtABlank", "12 34", 12}, IntCase{"StopsAtAPoint", "1.5", 1},
                      IntCase{"AllBitsSetIsMinusOne", "4294967295", -1},
                      IntCase{"WrapsAt32Bits", "4294967296", 0},
                      IntCase{"PastIntMaxIsNegative", "2147483648", -2147483647 - 1},
                      IntCase{"QuotesAreRemoved", "\"42\"", 42}),
    testing_support::CaseName());

struct WriteCase {
    const char* name;
    const char* before; // nullptr: no file
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

void PrintTo(const WriteCase& Case, std::ostream* Out) {
    *Out << Case.name;
}

class ProfileWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWriteTest, WritePrivateProfileString) {
    const auto& c = GetParam();
    TempDir dir;
    if (c.before)
        WriteFile(dir.File("a.ini"), c.before);
    ASSERT_TRUE(win32::WritePrivateProfileString(c.section, c.key, c.value, dir.File("a.ini")));
    EXPECT_EQ(ReadFile(dir.File("a.ini")), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWriteTest,
    ::testing::Values(
        WriteCase{"ReplacesInPlace", "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n", "a", "X", "10",
                  "[A]\r\nx=10\r\ny=2\r\n\r\n[B]\r\nz=3\r\n"},
        WriteCase{"ReplaceDropsBlanksAroundEquals", "[A]\r\n x = 1\r\n", "A", "x", "2", "[A]\r\nx=2\r\n"},
        WriteCase{"AppendsKeyToItsSectionBeforeBlankLine", "[A]\r\nx=1\r\n\r\n[B]\r\nz=3\r\n", "A", "y", "2",
                  "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n"},
        WriteCase{"AppendsKeyToLastSection", "[A]\r\nx=1\r\n", "A", "y", "", "[A]\r\nx=1\r\ny=\r\n"},
        WriteCase{"AppendsSectionToTheEnd", "[A]\r\nx=1\r\n", "Pip", "PositionType", "102",
                  "[A]\r\nx=1\r\n[Pip]\r\nPositionType=102\r\n"},
        WriteCase{"CreatesMissingFile", nullptr, "Play", "isSlience", "1", "[Play]\r\nisSlience=1\r\n"},
        WriteCase{"LfOnlyFileIsWrittenWithCrLf", "[A]\nx=1\n", "A", "x", "2", "[A]\r\nx=2\r\n"},
        WriteCase{"SlashInKeyName", "[ShortCut]\r\nPlay/Pause=Space\r\n", "ShortCut", "Play/Pause", "Ctrl+P",
                  "[ShortCut]\r\nPlay/Pause=Ctrl+P\r\n"},
        WriteCase{"NegativeIntegerText", "[Play]\r\nSoundBalance=0\r\n", "Play", "SoundBalance", "-9999",
                  "[Play]\r\nSoundBalance=-9999\r\n"},
        WriteCase{"LineEndInValueCannotSplitTheEntry", "[A]\r\nx=1\r\n", "A", "x", "a\r\nb=c",
                  "[A]\r\nx=a  b=c\r\n"},
        WriteCase{"BlanksAroundTheKeyNameFindTheKey", "[A]\r\nx=1\r\n", "A", " x ", "2", "[A]\r\nx=2\r\n"},
        WriteCase{"BlanksAroundTheSectionNameFindTheSection", "[A]\r\nx=1\r\n", " A ", "y", "2",
                  "[A]\r\nx=1\r\ny=2\r\n"},
        WriteCase{"NewSectionAndKeyAreWrittenTrimmed", "[A]\r\nx=1\r\n", " B ", " y ", "2",
                  "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
        WriteCase{"CommentsAndOtherLinesStay", "; settings\r\n[A]\r\n;note\r\nx=1\r\n", "A", "x", "2",
                  "; settings\r\n[A]\r\n;note\r\nx=2\r\n"}),
    testing_support::CaseName());

// Names that could never be read back are refused, and the file stays as it was: a line break would write
// lines of its own (here a section and a key the caller never named), "=" would cut a key, "]" a section,
// and a key beginning with ";" or "[" would be a comment or a section header.
TEST(ProfileWrite, NamesThatCannotBeReadBackAreRefused) {
    struct {
        const char* name;
        std::string section;
        std::string key;
    } cases[] = {
        {"line feed in the key", "A", "x\n[Injected]\ny"},
        {"carriage return in the key", "A", "x\ry"},
        {"line feed in the section", "A]\n[B", "x"},
        {"carriage return in the section", "A\rB", "x"},
        {"equals sign in the key", "A", "x=y"},
        {"equals sign in the section", "A=B", "x"},
        {"bracket in the key", "A", "x]"},
        {"bracket in the section", "A]B", "x"},
        {"key beginning with a semicolon", "A", ";x"},
        {"key beginning with a bracket", "A", "[x"},
        {"section beginning with a semicolon", ";A", "x"},
        {"section beginning with a bracket", "[A", "x"},
        {"blanks before a semicolon", "A", "  ;x"},
    };
    TempDir dir;
    const std::string before = "[A]\r\nx=1\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.File("a.ini"), before);
        EXPECT_FALSE(win32::WritePrivateProfileString(c.section, c.key, "2", dir.File("a.ini")));
        EXPECT_EQ(ReadFile(dir.File("a.ini")), before);
        EXPECT_FALSE(win32::WritePrivateProfileString(c.section, c.key, "2", dir.File("new.ini")));
        EXPECT_FALSE(std::filesystem::exists(dir.File("new.ini"))) << "no file is made for it either";
    }
    // What the program writes goes through.
    for (const char* key : {"Play/Pause", "LastMediaFile", "x y", "Ctrl+[", "a;b"}) {
        ASSERT_TRUE(win32::WritePrivateProfileString("ShortCut", key, "v", dir.File("a.ini"))) << key;
        EXPECT_EQ(win32::GetPrivateProfileString("ShortCut", key, "none", dir.File("a.ini")), "v") << key;
    }
}

TEST(ProfileWrite, NegativeIntegerReadsBack) {
    TempDir dir;
    ASSERT_TRUE(win32::WritePrivateProfileString("Play", "SoundBalance", "-9999", dir.File("a.ini")));
    EXPECT_EQ(win32::GetPrivateProfileInt("Play", "SoundBalance", -1, dir.File("a.ini")), -9999);
}

TEST(ProfileWrite, WriteIntoMissingFolderReportsFailure) {
    TempDir dir;
    EXPECT_FALSE(win32::WritePrivateProfileString("A", "x", "1", dir.File("no-such-folder/a.ini")));
}

TEST(ProfileWrite, ReplacesTheFileInsteadOfRewritingIt) {
    TempDir dir;
    WriteFile(dir.File("a.ini"), "[A]\r\nx=1\r\n");
    // A second name of the old file: a write in place would show through it.
    std::filesystem::create_hard_link(dir.File("a.ini"), dir.File("second-name"));
    ASSERT_TRUE(win32::WritePrivateProfileString("A", "x", "2", dir.File("a.ini")));
    EXPECT_EQ(ReadFile(dir.File("a.ini")), "[A]\r\nx=2\r\n");
    EXPECT_EQ(ReadFile(dir.File("second-name")), "[A]\r\nx=1\r\n");
}

// A settings file that is there but cannot be read. Root reads any file whatever its mode, so the cases that
// hold for every user put something else at the path.
struct UnreadableCase {
    const char* name;
    void (*make)(const std::string& Path);
    bool onlyUnprivileged;
};

void PutFolder(const std::string& Path) {
    std::filesystem::create_directory(Path);
}
void PutLinkToItself(const std::string& Path) {
    std::filesystem::create_symlink(std::filesystem::path(Path).filename(), Path);
}
void PutWriteOnlyFile(const std::string& Path) {
    WriteFile(Path, "[A]\r\nx=1\r\ny=2\r\n");
    ::chmod(Path.c_str(), 0200);
}

// What is at Path (the entry itself, not what a link names), to show that it was left as it was.
std::string EntryAt(const std::string& Path) {
    struct stat st = {};
    if (::lstat(Path.c_str(), &st) != 0)
        return "nothing";
    std::string entry = "inode " + std::to_string(st.st_ino) + " mode " + std::to_string(st.st_mode);
    if (S_ISREG(st.st_mode))
        entry += " size " + std::to_string(st.st_size);
    if (S_ISLNK(st.st_mode))
        entry += " to " + std::filesystem::read_symlink(Path).string();
    return entry;
}

void PrintTo(const UnreadableCase& Case, std::ostream* Out) {
    *Out << Case.name;
}

class ProfileUnreadableTest : public ::testing::TestWithParam<UnreadableCase> {};

TEST_P(ProfileUnreadableTest, ReadersGiveTheirDefaultsAndWritesFailLeavingTheFileAlone) {
    if (GetParam().onlyUnprivileged && ::geteuid() == 0)
        GTEST_SKIP() << "root reads a file whatever its mode";
    TempDir dir;
    const std::string path = dir.File("Default.ini");
    GetParam().make(path);
    const std::string before = EntryAt(path);
    EXPECT_EQ(win32::GetPrivateProfileString("A", "x", "Value no find", path), "Value no find");
    EXPECT_EQ(win32::GetPrivateProfileInt("A", "x", -1, path), -1);
    EXPECT_FALSE(win32::WritePrivateProfileString("A", "z", "3", path));
    EXPECT_EQ(EntryAt(path), before);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1) << "no temporary file stays behind";
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileUnreadableTest,
                         ::testing::Values(UnreadableCase{"FolderInItsPlace", PutFolder, false},
                                           UnreadableCase{"LinkToItself", PutLinkToItself, false},
                                           UnreadableCase{"NoReadPermission", PutWriteOnlyFile, true}),
                         testing_support::CaseName());

TEST(ProfileWrite, WriteLeavesNoTemporaryFileBehind) {
    TempDir dir;
    WriteFile(dir.File("a.ini"), "[A]\r\nx=1\r\n");
    ASSERT_TRUE(win32::WritePrivateProfileString("A", "x", "2", dir.File("a.ini")));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

} // namespace

namespace {

// With the files kept in memory the functions read and write exactly as on the disk, and the disk is never
// touched; set back, they use the disk again.
TEST(ProfileFiles, MemoryFilesAreReadAndWrittenAsDiskFilesAre) {
    TempDir dir;
    const std::string file = dir.File("Default.ini");
    win32::MemoryProfileFiles memory;
    memory.Files[file] = "[Play]\r\nSoundLevel=30\r\n\r\n[View]\r\nStatusBar=1\r\n";
    win32::SetProfileFiles(&memory);
    EXPECT_EQ(win32::GetPrivateProfileInt("play", "soundlevel", -1, file), 30);
    EXPECT_TRUE(win32::WritePrivateProfileString("Play", "AfterPlay", "2", file));
    EXPECT_EQ(win32::GetPrivateProfileString("Other", "Key", "none", dir.File("missing.ini")), "none");
    win32::SetProfileFiles(nullptr);
    EXPECT_EQ(memory.Files[file], "[Play]\r\nSoundLevel=30\r\nAfterPlay=2\r\n\r\n[View]\r\nStatusBar=1\r\n");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(win32::GetPrivateProfileInt("Play", "SoundLevel", -1, file), -1) << "the disk again";
}

} // namespace
