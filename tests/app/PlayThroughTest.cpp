// The built program playing a play list on its own under a virtual X server: a video, an audio file and a
// video, in each play mode, and the after-play exit. What it opens is read from the list the program keeps
// for tests (QUOREL_OPENED_MEDIA).

#include <algorithm>
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/AudioFixtures.h"
#include "tests/support/IniText.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/XvfbDisplay.h"

using testing_support::ProgramRun;
using testing_support::ReadFile;

namespace {

using V = std::vector<std::string>;

class PlayThrough : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
        const std::string video = run.File("first clip.mp4"), third = run.File("third clip.mp4");
        for (const auto& file : {video, third})
            std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264Aac),
                                       file);
        const std::string tone = run.File("tone.wav");
        ASSERT_TRUE(testing_support::MakeToneFile(tone, testing_support::AudioFormat::Wav, 1.0));
        files = {video, tone, third};
    }

    // Starts the program on the play list in PlayMode with the after-play action AfterPlay.
    void Start(const char* PlayMode, const char* AfterPlay) {
        testing_support::WriteFile(
            run.File("Ini/Default.ini"),
            testing_support::DefaultsWith({{"PlayMode", PlayMode}, {"AfterPlay", AfterPlay}}));
        run.Start(files, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb",
                          "QUOREL_OPENED_MEDIA=" + openedLog, "QUOREL_FAKE_LOG=" + fakeLog});
    }
    // The media opened so far, in order.
    V Opened() const {
        V opened;
        std::istringstream lines(ReadFile(openedLog));
        for (std::string line; std::getline(lines, line);)
            opened.push_back(line);
        return opened;
    }
    // Waits until Count media were opened; the clips take 2 s, the tone 1 s.
    bool WaitForOpens(std::size_t Count) const {
        return run.WaitFor([&] { return Opened().size() >= Count; }, std::chrono::seconds(60));
    }
    static V First(const V& Opened, std::size_t Count) {
        return V(Opened.begin(),
                 Opened.begin() + static_cast<std::ptrdiff_t>(std::min(Count, Opened.size())));
    }

    testing_support::XvfbDisplay display;
    ProgramRun run;
    V files;
    const std::string openedLog = run.File("opened.txt");
    const std::string fakeLog = run.File("fake.log");
};

// The last entry goes on with the first: the sequential mode never ends by itself.
TEST_F(PlayThrough, SequentialModePlaysTheEntriesInTurnAndGoesOnFromTheFirst) {
    Start("1", "0");
    ASSERT_TRUE(WaitForOpens(4)) << ::testing::PrintToString(Opened()) << run.ErrorOutput();
    EXPECT_EQ(First(Opened(), 4), (V{files[0], files[1], files[2], files[0]}));
    EXPECT_TRUE(run.Running());
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

TEST_F(PlayThrough, RepeatOnePlaysTheFirstEntryAgain) {
    Start("3", "0");
    ASSERT_TRUE(WaitForOpens(2)) << ::testing::PrintToString(Opened()) << run.ErrorOutput();
    EXPECT_EQ(First(Opened(), 2), (V{files[0], files[0]}));
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

TEST_F(PlayThrough, RandomModePlaysOnlyEntriesOfTheList) {
    Start("2", "0");
    ASSERT_TRUE(WaitForOpens(4)) << ::testing::PrintToString(Opened()) << run.ErrorOutput();
    for (const std::string& opened : Opened())
        EXPECT_NE(std::find(files.begin(), files.end(), opened), files.end()) << opened;
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

// With play mode none the medium that played is the last: at its end the after-play exit closes the program
// through the ordinary close, which stores what played.
TEST_F(PlayThrough, AfterPlayExitClosesTheProgramAfterTheLastMediumStoringItsState) {
    Start("0", "1");
    // Nobody closes it.
    ASSERT_TRUE(run.WaitFor([&] { return !run.Running(); }, std::chrono::seconds(60))) << run.ErrorOutput();
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    EXPECT_EQ(Opened(), V{files[0]});
    const std::string ini = ReadFile(run.File("Ini/Default.ini"));
    EXPECT_NE(ini.find("LastMediaFile=" + files[0] + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("LastPlayType=1\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("LastPos=2\r\n"), std::string::npos) << "the position the last tick saw" << ini;
    EXPECT_EQ(ReadFile(run.File("Project/PlayFileList")),
              files[0] + "===0\r\n" + files[1] + "===0\r\n" + files[2] + "===0\r\n");
    // Played and stopped: the screen saver was held off while the clip played and let go at its end.
    EXPECT_NE(ReadFile(fakeLog).find("ScreenSaver Inhibit\nScreenSaver UnInhibit\n"), std::string::npos)
        << ReadFile(fakeLog);
}

// A bare H.264 stream (no container: its length comes only as it plays) plays to its end like any file, and
// the list goes on to the next entry; taken as empty, it would stop the list where it stood.
TEST_F(PlayThrough, ABareStreamPlaysToItsEndAndTheListGoesOn) {
    const std::string bare = run.File("bare stream.h264");
    std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::H264Elementary), bare);
    files = {bare, files[0]};
    Start("1", "0");
    ASSERT_TRUE(WaitForOpens(2)) << ::testing::PrintToString(Opened()) << run.ErrorOutput();
    EXPECT_EQ(First(Opened(), 2), files);
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

} // namespace
