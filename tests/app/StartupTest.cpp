#include <filesystem>

#include <gtest/gtest.h>

#include "core/Settings.h"
#include "platform/win32/Files.h"
#include "tests/support/ProgramRun.h"

using testing_support::ProgramRun;
using testing_support::ReadFile;

namespace {

TEST(Startup, EmptyTreeGetsTheDefaultSettingsWithTheCaptureFolderFilledIn) {
    ProgramRun run;
    ASSERT_FALSE(win32::FileExists(run.File("Ini/Default.ini")));
    run.Start();
    std::string expected = DefaultIniText();
    expected.replace(expected.find("CaptureImagePath="), 17, "CaptureImagePath=" + run.File("Temp/"));
    ASSERT_TRUE(run.WaitFor([&] { return ReadFile(run.File("Ini/Default.ini")) == expected; }))
        << ReadFile(run.File("Ini/Default.ini")) << run.ErrorOutput();
    EXPECT_TRUE(run.Running());
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

TEST(Startup, MissingProgramFoldersAreCreated) {
    ProgramRun run;
    for (const char* folder : {"Ini", "Project", "Temp", "Lrc"})
        std::filesystem::remove_all(run.File(folder));
    run.Start();
    ASSERT_TRUE(run.WaitFor([&] { return win32::FileExists(run.File("Ini/Default.ini")); })) << run.ErrorOutput();
    for (const char* folder : {"Project", "Temp", "Lrc", "Image", "Skin/Default"})
        EXPECT_TRUE(win32::DirectoryExists(run.File(folder))) << folder;
    EXPECT_EQ(run.Close(), 0);
}

TEST(Startup, ProgramDoesNotStartWithoutTheDialogLibrary) {
    ProgramRun run;
    std::filesystem::remove(run.File("libTarvexUseWindow.so"));
    run.Start();
    ASSERT_TRUE(run.WaitFor([&] { return !run.Running(); }));
    EXPECT_NE(run.Close(), 0);
    EXPECT_NE(run.ErrorOutput().find("libTarvexUseWindow.so"), std::string::npos) << run.ErrorOutput();
    EXPECT_FALSE(win32::FileExists(run.File("Ini/Default.ini")));
}

} // namespace
