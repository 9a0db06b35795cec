// The main window and its companion windows under a window manager (openbox on the virtual X server), as on
// a desktop: full screen in and out, moving by the title strip, maximizing and restoring, and the play-list
// and capture-list windows beside the main window and above it. The window manager places the windows here,
// asynchronously: every check waits for the place it expects.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <QImage>

#include <gtest/gtest.h>

#include "tests/app/PlayerWindowFixture.h"
#include "tests/support/MediaFixtures.h"

namespace {

using namespace app_testing;

bool SameRect(const Control& A, const Control& B) {
    return A.x == B.x && A.y == B.y && A.width == B.width && A.height == B.height;
}

std::string RectText(const Control& C) {
    return std::to_string(C.width) + "x" + std::to_string(C.height) + "+" + std::to_string(C.x) + "+" +
           std::to_string(C.y);
}

class WithWindowManager : public PlayerWindow {
protected:
    WithWindowManager() : PlayerWindow(true) {}
    void SetUp() override {
        PlayerWindow::SetUp();
        std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264AacLong),
                                   clip);
    }
    // Waits until the main window stands at Wanted (as the map shows it); its last place when it never does.
    Control WaitForMain(const Control& Wanted) const {
        std::optional<Control> now;
        run.WaitFor([&] {
            now = Find("QuorelMain_Form", "QuorelMain_Form");
            return now && SameRect(*now, Wanted);
        });
        return now.value_or(Control{});
    }
    Control Screen() const {
        Control screen;
        screen.width = 1280;
        screen.height = 1024;
        return screen;
    }
    // Presses the left button at (X, Y), moves the pointer by (Dx, Dy) in steps and releases it.
    void Drag(int X, int Y, int Dx, int Dy) const {
        std::vector<std::string> arguments = {"mousemove", std::to_string(X), std::to_string(Y), "mousedown",
                                              "1"};
        for (int step = 1; step <= 6; ++step)
            for (const std::string& a :
                 {std::string("sleep"), std::string("0.05"), std::string("mousemove"),
                  std::to_string(X + Dx * step / 6), std::to_string(Y + Dy * step / 6)})
                arguments.push_back(a);
        for (const char* a : {"sleep", "0.1", "mouseup", "1"})
            arguments.emplace_back(a);
        ASSERT_TRUE(testing_support::XdoTool(display.Name(), arguments));
    }

    const std::string clip = run.File("clip.mp4");
};

// Full screen covers the whole screen and gives the window back as it was, by key and by double click.
TEST_F(WithWindowManager, FullScreenInAndOut) {
    Start({clip});
    ASSERT_TRUE(WaitForState([](PlayState& s) { return Playing(s); })) << Diagnosis();
    const Control window = MainRect();
    const Control video = Settled("QuorelMain_Form", "Video_P");
    for (const char* way : {"keys", "double click"}) {
        if (std::string(way) == "keys")
            Keys({"Return"});
        else
            ClickAt(video.CentreX(), video.CentreY(), 2);
        ASSERT_TRUE(WaitForState([](PlayState& s) { return s["fullscreen"] == "1"; })) << way;
        EXPECT_TRUE(SameRect(WaitForMain(Screen()), Screen())) << way;
        if (std::string(way) == "keys")
            Keys({"Escape"});
        else
            ClickAt(640, 512, 2);
        ASSERT_TRUE(WaitForState([](PlayState& s) { return s["fullscreen"] == "0"; })) << way;
        EXPECT_EQ(RectText(WaitForMain(window)), RectText(window)) << way;
        const Control bottom = Settled("QuorelMain_Form", "Bottom_P");
        EXPECT_EQ(bottom.y + bottom.height, Settled("QuorelMain_Form", "Ctrl_P").y) << way;
        EXPECT_EQ(RectText(Settled("QuorelMain_Form", "Video_P")), RectText(video)) << way;
    }
    EXPECT_EQ(State()["playing"], "1");
}

