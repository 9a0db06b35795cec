// Bad input met end to end: the built program started by a user (`QuorelMain /o FILE`) under a virtual X
// server with a file that has nothing to play, with names that are not UTF-8 or hold a line break, and with a
// stored list that cannot be read, which puts an error box up at the start.

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include <QImage>

#include <gtest/gtest.h>

#include "core/Settings.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowManagerActions.h"
#include "tests/support/XScreen.h"
#include "tests/support/XvfbDisplay.h"

using testing_support::ProgramRun;
using testing_support::ReadFile;

namespace {

class BadInput : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start"; }

    // Starts the program as a user does, with Arguments, under the virtual X server.
    void Start(const std::vector<std::string>& Arguments, std::vector<std::string> Environment = {}) {
        Environment.push_back("DISPLAY=" + display.Name());
        Environment.push_back("QT_QPA_PLATFORM=xcb");
        Environment.push_back("QUOREL_OPENED_MEDIA=" + openedLog);
        run.Start(Arguments, Environment);
    }
    // The picture of the window the program saves 1.5 s after its start.
    QImage Grab(const std::vector<std::string>& Arguments, const std::string& Shot) {
        Start(Arguments, {"QUOREL_GRAB_WINDOW=" + run.File(Shot)});
        QImage image;
        EXPECT_TRUE(run.WaitFor([&] { return image.load(QString::fromStdString(run.File(Shot))); }))
            << run.ErrorOutput();
        return image;
    }
    // The value of Key in the run tree's settings ("" when absent).
    std::string Setting(const std::string& Key) const {
        const std::string ini = ReadFile(run.File("Ini/Default.ini"));
        const auto at = ini.find("\r\n" + Key + "=");
        if (at == std::string::npos)
            return "";
        const auto start = at + 3 + Key.size();
        return ini.substr(start, ini.find("\r\n", start) - start);
    }
    // A copy of the short clip in the run tree under Name.
    std::string Clip(const std::string& Name) {
        const std::string path = run.File(Name);
        std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264Aac),
                                   path);
        return path;
    }

    testing_support::XvfbDisplay display;
    ProgramRun run;
    const std::string openedLog = run.File("opened.txt");
};

// The status label of the status strip, counted from the window's lower corner.
QImage StatusText(const QImage& Window) {
    return Window.copy(9, Window.height() - 96 + 3, 70, 13);
}

// The first 44 bytes of a WAV file: the file "plays" and is at its end at once, leaving the ready state,
// where it played for ever at 0:00:00, a whole core busy and the error output flooded with critical warnings.
TEST_F(BadInput, AWavHeaderWithoutDataIsAtItsEndAtOnce) {
    const QImage idle = Grab({}, "idle.png");
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    const std::string nothing = run.File("nothing.wav");
    testing_support::WriteFile(nothing, testing_support::WavHeaderOnly());
    const QImage after = Grab({"/o", nothing}, "after.png");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_TRUE(run.Running());
    EXPECT_EQ(ReadFile(openedLog), nothing + "\n") << "opened once, not again and again";
    EXPECT_EQ(StatusText(after), StatusText(idle)) << "the ready state, not playing";
    EXPECT_EQ(run.Close(), 0);
    const std::string errors = run.ErrorOutput();
    EXPECT_LT(errors.size(), 4000u) << errors.substr(0, 2000);
    EXPECT_EQ(errors.find("CRITICAL"), std::string::npos) << errors.substr(0, 2000);
    EXPECT_EQ(Setting("LastPos"), "0");
}

// Names in a legacy encoding (GBK) or holding the bytes 0xFF 0xFE play, video and audio alike, and are stored
// byte for byte as the last medium and in the play list.
TEST_F(BadInput, NamesThatAreNotUtf8PlayAndAreStoredByteForByte) {
    const std::string video = Clip("\xC4\xE3\xBA\xC3 \xCA\xD3\xC6\xB5.mp4");
    const std::string song = run.File("\xFF\xFE.mp3");
    ASSERT_TRUE(testing_support::MakeToneFile(run.File("tone.mp3"), testing_support::AudioFormat::Mp3, 3.0));
    std::filesystem::rename(run.File("tone.mp3"), song);
    for (const std::string& file : {video, song}) {
        std::filesystem::remove(openedLog);
        Start({"/o", file});
        EXPECT_TRUE(run.WaitFor([&] { return ReadFile(openedLog) == file + "\n"; })) << run.ErrorOutput();
        EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
        EXPECT_EQ(Setting("LastMediaFile"), file);
        EXPECT_EQ(ReadFile(run.File("Project/PlayFileList")), file + "===0\r\n");
    }
}

