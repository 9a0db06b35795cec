// The built program where the locale or the names of folders are not UTF-8. Started with no LANG, in the
// POSIX locale, or with a LANG naming a locale the machine never generated, its dialogs still give their
// Chinese titles to the window manager; installed in a folder whose name is in a legacy 8-bit encoding, it
// still shows its skin.

#include <algorithm>
#include <chrono>
#include <thread>

#include <QImage>

#include <gtest/gtest.h>

#include "tests/support/CaseName.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowMap.h"
#include "tests/support/XScreen.h"
#include "tests/support/XvfbDisplay.h"

namespace {

using testing_support::ProgramRun;
using testing_support::ReadFile;

// The locale the program is given: LC_ALL and LC_CTYPE emptied (an empty value counts as unset), so that
// LANG alone decides.
struct LocaleCase {
    const char* name;
    const char* lang;
};

class NonUtf8Locale : public ::testing::TestWithParam<LocaleCase> {};

std::string Joined(const std::vector<std::string>& Texts) {
    std::string joined;
    for (const std::string& text : Texts)
        joined += "[" + text + "] ";
    return joined;
}

TEST_P(NonUtf8Locale, DialogTitlesReachTheWindowManagerAsTheyAreWritten) {
    testing_support::XvfbDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
    ProgramRun run;
    testing_support::WindowMap map(run.File("map.txt"));
    run.Start({}, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb", "QUOREL_WINDOW_MAP=" + map.Path(),
                   "LC_ALL=", "LC_CTYPE=", GetParam().lang});
    const auto video = map.FindSettled("QuorelMain_Form", "Video_P");
    ASSERT_TRUE(video) << run.ErrorOutput();

    // "文件" > "打开画中画..." from the video's pop-up menu.
    testing_support::XdoTool(display.Name(), {"mousemove", std::to_string(video->CentreX()),
                                              std::to_string(video->CentreY()), "click", "3"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    testing_support::XdoTool(display.Name(),
                             {"key", "--delay", "150", "Down", "Right", "Down", "Down", "Down", "Return"});
    ASSERT_TRUE(run.WaitFor([&] { return map.Find("OpenPip_Form", "OpenPip_Form").has_value(); }))
        << "the open-pair dialog did not come\n"
        << run.ErrorOutput();

    std::vector<std::string> titles;
    EXPECT_TRUE(run.WaitFor([&] {
        titles = testing_support::WindowTitles(display.Name());
        return std::count(titles.begin(), titles.end(), "打开画中画") == 1;
    })) << Joined(titles);
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

INSTANTIATE_TEST_SUITE_P(Locales, NonUtf8Locale,
                         ::testing::Values(LocaleCase{"NoLang", "LANG="}, LocaleCase{"Posix", "LANG=C"},
                                           LocaleCase{"NotGenerated", "LANG=xx_YY.UTF-8"}),
                         testing_support::CaseName());

// A folder named in Latin-1 ("café"): every skin bitmap is found and shown, in the POSIX locale too.
TEST(NonUtf8Folder, TheProgramShowsItsSkin) {
    ProgramRun run("caf\xE9");
    testing_support::TempDir pictures;
    const std::string shot = pictures.File("shot.png");
    run.Start({}, {"LC_ALL=", "LC_CTYPE=", "LANG=C", "QUOREL_GRAB_WINDOW=" + shot});
    QImage image;
    ASSERT_TRUE(run.WaitFor([&] { return image.load(QString::fromStdString(shot)); })) << run.ErrorOutput();
    const QImage play =
        QImage::fromData(QByteArray::fromStdString(ReadFile(run.File("Skin/Default/Play_Normal_Btn.bmp"))));
    ASSERT_FALSE(play.isNull());
    EXPECT_EQ(image.copy(50, 365 + 24, 40, 40).convertToFormat(QImage::Format_RGB32),
              play.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(run.ErrorOutput().find("not valid"), std::string::npos) << run.ErrorOutput();
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

} // namespace
