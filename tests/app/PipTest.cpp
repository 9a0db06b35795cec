// Picture-in-picture end to end: the built program under a virtual X server, driven with the mouse and keys
// (xdotool) as a user would. "打开画中画..." from the video's pop-up menu, the two files chosen in the
// open-pair dialog (its file dialogs answered through the program's test hook), the small picture dragged
// over the video, "画面切换" from the menu, the setup dialog's position and alpha; the window is read back at
// each step (a grab of the main window, the program's map of its windows).

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
#include "tests/support/WindowMap.h"
#include "tests/support/XvfbDisplay.h"

namespace {

using testing_support::MappedControl;
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
    // Opens the video's pop-up menu with a right click At (a point of the screen) and picks an item with
    // Keys.
    void Menu(QPoint At, const std::string& Keys) const {
        Xdo("mousemove " + std::to_string(At.x()) + " " + std::to_string(At.y()) + " click 3");
        Pause();
        Xdo("key --delay 150 " + Keys);
    }
    // A control of an open window of the program once the map shows it.
    MappedControl WaitForControl(const std::string& Window, const std::string& Name) const {
        std::optional<MappedControl> control;
        EXPECT_TRUE(run.WaitFor([&] { return (control = map.Find(Window, Name)).has_value(); }))
            << Window << " " << Name << " is not shown\n"
            << run.ErrorOutput();
        return control.value_or(MappedControl{});
    }
    // Waits until no control of Window is shown any more.
    bool Closed(const std::string& Window) const {
        return run.WaitFor([&] {
            const auto controls = map.Controls();
            return std::none_of(controls.begin(), controls.end(),
                                [&](const MappedControl& C) { return C.window == Window && C.shown; });
        });
    }

    // Starts the player with the small picture in the bottom-right corner (more keys of the [Pip] section in
    // PipKeys), opens the long clip as file A and
    // a solid ColourB clip of BSeconds as file B with "打开画中画..." from the video's pop-up menu (the
    // open-pair dialog's file dialogs answered through the program's test hook), and waits until file A
    // shows. Sets mainAt and video.
    // PipKeys: more lines of the [Pip] section.
    void OpenPair(int BSeconds, const std::string& PipKeys = {}) {
        std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264AacLong),
                                   fileA);
        ASSERT_TRUE(testing_support::MakeMediaFile(
            "videotestsrc num-buffers=" + std::to_string(25 * BSeconds) +
                " pattern=solid-color foreground-color=0xFFC828A0 ! "
                "video/x-raw,format=I420,width=320,height=240,framerate=25/1 ! "
                "x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! mp4mux ! filesink "
                "location={out}",
            fileB));
        // The video fits the window as it is.
        std::string settings = DefaultIniText();
        settings.replace(settings.find("SmallPosition=3"), 15, "SmallPosition=4");
        settings.replace(settings.find("[Pip]\r\n"), 7, "[Pip]\r\nPositionType=101\r\n" + PipKeys);
        settings.replace(settings.find("WhileOpenMedia="), 16, "WhileOpenMedia=2");
        testing_support::WriteFile(run.File("Ini/Default.ini"), settings);
        testing_support::WriteFile(run.File("answers.txt"), fileA + "\n" + fileB + "\n");
        run.Start({}, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb", "QUOREL_MESSAGE_BOXES=fake",
                       "QUOREL_FILE_DIALOG_ANSWERS=" + run.File("answers.txt"),
                       "QUOREL_GRAB_WINDOW_ON_SIGNAL=" + run.File("grab.png"),
                       "QUOREL_FAKE_LOG=" + run.File("fake.log"), "QUOREL_WINDOW_MAP=" + map.Path()});

        mainAt = WindowAt("--classname QuorelMain");
        ASSERT_GE(mainAt.x(), 0) << run.ErrorOutput();
        const QImage idle = Grab();
        ASSERT_FALSE(idle.isNull());

        // "文件" > "打开画中画...".
        Menu(mainAt + QPoint(idle.width() / 2, 51 + 60), "Down Right Down Down Down Return");
        // Found in the program's map of its windows, whatever the locale its title went to X in.
        ASSERT_GT(WaitForControl("OpenPip_Form", "OK_Btn").width, 0) << "the open-pair dialog did not come";
        Pause(); // shown, and taking clicks
        for (const char* button : {"SpeedButton1", "SpeedButton2", "OK_Btn"}) { // "..." of A, of B, OK
            const MappedControl control = WaitForControl("OpenPip_Form", button);
            Xdo("mousemove " + std::to_string(control.CentreX()) + " " + std::to_string(control.CentreY()) +
                " click 1");
            Pause();
        }

        QImage picture;
        ASSERT_TRUE(run.WaitFor([&] {
            picture = Grab();
            video = FindVideo(picture);
            return video.width > 100 && Near(picture.pixel(video.At(0.25, 0.25)), bigA);
        })) << "file A is not shown; the dialog is "
            << (map.Find("OpenPip_Form", "OpenPip_Form") ? "still open" : "closed") << "\n"
            << run.ErrorOutput() << testing_support::ReadFile(run.File("fake.log"));
    }

    testing_support::XvfbDisplay display;
    ProgramRun run;
    testing_support::WindowMap map{run.File("map.txt")};
    const std::string fileA = run.File("a.mp4"), fileB = run.File("b.mp4");
    // Where the main window is on the screen, and the video in it, once the pair shows.
    QPoint mainAt;
    VideoArea video;
    // As the pair opens: file A over black, and the small picture of file B over file A.
    const Rgb bigA = Blend(testing_support::FixtureColour, 0.8, {0, 0, 0});
    const Rgb smallBOverA = Blend(ColourB, 0.6, bigA);
};

