#include "core/Settings.h"

#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "platform/win32/Files.h"
#include "tests/support/CaseName.h"
#include "tests/support/RunTree.h"
#include "tests/support/ScopedEnv.h"

using testing_support::ReadFile;
using testing_support::RunTree;
using testing_support::WriteFile;

namespace {

TEST(DefaultIni, MatchesTheGoldenFileByteForByte) {
    RunTree tree;
    WriteDefaultIni(tree.IniFile());
    const std::string golden = ReadFile(std::string(QUOREL_TEST_DATA) + "/Default.ini");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(ReadFile(tree.IniFile()), golden);
}

TEST(DefaultIni, HasEightyFourCrLfLinesFromFileToFullScreen) {
    const std::string& text = DefaultIniText();
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 84);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "every line end is CR LF";
    EXPECT_EQ(text.rfind("\r\n", text.size() - 3),
              text.size() - std::string("FullScreen=Enter\r\n").size() - 2);
    EXPECT_EQ(text.substr(0, 8), "[File]\r\n");
}

TEST(ReadIni, FirstReadCreatesTheDefaultFile) {
    RunTree tree;
    ASSERT_FALSE(win32::FileExists(tree.IniFile()));
    EXPECT_EQ(ReadIniInteger("PlayControl", "LastPlayType"), 1);
    EXPECT_EQ(ReadFile(tree.IniFile()), DefaultIniText());
    EXPECT_EQ(ReadIniInteger("Pip", "PositionType"), -1);
    EXPECT_EQ(ReadIniString("PlayControl", "LastMediaFile"), "");
    EXPECT_EQ(ReadIniString("ShortCut", "Play/Pause"), "Space");
}

TEST(ReadIni, MissingKeysGiveTheFallbacks) {
    RunTree tree;
    WriteFile(tree.IniFile(), "[PlayControl]\r\nLastPos=-12\r\n");
    EXPECT_EQ(ReadIniString("PlayControl", "LastMediaFile"), ValueNoFind);
    EXPECT_EQ(ReadIniInteger("Play", "SoundLevel"), -1);
    EXPECT_EQ(ReadIniInteger("PlayControl", "LastPos"), -12);
    // An existing file is never completed.
    EXPECT_EQ(ReadFile(tree.IniFile()), "[PlayControl]\r\nLastPos=-12\r\n");
}

TEST(ReadIni, SettingsFileThatCannotBeReadGivesTheFallbacksAndIsNeverReplaced) {
    // A folder in the file's place, and a link to itself: both there, neither readable (also for root).
    for (const bool folder : {true, false}) {
        RunTree tree;
        if (folder)
            std::filesystem::create_directory(tree.IniFile());
        else
            std::filesystem::create_symlink("Default.ini", tree.IniFile());
        EXPECT_EQ(ReadIniInteger("PlayControl", "LastPlayType"), -1);
        EXPECT_EQ(ReadIniString("PlayControl", "LastMediaFile"), ValueNoFind);
        EXPECT_FALSE(WriteIniInteger("PlayControl", "PlayMode", 2));
        std::error_code error;
        EXPECT_EQ(std::filesystem::is_directory(tree.IniFile(), error), folder);
        EXPECT_EQ(std::filesystem::is_symlink(tree.IniFile(), error), !folder);
    }
}

TEST(ReadIni, LongPathComesBackWhole) {
    RunTree tree;
    const std::string path = "/" + std::string(300, 'm') + "/clip.mpg";
    ASSERT_TRUE(WriteIniString("PlayControl", "LastMediaFile", path));
    EXPECT_EQ(ReadIniString("PlayControl", "LastMediaFile"), path);
}

TEST(WriteIni, AfterTheFileWasDeletedEveryOtherSettingSurvives) {
    RunTree tree;
    EnsureIniFile();
    std::filesystem::remove(tree.IniFile());
    ASSERT_TRUE(WriteIniInteger("PlayControl", "PlayMode", 2));
    EXPECT_EQ(ReadIniInteger("PlayControl", "PlayMode"), 2);
    EXPECT_EQ(ReadIniString("ShortCut", "BossKey"), "Ctrl+F12");
    EXPECT_EQ(ReadIniInteger("Play", "RenderType"), 1009);
}

TEST(WriteIni, ReplacesOneLineAndKeepsTheRest) {
    RunTree tree;
    EnsureIniFile();
    ASSERT_TRUE(WriteIniInteger("Play", "SoundBalance", -9999));
    std::string expected = DefaultIniText();
    expected.replace(expected.find("SoundBalance=0"), 14, "SoundBalance=-9999");
    EXPECT_EQ(ReadFile(tree.IniFile()), expected);
    EXPECT_EQ(ReadIniInteger("Play", "SoundBalance"), -9999);
}

struct SlashCase {
    const char* name;
    const char* path;
    const char* expected;
};

void PrintTo(const SlashCase& Case, std::ostream* Out) {
    *Out << '"' << Case.path << '"';
}

class IncludeTrailingSlashTest : public ::testing::TestWithParam<SlashCase> {};

