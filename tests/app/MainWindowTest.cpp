// The main window end to end without a window manager: a clip that ends in full screen and each way back to
// the window; the time text after a seek while paused. The window's layout is read back from the map the
// program writes for tests.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/PlayerWindowFixture.h"
#include "tests/support/MediaFixtures.h"

namespace {

using namespace app_testing;

// The frame panels of the main window, in the order the layout stacks them from the top.
const char* const kFramePanels[] = {"Top_P", "Left_P", "Right_P", "Video_P", "Bottom_P", "Ctrl_P"};

class MainWindow : public PlayerWindow {
protected:
    void SetUp() override {
        PlayerWindow::SetUp();
        std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264AacLong),
                                   clip);
    }
    // The frame as the map shows it: each panel's rectangle on the screen.
    std::vector<Control> Frame() const {
        std::vector<Control> panels;
        for (const char* name : kFramePanels)
            panels.push_back(Find("QuorelMain_Form", name).value_or(Control{}));
        return panels;
    }
    static std::string Text(const std::vector<Control>& Panels) {
        std::string text;
        for (const Control& p : Panels)
            text += p.name + " " + std::to_string(p.x) + "," + std::to_string(p.y) + " " +
                    std::to_string(p.width) + "x" + std::to_string(p.height) + "; ";
        return text;
    }

    const std::string clip = run.File("clip.mp4");
};

struct WayOut {
    const char* name;
    // Plays the clip again (Space) before leaving, as a user who wants to see it once more does.
    bool playAgain;
};

class LeavingFullScreen : public MainWindow, public ::testing::WithParamInterface<WayOut> {
protected:
    void Leave(const std::string& Way) {
        if (Way == "Enter") {
            Keys({"Return"});
        } else if (Way == "Escape") {
            Keys({"Escape"});
        } else if (Way == "DoubleClick") {
            ClickAt(640, 400, 2);
        } else if (Way == "MenuItem") {
            // The right click on the picture opens the main menu; "视图" is the second item from its end
            // (the play-list menu is hidden in full screen), "全屏" the first of its sub-menu.
            PointAt(640, 400);
            ASSERT_TRUE(testing_support::XdoTool(display.Name(), {"click", "3"}));
            Keys({"Up", "Up", "Right", "Return"});
        } else if (Way == "Button") {
            // The bars show while the pointer is near the screen's bottom edge; the full-screen button is the
            // second from the right of the control bar.
            PointAt(640, 500);
            PointAt(640, 1024 - 40);
            const std::optional<Control> button = [&] {
                std::optional<Control> b;
                run.WaitFor([&] { return (b = Find("QuorelMain_Form", "maxmin_xi")).has_value(); });
                return b;
            }();
            ASSERT_TRUE(button.has_value()) << "the control bar did not show";
            Click(*button);
        }
    }
};

// The clip ends in full screen; each way out brings the window back with the frame as it was (the status
// strip directly above the control bar) and at the size and place it had.
TEST_P(LeavingFullScreen, AfterTheClipEndedTheWindowComesBackAsItWas) {
    Start({clip}, {{"QuickOnce", "8"}});
    ASSERT_TRUE(WaitForState([](PlayState& s) { return Playing(s); })) << Diagnosis();
    const Control window = MainRect();
    const std::vector<Control> frame = Frame();
    ASSERT_EQ(frame[4].y + frame[4].height, frame[5].y) << Text(frame);

    Keys({"Return"});
    ASSERT_TRUE(WaitForState([](PlayState& s) { return s["fullscreen"] == "1"; })) << Diagnosis();
    EXPECT_EQ(MainRect().width, 1280);
    // On to the last seconds, then the end.
    Keys({"ctrl+Right"});
    ASSERT_TRUE(WaitForState([](PlayState& s) { return s["playing"] == "0"; })) << Diagnosis();
    EXPECT_EQ(State()["fullscreen"], "1");
    if (GetParam().playAgain) {
        Keys({"space"});
        ASSERT_TRUE(WaitForState([](PlayState& s) { return Playing(s); })) << Diagnosis();
        EXPECT_EQ(State()["fullscreen"], "1");
    }

    Leave(GetParam().name);
    ASSERT_TRUE(WaitForState([](PlayState& s) { return s["fullscreen"] == "0"; })) << Diagnosis();
    const Control back = MainRect();
    EXPECT_EQ(std::pair(back.x, back.y), std::pair(window.x, window.y));
    EXPECT_EQ(std::pair(back.width, back.height), std::pair(window.width, window.height));
    EXPECT_EQ(Text(Frame()), Text(frame));
}

INSTANTIATE_TEST_SUITE_P(Ways, LeavingFullScreen,
                         ::testing::Values(WayOut{"Enter", false}, WayOut{"Escape", false},
                                           WayOut{"DoubleClick", false}, WayOut{"MenuItem", false},
                                           WayOut{"Button", false}, WayOut{"Enter", true}),
                         [](const auto& Info) {
                             return std::string(Info.param.name) +
                                    (Info.param.playAgain ? "AfterPlayingAgain" : "");
                         });

// Paused, a click on the position strip moves the picture and the time text shows where it went; nothing
// ticks while paused to show it later.
TEST_F(MainWindow, PausedASeekByThePositionStripShowsItsTimeAtOnce) {
    Start({clip});
    ASSERT_TRUE(WaitForState([](PlayState& s) { return Playing(s) && Seconds(s) >= 1; })) << Diagnosis();
    Keys({"space"});
    ASSERT_TRUE(WaitForState([](PlayState& s) { return s["paused"] == "1"; })) << Diagnosis();
    const Control strip = Settled("QuorelMain_Form", "VideoPro_XI");
    ClickAt(strip.x + strip.width * 3 / 4, strip.CentreY());
    ASSERT_TRUE(WaitForState([](PlayState& s) { return Seconds(s) >= 6; })) << Diagnosis();
    PlayState state = State();
    EXPECT_EQ(state["paused"], "1");
    const std::string expected = "0:00:0" + std::to_string(Seconds(state)) + " / 0:00:10";
    EXPECT_TRUE(run.WaitFor(
        [&] {
            const std::optional<Control> time = Find("QuorelMain_Form", "Time_L");
            return time && time->text == expected;
        },
        std::chrono::seconds(5)))
        << expected << " / " << Find("QuorelMain_Form", "Time_L").value_or(Control{}).text;
}

} // namespace
