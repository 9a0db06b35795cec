// The options dialog end to end: the built program under a virtual X server of its own, driven by real mouse
// input (xdotool). The dialog is opened by the Option button of the running player; what OK stores is read
// from the settings file, what the player does after it from the files it keeps for tests: the play state
// (QUOREL_PLAY_STATE), the media it opened (QUOREL_OPENED_MEDIA) and its message boxes (QUOREL_FAKE_LOG). The
// controls are found in the map of its windows (QUOREL_WINDOW_MAP).

#include <csignal>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"
#include "tests/support/IniText.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowManagerRun.h"
#include "tests/support/WindowMap.h"
#include "tests/support/XdgHome.h"
#include "tests/support/XScreen.h"
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
    // The program's test hooks and its display, for the program started by the test or by the desktop.
    std::vector<std::string> Hooks() const {
        return {"DISPLAY=" + display.Name(),        "QT_QPA_PLATFORM=xcb",
                "QUOREL_WINDOW_MAP=" + map.Path(),  "QUOREL_PLAY_STATE=" + stateFile,
                "QUOREL_OPENED_MEDIA=" + openedLog, "QUOREL_MESSAGE_BOXES=fake",
                "QUOREL_FAKE_LOG=" + fakeLog};
    }
    void Start(std::vector<std::string> Arguments, std::vector<std::string> Environment) {
        testing_support::WriteFile(run.File("Ini/Default.ini"), testing_support::DefaultsWith({}));
        for (const std::string& hook : Hooks())
            Environment.push_back(hook);
        run.Start(Arguments, Environment);
    }
    void Start() { Start({clip}, {"XDG_CONFIG_HOME=" + run.File("config")}); }
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
    // A box of the File link page, scrolled into view as a user does: the mouse wheel over the page's list
    // until the box shows above the list's buttons.
    MappedControl ScrolledIntoView(const std::string& Name) const {
        const MappedControl buttons = WaitFor("Option_Form", "SelectAll_Btn");
        for (int turns = 0; turns < 40; ++turns) {
            const MappedControl box = WaitFor("Option_Form", Name);
            if (box.y + box.height < buttons.y - 8)
                return box;
            EXPECT_TRUE(
                testing_support::XdoTool(display.Name(), {"mousemove", std::to_string(buttons.x + 100),
                                                          std::to_string(buttons.y - 60), "click", "5"}));
            std::this_thread::sleep_for(250ms);
        }
        ADD_FAILURE() << Name << " does not scroll into view";
        return {};
    }
    int Opened(const std::string& File) const {
        std::istringstream lines(ReadFile(openedLog));
        int count = 0;
        for (std::string line; std::getline(lines, line);)
            count += line == File;
        return count;
    }
    int Opened() const { return Opened(clip); }
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

// The File link page on a desktop of the test's own, through the running program, without and with a window
// manager: ticking ".mkv" makes the player's desktop entry the default that xdg-mime answers, unticking gives
// back the default another program had (and mimeapps.list as it was), and a file manager's "open" of an .mkv
// file (GIO running the entry's Exec line for the file) starts the player with "/o" and the file, which
// plays.
struct DesktopCase {
    const char* name;
    bool windowManager;
};

class DesktopLinksEndToEnd : public OptionsDialog, public ::testing::WithParamInterface<DesktopCase> {};

TEST_P(DesktopLinksEndToEnd, TickingMkvMakesThePlayerOpenMkvFilesInTheDesktop) {
    std::optional<testing_support::WindowManagerRun> manager;
    if (GetParam().windowManager) {
        manager.emplace(display.Name());
        ASSERT_TRUE(manager->Running());
    }
    testing_support::XdgHome xdg;
    xdg.WriteOtherEntry("other.desktop", "/bin/true", "video/x-matroska;");
    const std::string mimeapps = xdg.Config() + "/mimeapps.list";
    const std::string before = "# mine\n[Default Applications]\nvideo/x-matroska=other.desktop\n";
    testing_support::WriteFile(mimeapps, before);
    std::vector<std::string> environment = xdg.Environment();
    environment.emplace_back("QUOREL_DESKTOP_LINKS=");
    Start({}, environment);

    Click(WaitFor("QuorelMain_Form", "Option_XI"));
    ASSERT_TRUE(run.WaitFor([&] { return State("modal") == "选项"; })) << Diagnosis();
    Click(WaitFor("Option_Form", "FileType_SB"));
    const MappedControl mkv = ScrolledIntoView("Extension.mkv");
    Click(mkv.x + 6, mkv.CentreY());
    EXPECT_TRUE(run.WaitFor([&] { return xdg.QueryDefault("video/x-matroska") == "tarvexdvd.desktop"; }))
        << xdg.QueryDefault("video/x-matroska") << "\n"
        << ReadFile(mimeapps) << run.ErrorOutput();
    const std::string entry = xdg.Applications() + "/tarvexdvd.desktop";
    EXPECT_EQ(xdg.ValidateEntry(entry), "");
    EXPECT_NE(ReadFile(entry).find("Exec=" + run.File("QuorelMain") + " /o %f\n"), std::string::npos)
        << ReadFile(entry);

    Click(mkv.x + 6, mkv.CentreY());
    EXPECT_TRUE(run.WaitFor([&] { return xdg.QueryDefault("video/x-matroska") == "other.desktop"; }))
        << ReadFile(mimeapps);
    EXPECT_TRUE(run.WaitFor([&] { return ReadFile(mimeapps) == before; })) << ReadFile(mimeapps);

    Click(mkv.x + 6, mkv.CentreY());
    EXPECT_TRUE(run.WaitFor([&] { return xdg.QueryDefault("video/x-matroska") == "tarvexdvd.desktop"; }));
    Click(WaitFor("Option_Form", "OK_Btn"));
    ASSERT_TRUE(run.WaitFor([&] { return State("modal").empty(); })) << Diagnosis();
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    EXPECT_EQ(ReadFile(fakeLog).find("MessageBox"), std::string::npos) << ReadFile(fakeLog);

    const std::string film = xdg.Home() + "/my film.mkv";
    std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::MkvVp8Vorbis), film);
    std::filesystem::remove(stateFile);
    std::string error;
    const pid_t player = testing_support::OpenWithDesktopEntry(entry, film, Hooks(), error);
    ASSERT_GT(player, 0) << error;
    EXPECT_TRUE(run.WaitFor([&] { return Opened(film) == 1 && State("playing") == "1" && Position() >= 1; }))
        << ReadFile(openedLog) << ReadFile(stateFile);
    ::kill(player, SIGTERM);
    int status = 0;
    EXPECT_EQ(::waitpid(player, &status, 0), player);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

INSTANTIATE_TEST_SUITE_P(Desktops, DesktopLinksEndToEnd,
                         ::testing::Values(DesktopCase{"WithoutAWindowManager", false},
                                           DesktopCase{"WithAWindowManager", true}),
                         testing_support::CaseName());

} // namespace
