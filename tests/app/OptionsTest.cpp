// The options dialog end to end: the built program under a virtual X server of its own, driven by real mouse
// input (xdotool). The dialog is opened by the Option button of the running player; what OK stores is read
// from the settings file, what the player does after it from the files it keeps for tests: the play state
// (QUOREL_PLAY_STATE), the media it opened (QUOREL_OPENED_MEDIA) and its message boxes (QUOREL_FAKE_LOG). The
// controls are found in the map of its windows (QUOREL_WINDOW_MAP).

#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/IniText.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowMap.h"
#include "tests/support/XvfbDisplay.h"

using testing_support::MappedControl;
using testing_support::ReadFile;

namespace {

using namespace std::chrono_literals;

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
        std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264AacLong),
                                   clip);
    }
    void Start() {
        testing_support::WriteFile(run.File("Ini/Default.ini"), testing_support::DefaultsWith({}));
        run.Start({clip}, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb",
                           "QUOREL_WINDOW_MAP=" + map.Path(), "QUOREL_PLAY_STATE=" + stateFile,
                           "QUOREL_OPENED_MEDIA=" + openedLog, "QUOREL_MESSAGE_BOXES=fake",
                           "QUOREL_FAKE_LOG=" + fakeLog, "XDG_CONFIG_HOME=" + run.File("config")});
    }
    std::map<std::string, std::string> PlayState() const {
        std::map<std::string, std::string> state;
        std::istringstream lines(ReadFile(stateFile));
        for (std::string line; std::getline(lines, line);)
            if (const auto at = line.find('='); at != std::string::npos)
                state[line.substr(0, at)] = line.substr(at + 1);
        return state;
    }
    std::string State(const std::string& Name) const { return PlayState()[Name]; }
    int Position() const {
        const std::string position = State("position");
        return position.empty() ? -1 : std::stoi(position);
    }
    MappedControl WaitFor(const std::string& Window, const std::string& Name) const {
        std::optional<MappedControl> c;
        EXPECT_TRUE(run.WaitFor([&] { return (c = map.Find(Window, Name)).has_value(); }))
            << Window << " " << Name << "\n"
            << run.ErrorOutput();
        return c.value_or(MappedControl{});
    }
    // One click, with a pause after it so that the next one is not taken for a double click.
    void Click(int X, int Y) const {
        ASSERT_TRUE(testing_support::ClickAt(display.Name(), X, Y));
        std::this_thread::sleep_for(500ms);
    }
    void Click(const MappedControl& C) const { Click(C.CentreX(), C.CentreY()); }
    int Opened() const {
        std::istringstream lines(ReadFile(openedLog));
        int count = 0;
        for (std::string line; std::getline(lines, line);)
            count += line == clip;
        return count;
    }
    std::string Diagnosis() const { return ReadFile(stateFile) + run.ErrorOutput(); }

    testing_support::XvfbDisplay display;
    testing_support::ProgramRun run;
    const std::string clip = run.File("clip.mp4");
    const std::string stateFile = run.File("state.txt");
    const std::string openedLog = run.File("opened.txt");
    const std::string fakeLog = run.File("fake.log");
    const testing_support::WindowMap map{run.File("windows.map")};
};

// Three clicks on the down arrow of "Forward once:" take the step from 5 to 2 seconds, and ticking ".wmv" on
// the File link page links it in the registry at once. The Renderer page then picks VMR-7 in place of the
// VMR-9 in use; OK stores the step and the renderer, tells the user that the player restarts, and the clip
// (paused before the dialog) is saved, stopped and opened again, and plays on from where it was.
TEST_F(OptionsDialog, OkStoresTheChangesAndAnotherRendererReopensTheClip) {
    Start();
    ASSERT_TRUE(run.WaitFor([&] { return State("playing") == "1" && Position() >= 2; })) << Diagnosis();
    ASSERT_EQ(Opened(), 1) << ReadFile(openedLog);
    // Paused, so that the clip does not end while the dialog is open.
    Click(WaitFor("QuorelMain_Form", "PlayPause_XI"));
    ASSERT_TRUE(run.WaitFor([&] { return State("paused") == "1"; })) << Diagnosis();
    const int pausedAt = Position();

    Click(WaitFor("QuorelMain_Form", "Option_XI"));
    ASSERT_TRUE(run.WaitFor([&] { return State("modal") == "选项"; })) << Diagnosis();
    const MappedControl arrows = WaitFor("Option_Form", "Forward_UD");
    for (int i = 0; i < 3; ++i)
        Click(arrows.CentreX(), arrows.y + arrows.height * 3 / 4);

    Click(WaitFor("Option_Form", "FileType_SB"));
    const MappedControl wmv = WaitFor("Option_Form", "Extension.wmv");
    Click(wmv.x + 6, wmv.CentreY());
    const std::string registry = run.File("config/TarvexDvd/registry");
    EXPECT_TRUE(run.WaitFor([&] {
        return ReadFile(registry).find("@=\"TarvexDVD.wmv\"") != std::string::npos;
    })) << ReadFile(registry)
        << run.ErrorOutput();

    Click(WaitFor("Option_Form", "Decoder_SB"));
    Click(WaitFor("Option_Form", "Vmr7_RB"));
    const std::string ini = run.File("Ini/Default.ini");
    EXPECT_NE(ReadFile(ini).find("QuickOnce=5\r\n"), std::string::npos) << "nothing stored before OK";
    EXPECT_NE(ReadFile(ini).find("RenderType=1009\r\n"), std::string::npos);
    Click(WaitFor("Option_Form", "OK_Btn"));

    ASSERT_TRUE(run.WaitFor([&] { return State("modal").empty(); })) << Diagnosis();
    EXPECT_NE(ReadFile(ini).find("QuickOnce=2\r\n"), std::string::npos) << ReadFile(ini);
    EXPECT_NE(ReadFile(ini).find("RenderType=1007\r\n"), std::string::npos) << ReadFile(ini);
    EXPECT_NE(
        ReadFile(fakeLog).find("MessageBox Information|40|Play the core has changed, will be the process "
                               "of restarting the player to make the changes take effect"),
        std::string::npos)
        << ReadFile(fakeLog);
    ASSERT_TRUE(run.WaitFor([&] { return Opened() == 2; })) << Diagnosis();
    EXPECT_TRUE(run.WaitFor([&] { return State("playing") == "1" && State("paused") == "0"; }))
        << Diagnosis();
    EXPECT_GE(Position(), pausedAt) << "from the stored position\n" << Diagnosis();
    EXPECT_NE(ReadFile(registry).find("@=\"TarvexDVD.wmv\""), std::string::npos) << "the link stays";
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

} // namespace
