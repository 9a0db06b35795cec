// Picture-in-picture end to end: the built program under a virtual X server, driven with the mouse and keys
// (xdotool) as a user would. "打开画中画..." from the video's pop-up menu, the two files chosen in the
// open-pair dialog (its file dialogs answered through the program's test hook), the small picture dragged
// over the video, "画面切换" from the menu; the window is read back at each step.

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>

#include <QImage>

#include <gtest/gtest.h>

#include "core/Settings.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/XvfbDisplay.h"

namespace {

using testing_support::ProgramRun;
using testing_support::Rgb;

constexpr Rgb ColourB{200, 40, 160};

Rgb Blend(Rgb Over, double Alpha, Rgb Under) {
    auto mix = [&](int o, int u) { return static_cast<int>(std::lround(Alpha * o + (1.0 - Alpha) * u)); };
    return {mix(Over.r, Under.r), mix(Over.g, Under.g), mix(Over.b, Under.b)};
}

bool Near(QRgb Pixel, Rgb Want) {
    return std::abs(qRed(Pixel) - Want.r) <= 25 && std::abs(qGreen(Pixel) - Want.g) <= 25 &&
           std::abs(qBlue(Pixel) - Want.b) <= 25;
}

std::string Hex(QRgb Pixel) {
    std::ostringstream text;
    text << std::hex << (Pixel & RGB_MASK);
    return text.str();
}

// Where the video is drawn in a picture of the main window: the part of the video panel (between the frame
// strips) that is not black.
struct VideoArea {
    int left = 0, top = 0, width = 0, height = 0;
    QPoint At(double X, double Y) const {
        return {left + static_cast<int>(X * width), top + static_cast<int>(Y * height)};
    }
};

VideoArea FindVideo(const QImage& Window) {
    const int panelLeft = 6, panelTop = 51, panelRight = Window.width() - 6,
              panelBottom = Window.height() - 96;
    auto lit = [&](int x, int y) { return (Window.pixel(x, y) & RGB_MASK) != 0; };
    VideoArea area;
    const int midY = (panelTop + panelBottom) / 2, midX = (panelLeft + panelRight) / 2;
    int x0 = panelLeft, x1 = panelRight - 1, y0 = panelTop, y1 = panelBottom - 1;
    while (x0 < x1 && !lit(x0, midY))
        ++x0;
    while (x1 > x0 && !lit(x1, midY))
        --x1;
    while (y0 < y1 && !lit(midX, y0))
        ++y0;
    while (y1 > y0 && !lit(midX, y1))
        --y1;
    area.left = x0;
    area.top = y0;
    area.width = x1 - x0 + 1;
    area.height = y1 - y0 + 1;
    return area;
}

class PipEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start"; }
    void TearDown() override {
        if (run.Running())
            run.Close();
    }

    // Runs xdotool on the virtual display; its output.
    std::string Xdo(const std::string& Arguments) const {
        const std::string command = "DISPLAY=" + display.Name() + " xdotool " + Arguments + " 2>&1";
        std::string output;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            std::array<char, 256> buffer{};
            while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
                output += buffer.data();
            ::pclose(pipe);
        }
        return output;
    }
    // The top-left corner of the first visible window found by xdotool's search Arguments.
    QPoint WindowAt(const std::string& Search) const {
        QPoint at(-1, -1);
        run.WaitFor([&] {
            std::istringstream ids(Xdo("search --onlyvisible " + Search));
            std::string id;
            if (!(ids >> id))
                return false;
            std::istringstream geometry(Xdo("getwindowgeometry --shell " + id));
            for (std::string line; std::getline(geometry, line);) {
                if (line.rfind("X=", 0) == 0)
                    at.setX(std::stoi(line.substr(2)));
                else if (line.rfind("Y=", 0) == 0)
                    at.setY(std::stoi(line.substr(2)));
            }
            return at.x() >= 0;
        });
        return at;
    }
    // A picture of the main window as the screen shows it now.
    QImage Grab() const {
        const std::string file = run.File("grab.png");
        std::filesystem::remove(file);
        ::kill(run.Pid(), SIGUSR1);
        QImage image;
        run.WaitFor([&] { return image.load(QString::fromStdString(file)); });
        return image;
    }
    // Waits until the picture shows Big at Point Big and Small at Point Small.
    bool Shows(QPoint BigAt, Rgb Big, QPoint SmallAt, Rgb Small, QImage& Last) const {
        return run.WaitFor([&] {
            Last = Grab();
            return !Last.isNull() && Near(Last.pixel(BigAt), Big) && Near(Last.pixel(SmallAt), Small);
        });
    }
    static void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }

    testing_support::XvfbDisplay display;
    ProgramRun run;
};

