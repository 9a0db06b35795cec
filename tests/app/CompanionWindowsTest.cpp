// The companion windows end to end: the built program under a virtual X server, driven by real mouse input
// (xdotool), its windows read back from the map the program writes for tests (QUOREL_WINDOW_MAP).

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <thread>

#include <QImage>

#include <gtest/gtest.h>

#include "core/Settings.h"
#include "tests/support/CaptureFixtures.h"
#include "tests/support/IniText.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowMap.h"
#include "tests/support/XScreen.h"
#include "tests/support/XvfbDisplay.h"

using testing_support::ProgramRun;
using testing_support::ReadFile;

namespace {

using V = std::vector<std::string>;

using Control = testing_support::MappedControl;

class CompanionWindows : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start"; }

    void Start(const V& Files, std::initializer_list<std::pair<const char*, const char*>> Changes) {
        testing_support::WriteFile(run.File("Ini/Default.ini"), testing_support::DefaultsWith(Changes));
        run.Start(Files, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb", "QUOREL_WINDOW_MAP=" + mapFile,
                          "QUOREL_OPENED_MEDIA=" + openedLog, "QUOREL_MESSAGE_BOXES=fake",
                          "QUOREL_FAKE_LOG=" + fakeLog});
    }
    std::optional<Control> Find(const std::string& Window, const std::string& Name) const {
        return map.Find(Window, Name);
    }
    std::vector<Control> All(const std::string& Window, const std::string& Name) const {
        return map.All(Window, Name);
    }
    Control WaitFor(const std::string& Window, const std::string& Name) const {
        std::optional<Control> c;
        EXPECT_TRUE(run.WaitFor([&] { return (c = Find(Window, Name)).has_value(); }))
            << Window << " " << Name;
        return c.value_or(Control{});
    }
    // Where the control stays once the window has been laid out for the file that opened.
    Control Settled(const std::string& Window, const std::string& Name) const {
        const std::optional<Control> c = map.FindSettled(Window, Name);
        EXPECT_TRUE(c.has_value()) << Window << " " << Name;
        return c.value_or(Control{});
    }
    // Mouse input as the user gives it: Clicks left clicks (2: a double click) at the control's centre.
    void Click(const Control& C, int Clicks = 1) const {
        ASSERT_TRUE(testing_support::ClickAt(display.Name(), C.CentreX(), C.CentreY(), Clicks));
    }
    V Opened() const {
        V opened;
        std::istringstream lines(ReadFile(openedLog));
        for (std::string line; std::getline(lines, line);)
            opened.push_back(line);
        return opened;
    }

    testing_support::XvfbDisplay display;
    ProgramRun run;
    const std::string mapFile = run.File("windows.map");
    const testing_support::WindowMap map{mapFile};
    const std::string openedLog = run.File("opened.txt");
    const std::string fakeLog = run.File("fake.log");
};

// Three files on the command line; "播放列表" shows them beside the main window; a double click on the third
// row plays it; Delete on the first leaves two rows, and the list stored at the close holds two entries.
TEST_F(CompanionWindows, ThePlayListWindowShowsPlaysAndDeletes) {
    V files;
    for (const char* name : {"one.mp4", "two.mp4", "three.mp4"}) {
        files.push_back(run.File(name));
        std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264Aac),
                                   files.back());
    }
    Start(files, {{"PlayMode", "0"}, {"AfterPlay", "0"}});
    ASSERT_TRUE(run.WaitFor([&] { return Opened().size() == 1; })) << run.ErrorOutput();
    const Control label = Settled("QuorelMain_Form", "PL_L");
    EXPECT_EQ(label.text, "播放列表");
    Click(label);
    ASSERT_TRUE(run.WaitFor([&] { return All("List_Form", "Label").size() == 3; })) << run.ErrorOutput();
    V texts;
    for (const Control& row : All("List_Form", "Label"))
        texts.push_back(row.text);
    EXPECT_EQ(texts, (V{"1. one.mp4", "2. two.mp4", "3. three.mp4"}));
    const Control main = *Find("QuorelMain_Form", "QuorelMain_Form");
    const Control list = *Find("List_Form", "List_Form");
    EXPECT_EQ(list.x + list.width, main.x) << "against the main window's left side";
    EXPECT_EQ(list.y, main.y);
    EXPECT_EQ(list.height, main.height);

    Click(All("List_Form", "Label")[2], 2);
    ASSERT_TRUE(run.WaitFor([&] { return Opened().size() == 2; })) << run.ErrorOutput();
    EXPECT_EQ(Opened().back(), files[2]);

    Click(All("List_Form", "Label")[0]);
    Click(*Find("List_Form", "DelPlItem_XI"));
    ASSERT_TRUE(run.WaitFor([&] { return All("List_Form", "Label").size() == 2; })) << run.ErrorOutput();
    texts.clear();
    for (const Control& row : All("List_Form", "Label"))
        texts.push_back(row.text);
    EXPECT_EQ(texts, (V{"1. two.mp4", "2. three.mp4"}));
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    EXPECT_EQ(ReadFile(run.File("Project/PlayFileList")), files[1] + "===0\r\n" + files[2] + "===0\r\n");
}

