// The built program driven as a user drives it, under a virtual X server without a window manager: mouse
// clicks and keys from xdotool, the window's place and size from the server, what plays from the program's
// own files for tests (QUOREL_PLAY_STATE, QUOREL_OPENED_MEDIA).

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/XvfbDisplay.h"

using testing_support::ProgramRun;
using testing_support::ReadFile;

namespace {

using V = std::vector<std::string>;

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << r.width << "x" << r.height << "+" << r.x << "+" << r.y;
}

class Routes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
        ASSERT_EQ(X("xdotool version").rfind("xdotool", 0), 0u)
            << "xdotool is missing (scripts/setup installs it)";
        for (const char* name : {"a.mp4", "b.mp4", "c.mp4"}) {
            files.push_back(run.File(name));
            std::filesystem::copy_file(
                testing_support::MediaFile(testing_support::MediaFixture::Mp4H264AacLong), files.back());
        }
    }
    void TearDown() override {
        if (run.Running()) {
            EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
        }
    }

    // Runs Command (an xdotool or xwininfo command line) on the display; its output.
    std::string X(const std::string& Command) {
        const std::string line = "DISPLAY=" + display.Name() + " " + Command + " 2>/dev/null";
        std::string output;
        if (FILE* pipe = ::popen(line.c_str(), "r")) {
            std::array<char, 256> buffer;
            while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
                output += buffer.data();
            ::pclose(pipe);
        }
        return output;
    }
    void Pause(int Milliseconds = 300) {
        std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
    }
    void Click(int X0, int Y0, int Button = 1) {
        X("xdotool mousemove " + std::to_string(X0) + " " + std::to_string(Y0) + " click " +
          std::to_string(Button));
        Pause();
    }
    void DoubleClick(int X0, int Y0) {
        X("xdotool mousemove " + std::to_string(X0) + " " + std::to_string(Y0) +
          " click --repeat 2 --delay 80 1");
        Pause(600);
    }
    void Keys(const std::string& Keys) {
        X("xdotool key --delay 60 " + Keys);
        Pause();
    }
    // The program's visible windows: the main window, and the menus and dialogs open over it.
    V Windows() {
        std::istringstream ids(X("xdotool search --onlyvisible --classname '^QuorelMain$'"));
        V found;
        for (std::string id; ids >> id;)
            found.push_back(id);
        return found;
    }
    // The visible window whose title begins with Title, or "".
    std::string Window(const std::string& Title) {
        for (const std::string& id : Windows())
            if (X("xdotool getwindowname " + id).rfind(Title, 0) == 0)
                return id;
        return "";
    }
    Rect Geometry(const std::string& Id) {
        Rect r;
        std::istringstream lines(X("xdotool getwindowgeometry --shell " + Id));
        for (std::string line; std::getline(lines, line);) {
            const auto eq = line.find('=');
            if (eq == std::string::npos)
                continue;
            const std::string key = line.substr(0, eq);
            const int value = std::atoi(line.c_str() + eq + 1);
            if (key == "X")
                r.x = value;
            else if (key == "Y")
                r.y = value;
            else if (key == "WIDTH")
                r.width = value;
            else if (key == "HEIGHT")
                r.height = value;
        }
        return r;
    }
    // The main window: the program's one window until a menu or dialog opens (they bear the same name).
    bool FindMain() {
        return run.WaitFor([&] { return Windows().size() == 1; }) && !(mainId = Windows().front()).empty();
    }
    Rect Main() { return Geometry(mainId); }
    V Lines(const std::string& File) {
        V lines;
        std::istringstream in(ReadFile(File));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    // "playing", "paused" or "stopped", from the state file the program keeps ("" before it has one).
    std::string PlayState() {
        std::string playing, paused;
        for (const std::string& line : Lines(stateLog)) {
            if (line.rfind("playing=", 0) == 0)
                playing = line.substr(8);
            else if (line.rfind("paused=", 0) == 0)
                paused = line.substr(7);
        }
        if (playing.empty())
            return "";
        return playing == "0" ? "stopped" : paused == "1" ? "paused" : "playing";
    }
    bool WaitForState(const std::string& Wanted) {
        return run.WaitFor([&] { return PlayState() == Wanted; }, std::chrono::seconds(5));
    }

    testing_support::XvfbDisplay display;
    ProgramRun run;
    V files;
    const std::string stateLog = run.File("state.txt");
    const std::string openedLog = run.File("opened.log");
    std::string mainId;
};