// A file whose name holds a line break plays; it is neither the last medium nor an entry of the stored list,
// which never hold half an entry.
TEST_F(BadInput, ANameWithALineBreakPlaysButIsNotStored) {
    const std::string odd = Clip("two\nlines.mp4");
    Start({"/o", odd});
    EXPECT_TRUE(run.WaitFor([&] { return ReadFile(openedLog) == odd + "\n"; })) << run.ErrorOutput();
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    EXPECT_EQ(Setting("LastMediaFile"), "");
    EXPECT_EQ(Setting("LastPlayType"), "1");
    EXPECT_EQ(ReadFile(run.File("Project/PlayFileList")), "");
    EXPECT_EQ(ReadFile(run.File("Ini/Default.ini")).find("lines.mp4"), std::string::npos);
}

// A folder in the place of the stored play list: reading it at the start puts the error box up. A terminate
// signal, or the window manager's close of the main window, ends the box and closes the program as a user
// close would (saving what it can, the close's own error told on the error output instead of in a box nobody
// answers).
TEST_F(BadInput, ACloseRequestWhileAnErrorBoxIsUpEndsTheBoxAndThenTheProgram) {
    std::filesystem::create_directory(run.File("Project/PlayFileList"));
    for (const bool signal : {true, false}) {
        SCOPED_TRACE(signal ? "terminate signal" : "window manager's close");
        std::string ini = DefaultIniText();
        ini.replace(ini.find("LastPos=0"), 9, "LastPos=7");
        testing_support::WriteFile(run.File("Ini/Default.ini"), ini);
        Start({});
        unsigned long main = 0;
        ASSERT_TRUE(run.WaitFor([&] {
            return (main = testing_support::OwnerOfShownDialog(display.Name())) != 0;
        })) << run.ErrorOutput();
        if (signal) {
            EXPECT_EQ(run.Close(std::chrono::seconds(10)), 0) << run.ErrorOutput();
        } else {
            ASSERT_TRUE(testing_support::RequestClose(display.Name(), main));
            EXPECT_TRUE(run.WaitFor([&] { return !run.Running(); }, std::chrono::seconds(10)));
            EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
        }
        EXPECT_NE(run.ErrorOutput().find("Cannot create file"), std::string::npos) << run.ErrorOutput();
        EXPECT_EQ(Setting("LastPos"), "0") << "the close saved the last state";
    }
}

// A RealMedia file whose header holds absurd values never gives a stream, and the open tries it for seconds.
// Meanwhile the window is drawn and answers: a picture asked of it a moment into the open comes while the
// file is still tried (the status strip is the ready state's, not the failure's), and a terminate signal or
// the window manager's close ends the program then, with nothing played.
TEST_F(BadInput, TheWindowAnswersWhileAFileThatNeverGivesAStreamIsTried) {
    const QImage idle = Grab({}, "idle.png");
    ASSERT_EQ(run.Close(), 0) << run.ErrorOutput();
    const std::string stalling = run.File("stalling.rm");
    std::filesystem::copy_file(testing_support::StallingRealMediaFile(), stalling);
    const std::string shot = run.File("while-opening.png");
    for (const bool signal : {true, false}) {
        SCOPED_TRACE(signal ? "terminate signal" : "window manager's close");
        std::filesystem::remove(openedLog);
        std::filesystem::remove(shot);
        Start({"/o", stalling}, {"QUOREL_GRAB_WINDOW_ON_SIGNAL=" + shot});
        std::vector<testing_support::ShownWindow> shown;
        ASSERT_TRUE(run.WaitFor([&] {
            return !(shown = testing_support::ShownWindows(display.Name())).empty();
        })) << run.ErrorOutput();
        // The open begins once the window is painted (or 300 ms after it is shown) and takes seconds.
        std::this_thread::sleep_for(std::chrono::seconds(1));
        ::kill(run.Pid(), SIGUSR1);
        QImage whileOpening;
        EXPECT_TRUE(run.WaitFor([&] { return whileOpening.load(QString::fromStdString(shot)); }))
            << run.ErrorOutput();
        EXPECT_EQ(StatusText(whileOpening), StatusText(idle)) << "the picture came after the open had failed";
        if (signal) {
            EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
        } else {
            ASSERT_TRUE(testing_support::RequestClose(display.Name(), shown.front().window));
            EXPECT_TRUE(run.WaitFor([&] { return !run.Running(); }));
            EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
        }
        EXPECT_EQ(ReadFile(openedLog), "");
    }
}

} // namespace
