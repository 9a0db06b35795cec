// The built program playing a play list to its end on its own.

#include <filesystem>

#include <gtest/gtest.h>

#include "core/Settings.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"

using testing_support::ProgramRun;
using testing_support::ReadFile;

namespace {

// The default settings with each Key=Value of Changes.
std::string Settings(std::initializer_list<std::pair<const char*, const char*>> Changes) {
    std::string text = DefaultIniText();
    for (const auto& [key, value] : Changes) {
        const std::string from = std::string("\r\n") + key + "=";
        const auto at = text.find(from);
        const auto end = text.find("\r\n", at + 2);
        text.replace(at + 2, end - at - 2, std::string(key) + "=" + value);
    }
    return text;
}

std::string CopyClip(const ProgramRun& Run, const std::string& Name) {
    const std::string to = Run.File(Name);
    std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264Aac), to);
    return to;
}

TEST(PlayThrough, AfterPlayExitClosesTheProgramAtTheEndStoringItsState) {
    ProgramRun run;
    const std::string a = CopyClip(run, "first clip.mp4");
    const std::string b = CopyClip(run, "second clip.mp4");
    testing_support::WriteFile(run.File("Ini/Default.ini"), Settings({{"AfterPlay", "1"}, {"PlayMode", "0"}}));
    const std::string log = run.File("fake.log");
    run.Start({a, b}, {"QUOREL_FAKE_LOG=" + log});
    // Nobody closes it: the end of the first entry (play mode none) runs the after-play action.
    ASSERT_TRUE(run.WaitFor([&] { return !run.Running(); }, std::chrono::seconds(30))) << run.ErrorOutput();
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    const std::string ini = ReadFile(run.File("Ini/Default.ini"));
    EXPECT_NE(ini.find("LastMediaFile=" + a + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("LastPlayType=1\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("LastPos=2\r\n"), std::string::npos) << "the position the last tick saw" << ini;
    const std::string list = ReadFile(run.File("Project/PlayFileList"));
    EXPECT_NE(list.find(a + "==="), std::string::npos) << list;
    EXPECT_NE(list.find(b + "==="), std::string::npos) << list;
    // Played and stopped: the screen saver was held off while the clip played and let go at its end.
    EXPECT_NE(ReadFile(log).find("ScreenSaver Inhibit\nScreenSaver UnInhibit\n"), std::string::npos) << ReadFile(log);
}

} // namespace