TEST_P(IncludeTrailingSlashTest, AddsOneSlashOnlyWhenMissing) {
    EXPECT_EQ(IncludeTrailingSlash(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, IncludeTrailingSlashTest,
                         ::testing::Values(SlashCase{"Added", "/opt/player", "/opt/player/"},
                                           SlashCase{"SlashKept", "/opt/player/", "/opt/player/"},
                                           SlashCase{"BackslashKept", "C:\\Player\\", "C:\\Player\\"},
                                           SlashCase{"EmptyStaysEmpty", "", ""}, SlashCase{"Root", "/", "/"}),
                         testing_support::CaseName());

TEST(ProgramFolders, DerivedFromTheProgramFile) {
    TProgramFolders f = GetProgramFolders("/opt/tarvex/QuorelMain");
    EXPECT_EQ(f.AppPath, "/opt/tarvex/");
    EXPECT_EQ(f.TempPath, "/opt/tarvex/Temp/");
    EXPECT_EQ(f.ProjectPath, "/opt/tarvex/Project");
    EXPECT_EQ(f.IniPath, "/opt/tarvex/Ini");
    EXPECT_EQ(f.ImagePath, "/opt/tarvex/Image");
    EXPECT_EQ(f.SkinDir, "/opt/tarvex/Skin/");
    EXPECT_EQ(f.LrcDir, "/opt/tarvex/Lrc/");
}

TEST(StartSettings, CreatesMissingFoldersAndTheSettingsFile) {
    testing_support::TempDir dir;
    ResetPlaybackState();
    StartSettings(dir.File("QuorelMain"));
    for (const char* folder : {"Temp", "Project", "Ini", "Image", "Skin/Default", "Lrc"})
        EXPECT_TRUE(win32::DirectoryExists(dir.File(folder))) << folder;
    EXPECT_EQ(State.IniFilePath, dir.File("Ini/Default.ini"));
    EXPECT_EQ(State.SkinPath, dir.File("Skin/Default/"));
    EXPECT_EQ(ReadIniString("File", "CaptureImagePath"), dir.File("Temp/"));
}

// A save killed between writing its temporary file and renaming it leaves "<file>.XXXXXX" behind: the next
// start removes those of the program's own stored files, and nothing else (not a save of another running
// program, not files of the user's that merely look alike).
TEST(StartSettings, RemovesTheTemporariesOfSavesThatWereKilled) {
    testing_support::TempDir dir;
    testing_support::ScopedEnv config("XDG_CONFIG_HOME", dir.File("config").c_str());
    for (const char* folder : {"Ini", "Project", "config", "config/TarvexDvd"})
        std::filesystem::create_directory(dir.File(folder));
    const auto aged = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5);
    auto make = [&](const std::string& Name, bool Old) {
        WriteFile(dir.File(Name), "x");
        if (Old)
            std::filesystem::last_write_time(dir.File(Name), aged);
    };
    const char* stale[] = {"Ini/Default.ini.a1B2c3",     "Project/PlayFileList.Zz9xYq",
                           "Project/DvdFileList.000000", "Project/HistoryList.abcdef",
                           "HistoryTemp.QWERTY",         "config/TarvexDvd/registry.x7Yq2w"};
    const char* kept[] = {
        "Ini/Default.ini.bak",  "Project/PlayFileList.1234567", "Project/PlayFileList.ab-_12",
        "Project/Other.abcdef", "Temp/PlayFileList.abcdef",     "Ini/Default.ini",
        "Project/PlayFileList", "config/TarvexDvd/registry",    "config/TarvexDvd/other.x7Yq2w"};
    std::filesystem::create_directory(dir.File("Temp"));
    for (const char* name : stale)
        make(name, true);
    for (const char* name : kept)
        make(name, true);
    make("Project/PlayFileList.NewOne", false); // another program saving right now
    std::filesystem::create_directory(dir.File("Project/DvdFileList.FOLDER"));
    ResetPlaybackState();
    StartSettings(dir.File("QuorelMain"));
    for (const char* name : stale)
        EXPECT_FALSE(std::filesystem::exists(dir.File(name))) << name;
    for (const char* name : kept)
        EXPECT_TRUE(std::filesystem::exists(dir.File(name))) << name;
    EXPECT_TRUE(std::filesystem::exists(dir.File("Project/PlayFileList.NewOne")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("Project/DvdFileList.FOLDER")));
    EXPECT_EQ(ReadFile(dir.File("Ini/Default.ini")), "x") << "the settings file itself stays";
}

TEST(InitCaptureImagePath, FillsOnlyAnEmptyValue) {
    RunTree tree;
    WriteFile(tree.IniFile(), "[File]\r\nCaptureImagePath=/home/me/shots\r\n");
    InitCaptureImagePath();
    EXPECT_EQ(ReadIniString("File", "CaptureImagePath"), "/home/me/shots");

    WriteFile(tree.IniFile(), "[File]\r\nLanguage=1\r\n");
    InitCaptureImagePath();
    EXPECT_EQ(ReadIniString("File", "CaptureImagePath"), ValueNoFind) << "a missing key is not empty";

    WriteFile(tree.IniFile(), "[File]\r\nCaptureImagePath=\r\n");
    InitCaptureImagePath();
    EXPECT_EQ(ReadIniString("File", "CaptureImagePath"), State.TempPath);
}

} // namespace