TEST_F(PipEndToEnd, OpenedFromTheMenuDraggedAndSwapped) {
    const std::string a = run.File("a.mp4"), b = run.File("b.mp4");
    std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264AacLong), a);
    ASSERT_TRUE(testing_support::MakeMediaFile(
        "videotestsrc num-buffers=500 pattern=solid-color foreground-color=0xFFC828A0 ! "
        "video/x-raw,format=I420,width=320,height=240,framerate=25/1 ! "
        "x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! mp4mux ! filesink location={out}",
        b));
    // The small picture starts in the bottom-right corner; the video fits the window as it is.
    std::string settings = DefaultIniText();
    settings.replace(settings.find("SmallPosition=3"), 15, "SmallPosition=4");
    settings.replace(settings.find("[Pip]\r\n"), 7, "[Pip]\r\nPositionType=101\r\n");
    settings.replace(settings.find("WhileOpenMedia="), 16, "WhileOpenMedia=2");
    testing_support::WriteFile(run.File("Ini/Default.ini"), settings);
    testing_support::WriteFile(run.File("answers.txt"), a + "\n" + b + "\n");
    run.Start({}, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb", "QUOREL_MESSAGE_BOXES=fake",
                   "QUOREL_FILE_DIALOG_ANSWERS=" + run.File("answers.txt"),
                   "QUOREL_GRAB_WINDOW_ON_SIGNAL=" + run.File("grab.png"),
                   "QUOREL_FAKE_LOG=" + run.File("fake.log")});

    const QPoint main = WindowAt("--classname QuorelMain");
    ASSERT_GE(main.x(), 0) << run.ErrorOutput();
    const QImage idle = Grab();
    ASSERT_FALSE(idle.isNull());
    const QPoint onVideo = main + QPoint(idle.width() / 2, 51 + 60);

    // "文件" > "打开画中画..." from the pop-up menu of the video.
    Xdo("mousemove " + std::to_string(onVideo.x()) + " " + std::to_string(onVideo.y()) + " click 3");
    Pause();
    Xdo("key --delay 150 Down Right Down Down Down Return");
    const QPoint dialog = WindowAt("--name 打开画中画");
    ASSERT_GE(dialog.x(), 0) << "the open-pair dialog did not come";
    Pause(); // shown, and taking clicks
    auto clickIn = [&](QPoint Window, int X, int Y) {
        Xdo("mousemove " + std::to_string(Window.x() + X) + " " + std::to_string(Window.y() + Y) +
            " click 1");
        Pause();
    };
    clickIn(dialog, 8 + 400 + 15, 8 + 44 + 10);  // "..." of file A
    clickIn(dialog, 8 + 400 + 15, 8 + 106 + 10); // "..." of file B
    clickIn(dialog, 296 + 37, 176 + 12);         // OK

    // Both play in the one window: file B small in the bottom-right quarter over file A.
    QImage picture = Grab();
    ASSERT_TRUE(run.WaitFor([&] {
        picture = Grab();
        const VideoArea v = FindVideo(picture);
        return v.width > 100 &&
               Near(picture.pixel(v.At(0.25, 0.25)), Blend(testing_support::FixtureColour, 0.8, {0, 0, 0}));
    })) << "file A is not shown; the dialog is "
        << (Xdo("search --onlyvisible --name 打开画中画").empty() ? "closed" : "still open") << "\n"
        << run.ErrorOutput() << testing_support::ReadFile(run.File("fake.log"));
    const VideoArea v = FindVideo(picture);
    const Rgb bigA = Blend(testing_support::FixtureColour, 0.8, {0, 0, 0});
    const Rgb smallBOverA = Blend(ColourB, 0.6, bigA);
    EXPECT_TRUE(Shows(v.At(0.25, 0.25), bigA, v.At(0.75, 0.75), smallBOverA, picture))
        << Hex(picture.pixel(v.At(0.25, 0.25))) << " " << Hex(picture.pixel(v.At(0.75, 0.75)));

    // Dragging the inside of the small picture a fifth of the video's width to the left.
    const QPoint from = main + v.At(0.75, 0.75);
    const int dx = v.width / 5;
    Xdo("mousemove " + std::to_string(from.x()) + " " + std::to_string(from.y()));
    Pause();
    Xdo("mousedown 1");
    for (int step = 1; step <= 10; ++step) {
        Xdo("mousemove " + std::to_string(from.x() - dx * step / 10) + " " + std::to_string(from.y()));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    Xdo("mouseup 1");
    Pause();
    // What was file A alone now shows the small picture, and the corner it left shows file A alone.
    EXPECT_TRUE(Shows(v.At(0.95, 0.75), bigA, v.At(0.5, 0.75) - QPoint(dx / 2, 0), smallBOverA, picture))
        << Hex(picture.pixel(v.At(0.95, 0.75))) << " "
        << Hex(picture.pixel(v.At(0.5, 0.75) - QPoint(dx / 2, 0)));

    // "画中画" > "画面切换": file B fills the video, file A is the small picture.
    Xdo("mousemove " + std::to_string(onVideo.x()) + " " + std::to_string(onVideo.y()) + " click 3");
    Pause();
    Xdo("key --delay 150 Down Down Down Down Right Down Down Down Return");
    const Rgb bigB = Blend(ColourB, 0.6, {0, 0, 0});
    EXPECT_TRUE(Shows(v.At(0.25, 0.25), bigB, v.At(0.75, 0.75) - QPoint(dx, 0),
                      Blend(testing_support::FixtureColour, 0.8, bigB), picture))
        << Hex(picture.pixel(v.At(0.25, 0.25))) << " "
        << Hex(picture.pixel(v.At(0.75, 0.75) - QPoint(dx, 0)));

    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    // The new edges are stored, in percent of the video.
    const std::string ini = testing_support::ReadFile(run.File("Ini/Default.ini"));
    auto stored = [&](const std::string& Key) {
        const auto at = ini.find("\r\n" + Key + "=");
        return at == std::string::npos ? -1000 : std::stoi(ini.substr(at + 3 + Key.size()));
    };
    const int left = static_cast<int>(std::lround(50.0 - 100.0 * dx / v.width));
    EXPECT_EQ(stored("PositionType"), 102);
    EXPECT_NEAR(stored("SmallLeft"), left, 1);
    EXPECT_NEAR(stored("SmallRight"), left + 50, 1);
    EXPECT_EQ(stored("SmallTop"), 50);
    EXPECT_EQ(stored("SmallBottom"), 100);
    EXPECT_NE(ini.find("\r\npipMediaFileA=" + a + "\r\n"), std::string::npos);
    EXPECT_NE(ini.find("\r\nLastPlayType=3\r\n"), std::string::npos);
}

} // namespace