TEST_F(PipEndToEnd, OpenedFromTheMenuDraggedAndSwapped) {
    ASSERT_NO_FATAL_FAILURE(OpenPair(20));
    const QPoint main = mainAt;
    const VideoArea v = video;
    QImage picture;
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
    Menu(main + QPoint(v.left + v.width / 2, v.top + 20), "Down Down Down Down Right Down Down Down Return");
    const Rgb bigB = Blend(ColourB, 0.6, {0, 0, 0});
    EXPECT_TRUE(Shows(v.At(0.25, 0.25), bigB, v.At(0.75, 0.75) - QPoint(dx, 0),
                      Blend(testing_support::FixtureColour, 0.8, bigB), picture))
        << Hex(picture.pixel(v.At(0.25, 0.25))) << " "
        << Hex(picture.pixel(v.At(0.75, 0.75) - QPoint(dx, 0)));

    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    // The new edges are stored, in percent of the video.
    auto stored = [&](const std::string& Key) {
        const std::string value = run.Setting(Key);
        return value.empty() ? -1000 : std::stoi(value);
    };
    const std::string ini = testing_support::ReadFile(run.File("Ini/Default.ini"));
    const int left = static_cast<int>(std::lround(50.0 - 100.0 * dx / v.width));
    EXPECT_EQ(stored("PositionType"), 102);
    EXPECT_NEAR(stored("SmallLeft"), left, 1);
    EXPECT_NEAR(stored("SmallRight"), left + 50, 1);
    EXPECT_EQ(stored("SmallTop"), 50);
    EXPECT_EQ(stored("SmallBottom"), 100);
    EXPECT_NE(ini.find("\r\npipMediaFileA=" + fileA + "\r\n"), std::string::npos);
    EXPECT_NE(ini.find("\r\nLastPlayType=3\r\n"), std::string::npos);
}

