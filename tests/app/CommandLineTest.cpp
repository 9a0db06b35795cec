// The command line and the last medium, end to end: the built program in a temporary run tree.

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <thread>

#include <QImage>

#include <gtest/gtest.h>

#include "platform/win32/Files.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/XScreen.h"
#include "tests/support/XvfbDisplay.h"

using testing_support::ProgramRun;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

// A 10 s clip of the fixtures' colour with a tone, in the run tree.
std::string MakeClip(const ProgramRun& Run, const std::string& Name) {
    const std::string path = Run.File(Name);
    std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264AacLong),
                               path);
    return path;
}

// Runs the program with Arguments until its window was grabbed (1.5 s after the start, and with a LaterShot
// once more a second later, into *Later), then closes it as a user would.
QImage RunAndGrab(ProgramRun& Run, const std::vector<std::string>& Arguments,
                  std::vector<std::string> Environment, const std::string& Shot,
                  const std::string& LaterShot = "", QImage* Later = nullptr) {
    Environment.push_back("QUOREL_GRAB_WINDOW=" + Run.File(Shot));
    if (Later != nullptr)
        Environment.push_back("QUOREL_GRAB_WINDOW_AGAIN=" + Run.File(LaterShot));
    Run.Start(Arguments, Environment);
    QImage image;
    EXPECT_TRUE(Run.WaitFor([&] { return image.load(QString::fromStdString(Run.File(Shot))); }))
        << Run.ErrorOutput();
    if (Later != nullptr) {
        EXPECT_TRUE(Run.WaitFor([&] { return Later->load(QString::fromStdString(Run.File(LaterShot))); }))
            << Run.ErrorOutput();
    }
    EXPECT_EQ(Run.Close(), 0) << Run.ErrorOutput();
    return image;
}

// The two labels of the status strip, counted from the window's lower corners.
QImage StatusText(const QImage& Window) {
    return Window.copy(9, Window.height() - 96 + 3, 70, 13);
}
QImage TimeText(const QImage& Window) {
    return Window.copy(Window.width() - 160, Window.height() - 96 + 3, 150, 13);
}
QRgb VideoCentre(const QImage& Window) {
    return Window.pixel(Window.width() / 2, (51 + Window.height() - 96) / 2);
}
// A point of the video panel beside the logo.
QRgb VideoBesideTheLogo(const QImage& Window) {
    return Window.pixel(20, 120);
}

// The left edge of the position knob in a picture of the window: where the knob's own picture fits best on
// its row of the control strip (6 pixels below the top of the 77-pixel strip); -1 when it fits nowhere.
int KnobLeft(const QImage& Window, const QImage& Knob) {
    const int top = Window.height() - 77 + 6;
    int best = -1;
    int bestMatches = Knob.width() * Knob.height() * 3 / 4; // the knob's round corners show the strip
    for (int x = 0; x + Knob.width() <= Window.width(); ++x) {
        int matches = 0;
        for (int y = 0; y < Knob.height(); ++y)
            for (int kx = 0; kx < Knob.width(); ++kx)
                matches += (Window.pixel(x + kx, top + y) & RGB_MASK) == (Knob.pixel(kx, y) & RGB_MASK);
        if (matches > bestMatches) {
            best = x;
            bestMatches = matches;
        }
    }
    return best;
}

bool NearFixtureColour(QRgb Pixel) {
    const auto c = testing_support::FixtureColour;
    return std::abs(qRed(Pixel) - c.r) <= 30 && std::abs(qGreen(Pixel) - c.g) <= 30 &&
           std::abs(qBlue(Pixel) - c.b) <= 30;
}

// Runs the program with Arguments under the X server Display and grabs its window through the program's
// SIGUSR1 hook until a picture satisfies Until (or time runs out; the last picture then); with a Later, once
// more a second after that one. Then closes the program as a user would. On a busy machine the clip may take
// a while to show, so the grabs follow what the window shows rather than a clock.
QImage RunAndGrabWhen(ProgramRun& Run, const std::vector<std::string>& Arguments, const std::string& Display,
                      const std::function<bool(const QImage&)>& Until, QImage* Later = nullptr) {
    const std::string file = Run.File("grab.png");
    Run.Start(Arguments,
              {"DISPLAY=" + Display, "QT_QPA_PLATFORM=xcb", "QUOREL_GRAB_WINDOW_ON_SIGNAL=" + file});
    EXPECT_TRUE(Run.WaitFor([&] { return !testing_support::MappedWindows(Display).empty(); }))
        << Run.ErrorOutput();
    const auto grab = [&] {
        std::filesystem::remove(file);
        ::kill(Run.Pid(), SIGUSR1);
        QImage image;
        Run.WaitFor([&] { return image.load(QString::fromStdString(file)); });
        return image;
    };
    QImage image;
    EXPECT_TRUE(Run.WaitFor([&] { return Until(image = grab()); })) << Run.ErrorOutput();
    if (Later != nullptr) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        *Later = grab();
    }
    EXPECT_EQ(Run.Close(), 0) << Run.ErrorOutput();
    return image;
}

