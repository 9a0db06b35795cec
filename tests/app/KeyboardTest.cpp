// The built program under a virtual X server of its own, driven from the keyboard as a user would (xdotool):
// the shortcut keys of the main window, the boss key and the resume question. What the player does is read
// from the state file it keeps for tests (QUOREL_PLAY_STATE) and from the X server (which of its windows are
// shown).

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/IniText.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/XScreen.h"
#include "tests/support/XvfbDisplay.h"

using testing_support::ProgramRun;

namespace {

using namespace std::chrono_literals;

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
        std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264AacLong),
                                   clip);
    }
    void Start(std::initializer_list<std::pair<const char*, const char*>> Settings,
               const std::vector<std::string>& Arguments) {
        testing_support::WriteFile(run.File("Ini/Default.ini"), testing_support::DefaultsWith(Settings));
        run.Start(Arguments,
                  {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb", "QUOREL_PLAY_STATE=" + stateFile});
    }
    // What the player says it is doing.
    std::map<std::string, std::string> PlayState() const {
        std::map<std::string, std::string> state;
        std::istringstream lines(testing_support::ReadFile(stateFile));
        for (std::string line; std::getline(lines, line);)
            if (const auto at = line.find('='); at != std::string::npos)
                state[line.substr(0, at)] = line.substr(at + 1);
        return state;
    }
    static int Seconds(std::map<std::string, std::string>& State) {
        return State["position"].empty() ? -1 : std::stoi(State["position"]);
    }
    int Position() const {
        auto state = PlayState();
        return Seconds(state);
    }
    bool WaitForState(const std::function<bool(std::map<std::string, std::string>&)>& Condition,
                      std::chrono::milliseconds Timeout = 20s) const {
        return run.WaitFor(
            [&] {
                auto state = PlayState();
                return Condition(state);
            },
            Timeout);
    }
    bool Playing(std::map<std::string, std::string>& State) const {
        return State["playing"] == "1" && State["paused"] == "0";
    }
    void Keys(const std::string& Keys) const {
        const std::string command = "DISPLAY=" + display.Name() + " xdotool key " + Keys;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    // The windows of the program the X server shows.
    int ShownWindows() const {
        const std::string command =
            "DISPLAY=" + display.Name() + " xdotool search --onlyvisible --classname QuorelMain";
        std::unique_ptr<FILE, decltype(&::pclose)> out(::popen(command.c_str(), "r"), &::pclose);
        int count = 0;
        for (int c; out && (c = std::fgetc(out.get())) != EOF;)
            count += c == '\n';
        return count;
    }
    std::string Diagnosis() const { return testing_support::ReadFile(stateFile) + run.ErrorOutput(); }

    testing_support::XvfbDisplay display;
    ProgramRun run;
    const std::string clip = run.File("clip.mp4");
    const std::string stateFile = run.File("state.txt");
};

// The default keys reach their commands: Space pauses and resumes, Ctrl+Right jumps on by [Play] QuickOnce
// seconds, Enter enters full screen and leaves it again.
TEST_F(Keyboard, ShortcutKeysPauseJumpAndSwitchFullScreen) {
    Start({{"QuickOnce", "4"}}, {clip});
    ASSERT_TRUE(WaitForState([&](auto& s) { return Playing(s) && Seconds(s) >= 1; })) << Diagnosis();
    Keys("space");
    ASSERT_TRUE(WaitForState([&](auto& s) { return s["paused"] == "1"; })) << Diagnosis();
    const int pausedAt = Position();
    std::this_thread::sleep_for(500ms);
    ASSERT_EQ(Position(), pausedAt);
    // Paused, the position moves by the jump alone.
    Keys("ctrl+Right");
    EXPECT_TRUE(WaitForState([&](auto& s) { return Seconds(s) == pausedAt + 4; })) << Diagnosis();
    Keys("space");
    EXPECT_TRUE(WaitForState([&](auto& s) { return Playing(s) && Seconds(s) > pausedAt + 4; }))
        << Diagnosis();
    Keys("Return");
    EXPECT_TRUE(WaitForState([&](auto& s) { return s["fullscreen"] == "1"; })) << Diagnosis();
    Keys("Return");
    EXPECT_TRUE(WaitForState([&](auto& s) { return s["fullscreen"] == "0"; })) << Diagnosis();
    EXPECT_TRUE(WaitForState([&](auto& s) { return Playing(s); })) << Diagnosis();
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

TEST_F(Keyboard, BossKeyHidesEveryWindowAndTheNextPressShowsThemAgainAndResumes) {
    Start({}, {clip});
    ASSERT_TRUE(WaitForState([&](auto& s) { return Playing(s) && Seconds(s) >= 1; })) << Diagnosis();
    ASSERT_GE(ShownWindows(), 1);
    Keys("ctrl+F12");
    ASSERT_TRUE(WaitForState([&](auto& s) { return s["paused"] == "1"; })) << Diagnosis();
    EXPECT_TRUE(run.WaitFor([&] { return ShownWindows() == 0; }, 5s));
    const int hiddenAt = Position();
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(Position(), hiddenAt) << "paused while hidden";
    Keys("ctrl+F12");
    EXPECT_TRUE(run.WaitFor([&] { return ShownWindows() >= 1; }, 5s));
    EXPECT_TRUE(WaitForState([&](auto& s) { return Playing(s) && Seconds(s) > hiddenAt; })) << Diagnosis();
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

// Without a window manager nobody gives the keyboard back when a modal window closes: the window that opened
// it takes it again, so that the next key reaches the player. A dialog of the library (the go-to dialog,
// closed by its Cancel button) and a message box (closed by Enter).
TEST_F(Keyboard, AfterADialogOrABoxClosesTheKeysReachTheMainWindowAgain) {
    Start({}, {clip});
    ASSERT_TRUE(WaitForState([&](auto& s) { return Playing(s) && Seconds(s) >= 1; })) << Diagnosis();
    Keys("ctrl+g");
    ASSERT_TRUE(WaitForState([&](auto& s) { return s["modal"] == "转到..."; })) << Diagnosis();
    // The dialog is the window on top; its Cancel button lies at (310, 102) of it, 75 x 25.
    const QRect dialog = testing_support::MappedWindows(display.Name()).back();
    const std::string x = std::to_string(dialog.x() + 347), y = std::to_string(dialog.y() + 114);
    ASSERT_TRUE(testing_support::XdoTool(display.Name(), {"mousemove", x, y, "sleep", "0.2", "click", "1"}));
    ASSERT_TRUE(WaitForState([&](auto& s) { return s["modal"].empty(); })) << Diagnosis();
    Keys("space");
    EXPECT_TRUE(WaitForState([&](auto& s) { return s["paused"] == "1"; }, 5s)) << Diagnosis();

    // Stopped, the capture key has nothing to capture and says so in a box.
    Keys("ctrl+s");
    ASSERT_TRUE(WaitForState([&](auto& s) { return s["playing"] == "0"; })) << Diagnosis();
    Keys("F6");
    ASSERT_TRUE(WaitForState([&](auto& s) { return s["modal"] == "Information"; })) << Diagnosis();
    Keys("Return");
    ASSERT_TRUE(WaitForState([&](auto& s) { return s["modal"].empty(); })) << Diagnosis();
    Keys("space");
    EXPECT_TRUE(WaitForState([&](auto& s) { return Playing(s); }, 5s)) << Diagnosis();
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

// Stopped, the normal-play key plays the current file again, as Space does.
TEST_F(Keyboard, NormalPlayKeyPlaysTheStoppedFileAgain) {
    Start({}, {clip});
    ASSERT_TRUE(WaitForState([&](auto& s) { return Playing(s) && Seconds(s) >= 2; })) << Diagnosis();
    Keys("ctrl+s");
    ASSERT_TRUE(WaitForState([&](auto& s) { return s["playing"] == "0"; })) << Diagnosis();
    Keys("ctrl+r");
    EXPECT_TRUE(WaitForState([&](auto& s) { return Playing(s); }, 5s)) << Diagnosis();
    EXPECT_LE(Position(), 1) << "from the start";
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

// The last medium reopened with AutoResumePlay 2: the question comes up, and its first item (chosen with the
// keyboard) goes on from the stored position. The boss key works while the question has the keyboard.
TEST_F(Keyboard, ResumeQuestionAtTheReopenGoesOnFromTheStoredPosition) {
    Start({{"LastMediaFile", clip.c_str()},
           {"LastPos", "6"},
           {"AutoResumePlay", "2"},
           {"ReloadLast", "1"},
           {"LastPlayType", "1"}},
          {});
    ASSERT_TRUE(WaitForState([&](auto& s) { return s["modal"] == "自动重新播放"; })) << Diagnosis();
    // The boss key hides the question with the main window, and brings both back.
    const int shown = ShownWindows();
    ASSERT_GE(shown, 2);
    Keys("ctrl+F12");
    EXPECT_TRUE(run.WaitFor([&] { return ShownWindows() == 0; }, 5s));
    Keys("ctrl+F12");
    EXPECT_TRUE(run.WaitFor([&] { return ShownWindows() == shown; }, 5s));
    Keys("space");
    ASSERT_TRUE(WaitForState([&](auto& s) { return s["modal"].empty() && Playing(s); })) << Diagnosis();
    EXPECT_GE(Position(), 6) << Diagnosis();
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

} // namespace