// A clip plays; two presses of the capture button give two thumbnails of different frames; "Save all" with
// AskSaveOption 0 and the JPEG type writes two JPEG files into the capture folder.
TEST_F(CompanionWindows, TwoCapturesSavedAsJpeg) {
    const std::string clip = run.File("moving.mp4");
    std::filesystem::copy_file(testing_support::MovingPictureClip(), clip);
    Start({clip},
          {{"PlayMode", "0"}, {"AfterPlay", "0"}, {"AskSaveOption", "0"}, {"DefaultImageType", ".jpg"}});
    ASSERT_TRUE(run.WaitFor([&] { return Opened().size() == 1; })) << run.ErrorOutput();
    const Control capture = Settled("QuorelMain_Form", "Capture_XI");
    Click(capture);
    ASSERT_TRUE(run.WaitFor([&] { return All("Capture_Form", "Image").size() == 1; })) << run.ErrorOutput();
    // Two presses, not a double click (which clicks once).
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    Click(capture);
    ASSERT_TRUE(run.WaitFor([&] { return All("Capture_Form", "Image").size() == 2; })) << run.ErrorOutput();
    const Control main = *Find("QuorelMain_Form", "QuorelMain_Form");
    const Control window = *Find("Capture_Form", "Capture_Form");
    EXPECT_EQ(window.x, main.x + main.width) << "against the main window's right side";

    Click(*Find("Capture_Form", "SaveAll_XI"));
    auto jpegs = [&] {
        V found;
        for (const auto& entry : std::filesystem::directory_iterator(run.File("Temp")))
            if (entry.path().extension() == ".jpg")
                found.push_back(entry.path().string());
        std::sort(found.begin(), found.end());
        return found;
    };
    ASSERT_TRUE(run.WaitFor([&] { return jpegs().size() == 2; })) << run.ErrorOutput();
    ASSERT_TRUE(run.WaitFor([&] {
        return ReadFile(fakeLog).find("|Photo Save the success of!") != std::string::npos;
    })) << ReadFile(fakeLog);
    const QImage first(QString::fromStdString(jpegs()[0]), "JPEG");
    const QImage second(QString::fromStdString(jpegs()[1]), "JPEG");
    ASSERT_EQ(first.size(), QSize(320, 240));
    ASSERT_EQ(second.size(), QSize(320, 240));
    long difference = 0;
    for (int y = 0; y < 240; y += 8)
        for (int x = 0; x < 320; x += 8)
            difference += std::abs(qGray(first.pixel(x, y)) - qGray(second.pixel(x, y)));
    EXPECT_GT(difference, 40 * 30 * 10) << "two different frames";
    for (const std::string& jpeg : jpegs())
        EXPECT_FALSE(std::filesystem::exists(jpeg.substr(0, jpeg.size() - 4) + ".bmp"));
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    EXPECT_EQ(ReadFile(fakeLog).find("not saved"), std::string::npos) << "all were saved: no question";
}

// "截屏..." and its key with no capture-list window yet: the window opens with the frame in it, and the next
// press adds the next frame beside it (each would otherwise write over the last, unseen).
TEST_F(CompanionWindows, TheCaptureKeyOpensTheCaptureListWithEachFrame) {
    const std::string clip = run.File("moving.mp4");
    std::filesystem::copy_file(testing_support::MovingPictureClip(), clip);
    Start({clip}, {{"PlayMode", "0"}, {"AfterPlay", "0"}});
    ASSERT_TRUE(run.WaitFor([&] { return Opened().size() == 1; })) << run.ErrorOutput();
    Settled("QuorelMain_Form", "Capture_XI");
    ASSERT_TRUE(testing_support::XdoTool(display.Name(), {"key", "F6"}));
    ASSERT_TRUE(run.WaitFor([&] { return All("Capture_Form", "Image").size() == 1; })) << run.ErrorOutput();
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    ASSERT_TRUE(testing_support::XdoTool(display.Name(), {"key", "F6"}));
    ASSERT_TRUE(run.WaitFor([&] { return All("Capture_Form", "Image").size() == 2; })) << run.ErrorOutput();
    EXPECT_EQ(Find("Capture_Form", "Capture_Form")->x, Find("QuorelMain_Form", "QuorelMain_Form")->x +
                                                           Find("QuorelMain_Form", "QuorelMain_Form")->width);
    // Both are the user's: the close asks about them (a close by the session answers at once, on the error
    // output).
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    EXPECT_NE(run.ErrorOutput().find("not saved"), std::string::npos) << run.ErrorOutput();
}

} // namespace