TEST(CommandLine, OpenSwitchPlaysTheClipUnderXAndTheNextStartResumesWhereItWasLeft) {
    testing_support::XvfbDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
    const std::vector<std::string> underX = {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb"};
    ProgramRun run;
    const std::string clip = MakeClip(run, "clip.mp4");

    const QImage idle = RunAndGrab(run, {}, underX, "idle.png");
    ASSERT_FALSE(idle.isNull());
    EXPECT_EQ(VideoBesideTheLogo(idle), qRgb(0, 0, 0));

    // The position knob moves along as the clip plays (about 4 % of its travel a second).
    const QImage knob(QString::fromStdString(run.File("Skin/Default/VideoBar_Normal.bmp")));
    ASSERT_FALSE(knob.isNull());
    QImage later;
    const QImage playing = RunAndGrabWhen(
        run, {"/o", clip}, display.Name(),
        [&](const QImage& Shown) {
            return !Shown.isNull() && NearFixtureColour(VideoCentre(Shown)) &&
                   KnobLeft(Shown, knob) > KnobLeft(idle, knob);
        },
        &later);
    ASSERT_FALSE(playing.isNull());
    EXPECT_TRUE(NearFixtureColour(VideoCentre(playing))) << std::hex << VideoCentre(playing);
    EXPECT_TRUE(NearFixtureColour(VideoBesideTheLogo(playing))) << std::hex << VideoBesideTheLogo(playing);
    EXPECT_NE(StatusText(playing), StatusText(idle)); // "播放中" in place of "准备完毕"
    EXPECT_NE(TimeText(playing), TimeText(idle));     // the time text, empty while nothing plays
    const int knobThen = KnobLeft(playing, knob), knobLater = KnobLeft(later, knob);
    EXPECT_GT(knobThen, KnobLeft(idle, knob)) << "off the start once the clip plays";
    EXPECT_GT(knobLater, knobThen) << "further on a second later";
    EXPECT_EQ(run.Setting("LastPlayType"), "1");
    EXPECT_EQ(run.Setting("LastMediaFile"), clip) << run.ErrorOutput();
    EXPECT_GE(std::stoi(run.Setting("LastPos")), 0);
    EXPECT_EQ(ReadFile(run.File("Project/PlayFileList")), clip + "===0\r\n");

    // The next start without arguments reopens the clip at the stored position and plays on from there.
    run.SetSetting("LastPos", "6");
    const QImage resumed = RunAndGrabWhen(run, {}, display.Name(), [](const QImage& Shown) {
        return !Shown.isNull() && NearFixtureColour(VideoCentre(Shown));
    });
    EXPECT_TRUE(NearFixtureColour(VideoCentre(resumed))) << std::hex << VideoCentre(resumed);
    const int lastPos = std::stoi(run.Setting("LastPos"));
    EXPECT_GE(lastPos, 6);
    EXPECT_LT(lastPos, 10);
}

// The grab 1.5 s after the start also tells that the window was shown and activated.
TEST(CommandLine, PlainFilesBecomeThePlayList) {
    ProgramRun run;
    const std::string video = run.File("a.mp4");
    std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264Aac), video);
    const std::string song = run.File("b.mp3");
    ASSERT_TRUE(testing_support::MakeToneFile(song, testing_support::AudioFormat::Mp3, 2.0));
    RunAndGrab(run, {video, song}, {}, "shot.png");
    EXPECT_EQ(ReadFile(run.File("Project/PlayFileList")), video + "===0\r\n" + song + "===0\r\n");
    EXPECT_EQ(run.Setting("LastMediaFile"), video);
}

TEST(CommandLine, AppendSwitchAddsTheFileToTheStoredPlayList) {
    ProgramRun run;
    const std::string stored = run.File("stored.mp4"), added = run.File("added.mp4");
    for (const auto& file : {stored, added})
        std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264Aac),
                                   file);
    WriteFile(run.File("Project/PlayFileList"), stored + "===4\r\n");
    RunAndGrab(run, {"/a", added}, {}, "shot.png");
    EXPECT_EQ(ReadFile(run.File("Project/PlayFileList")), stored + "===4\r\n" + added + "===0\r\n");
    // The file the switch named is the one that played, and it is stored as the last medium.
    EXPECT_EQ(run.Setting("LastMediaFile"), added);
}

} // namespace