TEST_F(Routes, EveryGestureOfTheTaskReachesItsCommand) {
    run.Start(files, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb", "QUOREL_PLAY_STATE=" + stateLog,
                      "QUOREL_OPENED_MEDIA=" + openedLog, "QUOREL_POWER=fake", "QUOREL_SCREENSAVER=fake",
                      "QUOREL_DISC_TRAY=fake"});
    ASSERT_TRUE(run.WaitFor([&] { return PlayState() == "playing"; })) << run.ErrorOutput();
    ASSERT_TRUE(FindMain());
    Pause(500);
    const Rect window = Main();
    ASSERT_GT(window.width, 0);
    auto inWindow = [&](int Dx, int Dy) { return std::pair(window.x + Dx, window.y + Dy); };
    const auto [videoX, videoY] = inWindow(window.width / 2, (51 + window.height - 96) / 2);
    const int controls = window.height - 77; // the control strip's top
    const auto [playX, playY] = inWindow(70, controls + 44);

    // A click on the left edge strip, then on play/pause: the click reaches the button and it pauses.
    Click(window.x + 2, window.y + window.height / 2);
    Click(playX, playY);
    EXPECT_TRUE(WaitForState("paused")) << PlayState();
    EXPECT_EQ(Main(), window) << "a click on the edge strip moves nothing";

    // A double click on the video: full screen, as large as the screen; again: back to the size it had. The
    // first click of each pair is undone by the second, so it stays paused.
    DoubleClick(videoX, videoY);
    EXPECT_EQ(Main(), (Rect{0, 0, 1280, 1024}));
    DoubleClick(640, 512);
    EXPECT_EQ(Main(), window);
    EXPECT_EQ(PlayState(), "paused");

    // The left click that closes the menu opened on the video is no play/pause; the next click is.
    Click(videoX, videoY, 3);
    ASSERT_EQ(Windows().size(), 2u) << "the menu is open";
    Click(videoX, videoY);
    EXPECT_EQ(Windows().size(), 1u) << "the menu is closed";
    EXPECT_EQ(PlayState(), "paused");
    Click(videoX, videoY);
    EXPECT_TRUE(WaitForState("playing"));
    Click(videoX, videoY);
    EXPECT_TRUE(WaitForState("paused"));

    // The menu's "播放" > "播放控制" > "转到...": the go-to dialog; its Cancel button closes it.
    Click(videoX, videoY, 3);
    Keys("Down Down Right Down Down Down Down Down Right Return");
    ASSERT_TRUE(run.WaitFor([&] { return !Window("转到").empty(); }, std::chrono::seconds(5)));
    const Rect gotoBox = Geometry(Window("转到"));
    Click(gotoBox.x + 347, gotoBox.y + 114);
    EXPECT_TRUE(run.WaitFor([&] { return Window("转到").empty(); }, std::chrono::seconds(5)));

    // "文件" > "属性...": the property dialog; its OK button closes it.
    Click(videoX, videoY, 3);
    Keys("Down Right Down Down Down Down Down Down Down Return");
    ASSERT_TRUE(run.WaitFor([&] { return !Window("属性").empty(); }, std::chrono::seconds(5)));
    const Rect propertyBox = Geometry(Window("属性"));
    Click(propertyBox.x + 478, propertyBox.y + 289);
    EXPECT_TRUE(run.WaitFor([&] { return Window("属性").empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(PlayState(), "paused");

    // Next, next, previous through the three entries.
    const auto [nextX, nextY] = inWindow(144, controls + 44);
    const auto [previousX, previousY] = inWindow(31, controls + 44);
    for (auto [x, y] : {std::pair(nextX, nextY), std::pair(nextX, nextY), std::pair(previousX, previousY)}) {
        const std::size_t opened = Lines(openedLog).size();
        Click(x, y);
        EXPECT_TRUE(run.WaitFor([&] { return Lines(openedLog).size() > opened; }, std::chrono::seconds(5)));
    }
    EXPECT_EQ(Lines(openedLog), (V{files[0], files[1], files[2], files[1]}));
    EXPECT_EQ(PlayState(), "playing");
}

// Moving the window by its title strip, resizing it by an edge, maximizing and restoring it, without a window
// manager to do any of it.
TEST_F(Routes, TheWindowMovesAndResizesWithoutAWindowManager) {
    run.Start({files[0]},
              {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb", "QUOREL_PLAY_STATE=" + stateLog,
               "QUOREL_POWER=fake", "QUOREL_SCREENSAVER=fake", "QUOREL_DISC_TRAY=fake"});
    ASSERT_TRUE(run.WaitFor([&] { return PlayState() == "playing"; })) << run.ErrorOutput();
    ASSERT_TRUE(FindMain());
    Pause(500);
    const Rect window = Main();
    auto drag = [&](int X0, int Y0, int Dx, int Dy) {
        std::string command =
            "xdotool mousemove " + std::to_string(X0) + " " + std::to_string(Y0) + " mousedown 1";
        for (int step = 1; step <= 4; ++step)
            command += " sleep 0.05 mousemove " + std::to_string(X0 + Dx * step / 4) + " " +
                       std::to_string(Y0 + Dy * step / 4);
        X(command + " sleep 0.05 mouseup 1");
        Pause();
    };
    // The title strip, beside the title text.
    drag(window.x + 300, window.y + 40, 80, 60);
    const Rect moved = Main();
    EXPECT_EQ(moved.width, window.width);
    EXPECT_GT(moved.x, window.x + 40);
    EXPECT_GT(moved.y, window.y + 30);
    // The right edge: wider by the pointer's travel; the bottom edge up past the smallest height: 350.
    drag(moved.x + moved.width - 3, moved.y + moved.height / 2, 60, 0);
    EXPECT_EQ(Main().width, moved.width + 60);
    drag(moved.x + 100, moved.y + moved.height - 2, 0, -(moved.height - 200));
    EXPECT_EQ(Main().height, 350);
    EXPECT_EQ(Main().y, moved.y);
    // The maximize button and a double click on the title strip maximize and restore it.
    const Rect sized = Main();
    Click(sized.x + sized.width - 35, sized.y + 10);
    EXPECT_EQ(Main(), (Rect{0, 0, 1280, 1024}));
    Click(1280 - 35, 10);
    EXPECT_EQ(Main(), sized);
    DoubleClick(sized.x + 300, sized.y + 40);
    EXPECT_EQ(Main(), (Rect{0, 0, 1280, 1024}));
    DoubleClick(300, 40);
    EXPECT_EQ(Main(), sized);
    // And the window still takes clicks: play/pause pauses.
    const Rect now = Main();
    Click(now.x + 70, now.y + now.height - 77 + 44);
    EXPECT_TRUE(WaitForState("paused")) << PlayState();
}

} // namespace