// The title strip moves the window with the pointer; the maximize button and a double click on the title
// strip maximize it and restore it to the place it had.
TEST_F(WithWindowManager, TheTitleStripMovesAndMaximizeRestores) {
    Start({clip});
    ASSERT_TRUE(WaitForState([](PlayState& s) { return Playing(s); })) << Diagnosis();
    const Control window = MainRect();
    Drag(window.x + 300, window.y + 14, -120, 90);
    ASSERT_TRUE(run.WaitFor([&] {
        const std::optional<Control> now = Find("QuorelMain_Form", "QuorelMain_Form");
        return now && now->x < window.x - 60 && now->y > window.y + 40;
    })) << RectText(*Find("QuorelMain_Form", "QuorelMain_Form"));
    const Control moved = MainRect();
    EXPECT_EQ(moved.width, window.width);
    EXPECT_EQ(moved.height, window.height);

    const Control maximize = Settled("QuorelMain_Form", "Max_xi");
    Click(maximize);
    EXPECT_TRUE(SameRect(WaitForMain(Screen()), Screen()));
    Click(Settled("QuorelMain_Form", "Max_xi"));
    EXPECT_EQ(RectText(WaitForMain(moved)), RectText(moved));
    ClickAt(moved.x + 300, moved.y + 14, 2);
    EXPECT_TRUE(SameRect(WaitForMain(Screen()), Screen()));
    ClickAt(300, 14, 2);
    EXPECT_EQ(RectText(WaitForMain(moved)), RectText(moved));
    // And the window takes keys still.
    Keys({"space"});
    EXPECT_TRUE(WaitForState([](PlayState& s) { return s["paused"] == "1"; })) << Diagnosis();
}

// "播放列表" and "截屏列表" open their windows beside the main window. With the main window on top of the
// others
// ("一直") and standing near the screen's left edge, the play list opens over it and stays above it when the
// main window is clicked: a companion window is on top beside a main window that is.
TEST_F(WithWindowManager, CompanionWindowsStandBesideTheMainWindowAndAboveIt) {
    Start({clip}, {{"StayOnTop", "1"}});
    ASSERT_TRUE(WaitForState([](PlayState& s) { return Playing(s); })) << Diagnosis();
    const Control window = MainRect();
    Click(Settled("QuorelMain_Form", "CL_L"));
    const Control captures = Settled("Capture_Form", "Capture_Form");
    EXPECT_EQ(captures.x, window.x + window.width);
    EXPECT_EQ(captures.y, window.y);
    Click(Settled("QuorelMain_Form", "PL_L"));
    const Control list = Settled("List_Form", "List_Form");
    EXPECT_EQ(list.x + list.width, window.x);
    EXPECT_EQ(list.y, window.y);
    // Hidden by their close buttons, then the main window near the left edge: the list opens at its fixed
    // place, over the main window.
    Click(Settled("List_Form", "Close_xi"));
    ASSERT_TRUE(run.WaitFor([&] { return !Find("List_Form", "List_Form"); }));
    Drag(window.x + 300, window.y + 14, 60 - window.x, 0);
    ASSERT_TRUE(run.WaitFor([&] {
        const std::optional<Control> now = Find("QuorelMain_Form", "QuorelMain_Form");
        return now && now->x < 200;
    }));
    const Control main = MainRect();
    Click(Settled("QuorelMain_Form", "PL_L"));
    const Control over = Settled("List_Form", "List_Form");
    ASSERT_LT(over.x + over.width, main.x + main.width);
    ASSERT_GT(over.x + over.width, main.x) << "the list stands over the main window";
    // A click on the main window's picture: the list stays above it.
    const int x = (main.x + over.x + over.width) / 2, y = main.y + 150;
    ClickAt(main.x + main.width - 60, y);
    ASSERT_TRUE(run.WaitFor([&] {
        const std::vector<QRect> stacked = testing_support::StackedWindows(display.Name());
        const QRect listRect(over.x, over.y, over.width, over.height);
        const QRect mainRect(main.x, main.y, main.width, main.height);
        const auto at = [&](const QRect& R) { return std::find(stacked.begin(), stacked.end(), R); };
        return at(listRect) != stacked.end() && at(mainRect) != stacked.end() && at(listRect) > at(mainRect);
    })) << "the play list is stacked above the main window";
    // What the screen shows there: the list's black rows, not the picture.
    const QImage shown = testing_support::GrabScreen(display.Name(), QRect(x, y, 1, 1));
    ASSERT_FALSE(shown.isNull());
    EXPECT_LT(qGray(shown.pixel(0, 0)), 30) << "a pixel of the play list, not of the picture";
}

} // namespace
