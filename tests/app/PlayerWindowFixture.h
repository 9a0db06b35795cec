#pragma once
// The built program on a virtual X server of its own, with or without a window manager, driven as a user
// drives it (keys and clicks through xdotool) and read back from what it keeps for tests: the map of its
// windows (QUOREL_WINDOW_MAP) and what it plays (QUOREL_PLAY_STATE).

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/IniText.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowManagerRun.h"
#include "tests/support/WindowMap.h"
#include "tests/support/XScreen.h"
#include "tests/support/XvfbDisplay.h"

namespace app_testing {

using Control = testing_support::MappedControl;
using PlayState = std::map<std::string, std::string>;
using Settings = std::initializer_list<std::pair<const char*, const char*>>;

class PlayerWindow : public ::testing::Test {
protected:
    // With WithWindowManager, openbox runs on the display before the program starts.
    explicit PlayerWindow(bool WithWindowManager = false) {
        if (WithWindowManager)
            windowManager = std::make_unique<testing_support::WindowManagerRun>(display.Name());
    }
    void SetUp() override {
        ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
        if (windowManager) {
            ASSERT_TRUE(windowManager->Running()) << "openbox did not start (scripts/setup installs it)";
        }
    }
    void TearDown() override {
        if (run.Running()) {
            EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
        }
    }

    void Start(const std::vector<std::string>& Files, Settings Changes = {},
               const std::vector<std::string>& MoreEnvironment = {}) {
        testing_support::WriteFile(run.File("Ini/Default.ini"), testing_support::DefaultsWith(Changes));
        std::vector<std::string> environment = {
            "DISPLAY=" + display.Name(),      "QT_QPA_PLATFORM=xcb", "QUOREL_WINDOW_MAP=" + mapFile,
            "QUOREL_PLAY_STATE=" + stateFile, "QUOREL_POWER=fake",   "QUOREL_SCREENSAVER=fake",
            "QUOREL_DISC_TRAY=fake",          "QUOREL_HOTKEY=fake"};
        environment.insert(environment.end(), MoreEnvironment.begin(), MoreEnvironment.end());
        run.Start(Files, environment);
    }

    // What the player says it is doing ("playing", "paused", "position", "fullscreen", "modal").
    PlayState State() const {
        PlayState state;
        std::istringstream lines(testing_support::ReadFile(stateFile));
        for (std::string line; std::getline(lines, line);)
            if (const auto at = line.find('='); at != std::string::npos)
                state[line.substr(0, at)] = line.substr(at + 1);
        return state;
    }
    static bool Playing(PlayState& S) { return S["playing"] == "1" && S["paused"] == "0"; }
    static int Seconds(PlayState& S) { return S["position"].empty() ? -1 : std::stoi(S["position"]); }
    bool WaitForState(const std::function<bool(PlayState&)>& Condition,
                      std::chrono::milliseconds Timeout = std::chrono::seconds(20)) const {
        return run.WaitFor(
            [&] {
                PlayState state = State();
                return Condition(state);
            },
            Timeout);
    }
    std::string Diagnosis() const { return testing_support::ReadFile(stateFile) + run.ErrorOutput(); }

    // Keys as xdotool names them ("Return", "ctrl+r"), one after the other.
    void Keys(const std::vector<std::string>& Names) const {
        std::vector<std::string> arguments = {"key", "--delay", "60"};
        arguments.insert(arguments.end(), Names.begin(), Names.end());
        ASSERT_TRUE(testing_support::XdoTool(display.Name(), arguments));
    }
    void ClickAt(int X, int Y, int Clicks = 1) const {
        ASSERT_TRUE(testing_support::ClickAt(display.Name(), X, Y, Clicks));
    }
    void Click(const Control& C, int Clicks = 1) const { ClickAt(C.CentreX(), C.CentreY(), Clicks); }
    void PointAt(int X, int Y) const {
        ASSERT_TRUE(
            testing_support::XdoTool(display.Name(), {"mousemove", std::to_string(X), std::to_string(Y)}));
    }

    std::optional<Control> Find(const std::string& Window, const std::string& Name) const {
        return map.Find(Window, Name);
    }
    // Where the control stays once the window has been laid out (after the open, after a change of size).
    Control Settled(const std::string& Window, const std::string& Name) const {
        const std::optional<Control> c = map.FindSettled(Window, Name);
        EXPECT_TRUE(c.has_value()) << Window << " " << Name;
        return c.value_or(Control{});
    }
    // The main window's rectangle once it holds still.
    Control MainRect() const { return Settled("QuorelMain_Form", "QuorelMain_Form"); }

    testing_support::XvfbDisplay display;
    std::unique_ptr<testing_support::WindowManagerRun> windowManager;
    testing_support::ProgramRun run;
    const std::string mapFile = run.File("windows.map");
    const std::string stateFile = run.File("state.txt");
    const testing_support::WindowMap map{mapFile};
};

} // namespace app_testing