// The setup dialog as a user meets it: "画面设置..." opens it on its position page, where "左上角" moves the
// small picture at once and stores the place; "画面透明度" opens it on its parameter page, where dragging
// file B's alpha bar makes the small picture show more of file A. OK closes it each time, and the window
// shows what was set.
TEST_F(PipEndToEnd, SetupDialogPlacesTheSmallPictureAndSetsItsAlpha) {
    // File B plays on long after the short file A has stopped at its last picture.
    ASSERT_NO_FATAL_FAILURE(OpenPair(60));
    const VideoArea v = video;
    QImage picture;
    ASSERT_TRUE(Shows(v.At(0.25, 0.25), bigA, v.At(0.75, 0.75), smallBOverA, picture))
        << Hex(picture.pixel(v.At(0.25, 0.25))) << " " << Hex(picture.pixel(v.At(0.75, 0.75)));
    const QPoint atMain = mainAt + v.At(0.25, 0.25);

    // "画中画" > "画面设置...": the position page, "标准位置" checked with "右下角"; a click on "左上角".
    Menu(atMain, "Down Down Down Down Right Return");
    const MappedControl topLeft = WaitForControl("PipSetup_Form", "TopLeft_RB");
    ASSERT_TRUE(map.Find("PipSetup_Form", "PipPosition_TS")) << "the dialog is not on its position page";
    Pause(); // shown, and taking clicks
    ASSERT_TRUE(testing_support::ClickAt(display.Name(), topLeft.x + 8, topLeft.CentreY())); // its circle
    EXPECT_TRUE(run.WaitFor([&] { return run.Setting("SmallPosition") == "1"; }))
        << "SmallPosition=" << run.Setting("SmallPosition");
    EXPECT_EQ(run.Setting("PositionType"), "101");
    const MappedControl ok = WaitForControl("PipSetup_Form", "OK_Btn");
    ASSERT_TRUE(testing_support::ClickAt(display.Name(), ok.CentreX(), ok.CentreY()));
    ASSERT_TRUE(Closed("PipSetup_Form")) << "OK did not close the dialog";
    // The small picture is in the top-left quarter, the bottom-right one shows file A alone.
    EXPECT_TRUE(Shows(v.At(0.75, 0.75), bigA, v.At(0.25, 0.25), smallBOverA, picture))
        << Hex(picture.pixel(v.At(0.75, 0.75))) << " " << Hex(picture.pixel(v.At(0.25, 0.25)));

    // "画中画" > "画面透明度": the parameter page; file B's bar dragged from 60 to about 20.
    Pause();
    Menu(mainAt + v.At(0.75, 0.75), "Down Down Down Down Right Down Down Return");
    const MappedControl bar = WaitForControl("PipSetup_Form", "AlphaBar_B");
    EXPECT_EQ(WaitForControl("PipSetup_Form", "AlphaB_L").text, "透明度 60%");
    Pause();
    // The knob, 20 pixels across, travels between 14 pixels from either end of the bar.
    auto knobAt = [&](int Position) { return bar.x + 14 + (bar.width - 28) * Position / 100; };
    Xdo("mousemove " + std::to_string(knobAt(60)) + " " + std::to_string(bar.CentreY()));
    Pause();
    Xdo("mousedown 1");
    for (int step = 1; step <= 8; ++step) {
        Xdo("mousemove " + std::to_string(knobAt(60 - 5 * step)) + " " + std::to_string(bar.CentreY()));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    Xdo("mouseup 1");
    int alphaB = -1;
    EXPECT_TRUE(run.WaitFor([&] {
        const std::optional<MappedControl> label = map.Find("PipSetup_Form", "AlphaB_L");
        if (!label || label->text.rfind("透明度 ", 0) != 0 || label->text.back() != '%')
            return false;
        alphaB = std::stoi(label->text.substr(std::string("透明度 ").size()));
        return alphaB <= 30;
    })) << "the bar shows "
        << alphaB;
    ASSERT_GE(alphaB, 10);
    const MappedControl ok2 = WaitForControl("PipSetup_Form", "OK_Btn");
    ASSERT_TRUE(testing_support::ClickAt(display.Name(), ok2.CentreX(), ok2.CentreY()));
    ASSERT_TRUE(Closed("PipSetup_Form")) << "OK did not close the dialog";
    // The small picture lets more of file A through; file A itself is as it was.
    const Rgb fainterB = Blend(ColourB, alphaB / 100.0, bigA);
    EXPECT_TRUE(Shows(v.At(0.75, 0.75), bigA, v.At(0.25, 0.25), fainterB, picture))
        << Hex(picture.pixel(v.At(0.75, 0.75))) << " " << Hex(picture.pixel(v.At(0.25, 0.25)));
    // The transparency is the playing picture's, not a setting; the place stays stored.
    EXPECT_EQ(run.Setting("SmallPosition"), "1");
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

// "右下角" from the menu, the pointer moved over the video, then "自由移动" in the setup dialog: the small
// picture stays where it stands, for the pointer's move stored its edges; edges stored long before (the
// top-left corner here) are not brought back. OK keeps the place, stored as free edges.
TEST_F(PipEndToEnd, FreeMoveAfterAStandardPlaceKeepsThePicture) {
    ASSERT_NO_FATAL_FAILURE(
        OpenPair(60, "SmallLeft=0\r\nSmallTop=0\r\nSmallRight=30\r\nSmallBottom=30\r\n"));
    const VideoArea v = video;
    QImage picture;
    ASSERT_TRUE(Shows(v.At(0.25, 0.25), bigA, v.At(0.75, 0.75), smallBOverA, picture))
        << Hex(picture.pixel(v.At(0.25, 0.25))) << " " << Hex(picture.pixel(v.At(0.75, 0.75)));

    // "画中画" > "画面标准位置" > "右下角", each item where the menu shows it.
    Xdo("mousemove " + std::to_string((mainAt + v.At(0.25, 0.25)).x()) + " " +
        std::to_string((mainAt + v.At(0.25, 0.25)).y()) + " click 3");
    for (const char* name : {"pPip", "pPipstandardpos", "pRightbottom"}) {
        const MappedControl item = WaitForControl("Menu", name);
        Xdo("mousemove " + std::to_string(item.x + 10) + " " + std::to_string(item.CentreY()));
        Pause();
    }
    Xdo("click 1");
    ASSERT_TRUE(Closed("Menu"));
    // The pointer over the video, away from the small picture.
    for (const double at : {0.2, 0.3, 0.4}) {
        const QPoint point = mainAt + v.At(at, 0.3);
        Xdo("mousemove " + std::to_string(point.x()) + " " + std::to_string(point.y()));
        Pause();
    }
    EXPECT_TRUE(run.WaitFor([&] { return run.Setting("SmallLeft") == "50"; })) << run.Setting("SmallLeft");

    // "画中画" > "画面设置...", then "自由移动" and OK.
    Menu(mainAt + v.At(0.25, 0.25), "Down Down Down Down Right Return");
    const MappedControl freeMove = WaitForControl("PipSetup_Form", "Freemove_CB");
    Pause(); // shown, and taking clicks
    ASSERT_TRUE(testing_support::ClickAt(display.Name(), freeMove.x + 8, freeMove.CentreY()));
    EXPECT_TRUE(run.WaitFor([&] { return run.Setting("PositionType") == "102"; }))
        << "PositionType=" << run.Setting("PositionType");
    const MappedControl ok = WaitForControl("PipSetup_Form", "OK_Btn");
    ASSERT_TRUE(testing_support::ClickAt(display.Name(), ok.CentreX(), ok.CentreY()));
    ASSERT_TRUE(Closed("PipSetup_Form")) << "OK did not close the dialog";
    // The picture stands where it was (the dialog covered the video): no jump to the old edges.
    EXPECT_TRUE(Shows(v.At(0.25, 0.25), bigA, v.At(0.75, 0.75), smallBOverA, picture))
        << Hex(picture.pixel(v.At(0.25, 0.25))) << " " << Hex(picture.pixel(v.At(0.75, 0.75)));
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    EXPECT_EQ(run.Setting("PositionType"), "102");
    EXPECT_EQ((std::vector<std::string>{run.Setting("SmallLeft"), run.Setting("SmallTop"),
                                        run.Setting("SmallRight"), run.Setting("SmallBottom")}),
              (std::vector<std::string>{"50", "50", "100", "100"}));
}

} // namespace
