#include <filesystem>

#include <QImage>

#include <gtest/gtest.h>

#include "core/Settings.h"
#include "platform/win32/Files.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"

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
    ASSERT_TRUE(run.WaitFor([&] { return win32::FileExists(run.File("Ini/Default.ini")); }))
        << run.ErrorOutput();
    for (const char* folder : {"Project", "Temp", "Lrc", "Image", "Skin/Default"})
        EXPECT_TRUE(win32::DirectoryExists(run.File(folder))) << folder;
    EXPECT_EQ(run.Close(), 0);
}

TEST(Startup, SettingsFileThatCannotBeReadStartsWithTheDefaultsAndClosesCleanly) {
    ProgramRun run;
    std::filesystem::create_directory(run.File("Ini/Default.ini"));
    const std::string log = run.File("fake.log");
    const std::string shot = run.File("shot.png");
    run.Start({}, {"QUOREL_MESSAGE_BOXES=fake", "QUOREL_FAKE_LOG=" + log, "QUOREL_GRAB_WINDOW=" + shot});
    // The window takes its picture once it has been up for a moment: its message loop runs.
    ASSERT_TRUE(run.WaitFor([&] { return win32::FileExists(shot); })) << ReadFile(log) << run.ErrorOutput();
    EXPECT_TRUE(run.Running());
    EXPECT_EQ(ReadFile(log).find("MessageBox"), std::string::npos) << ReadFile(log);
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    EXPECT_TRUE(win32::DirectoryExists(run.File("Ini/Default.ini")));
}

// Started by a user without a display (no QT_QPA_PLATFORM), the program says in one line that it needs an X11
// display and ends with status 1, where Qt aborted advising to reinstall.
TEST(Startup, WithoutADisplayTheProgramSaysSoInOneLineAndEnds) {
    struct {
        const char* name;
        const char* display;
        const char* told;
    } cases[] = {{"DISPLAY unset", "DISPLAY=", "DISPLAY is not set"},
                 {"no server at DISPLAY", "DISPLAY=:9999", "the display :9999 cannot be opened"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRun run;
        run.Start({}, {"QT_QPA_PLATFORM=", c.display});
        ASSERT_TRUE(run.WaitFor([&] { return !run.Running(); }));
        EXPECT_EQ(run.Close(), 1);
        const std::string told = run.ErrorOutput();
        EXPECT_EQ(told, std::string("QuorelMain needs an X11 display, and ") + c.told + ".\n");
        EXPECT_FALSE(win32::FileExists(run.File("Ini/Default.ini"))) << "nothing was started";
    }
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

// All four exports are bound as the program starts, also those no command has called: a library that lacks
// any one of them stops the program before it does anything, as a missing library does.
TEST(Startup, ProgramDoesNotStartWithADialogLibraryLackingAnExport) {
    for (const char* lacking : {"CreateShutDownDelayForm", "CreateManageHistoryForm",
                                "CreateMediaPropertyForm", "CreateGotoMediaForm"}) {
        ProgramRun run;
        std::filesystem::copy_file(
            std::string(QUOREL_DIALOG_STUBS_DIR) + "/" + lacking + "/libTarvexUseWindow.so",
            run.File("libTarvexUseWindow.so"), std::filesystem::copy_options::overwrite_existing);
        run.Start();
        ASSERT_TRUE(run.WaitFor([&] { return !run.Running(); })) << "started without " << lacking;
        EXPECT_NE(run.Close(), 0) << lacking;
        EXPECT_NE(run.ErrorOutput().find(lacking), std::string::npos) << run.ErrorOutput();
        EXPECT_FALSE(win32::FileExists(run.File("Ini/Default.ini"))) << lacking;
    }
}

TEST(Startup, ShowsTheSkinnedMainWindow) {
    ProgramRun run;
    const std::string shot = run.File("shot.png");
    run.Start({}, {"QUOREL_GRAB_WINDOW=" + shot});
    ASSERT_TRUE(run.WaitFor([&] { return win32::FileExists(shot); })) << run.ErrorOutput();
    QImage image;
    ASSERT_TRUE(run.WaitFor([&] { return image.load(QString::fromStdString(shot)); }));
    EXPECT_EQ(image.size(), QSize(688, 442));
    EXPECT_EQ(image.pixel(20, 120), qRgb(0, 0, 0)); // the video panel, nothing playing
    // The play button in the control panel shows its picture from Skin/Default.
    const QImage play(QString::fromStdString(run.File("Skin/Default/Play_Normal_Btn.bmp")));
    ASSERT_FALSE(play.isNull());
    EXPECT_EQ(image.copy(50, 365 + 24, 40, 40).convertToFormat(QImage::Format_RGB32),
              play.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

TEST(Startup, FirstActivationChecksTheDefaultDrive) {
    ProgramRun run;
    std::string ini = DefaultIniText();
    ini.replace(ini.find("DefDriver="), 10, "DefDriver=E:");
    testing_support::WriteFile(run.File("Ini/Default.ini"), ini);
    const std::string log = run.File("fake.log");
    run.Start({}, {"QUOREL_MESSAGE_BOXES=fake", "QUOREL_FAKE_LOG=" + log});
    ASSERT_TRUE(run.WaitFor([&] {
        return ReadFile(log).find("MessageBox Information|0|The default cd/dvd driver is not exists!") !=
               std::string::npos;
    })) << ReadFile(log)
        << run.ErrorOutput();
    EXPECT_NE(ReadFile(run.File("Ini/Default.ini")).find("DefDriver=\r\n"), std::string::npos);
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

} // namespace
