// Tags, lyrics and the history, end to end under a real X server: the built program in a temporary run
// tree, looked at through pictures of the screen and driven by real clicks and keys.

#include <chrono>
#include <thread>

#include <QImage>

#include <gtest/gtest.h>

#include "tests/support/AudioFixtures.h"
#include "tests/support/Packing.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/XScreen.h"
#include "tests/support/XvfbDisplay.h"

using testing_support::ProgramRun;
using testing_support::ReadFile;
using testing_support::WriteFile;
using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

// The main window: the mapped window of the skin's size.
QRect MainWindow(const std::string& Display) {
    for (const QRect& window : testing_support::MappedWindows(Display))
        if (window.size() == QSize(688, 442))
            return window;
    return {};
}

// Places in the main window (the default skin at its first size): the video panel's rows of the tag text's
// first two fields (title and artist) right of their labels, and the band around the middle of the lyrics
// panel.
const QRect kTagFields(100, 58, 160, 34);
const QRect kLyricsMiddle(6, 150, 678, 100);

int CountPixels(const QImage& Window, const QRect& Area, int MinGrey, int MaxGrey) {
    int count = 0;
    for (int y = Area.top(); y <= Area.bottom(); ++y)
        for (int x = Area.left(); x <= Area.right(); ++x) {
            const int grey = qGray(Window.pixel(x, y));
            count += grey >= MinGrey && grey <= MaxGrey;
        }
    return count;
}

// Whether a bright row of the lyrics band reaches from left of the centre to right of it: only the long
// second lyrics line does, and only in the highlight (the whole text is drawn in a dark grey).
bool LongLineLit(const QImage& Window, int Top = kLyricsMiddle.top()) {
    for (int y = Top; y < Top + kLyricsMiddle.height(); ++y) {
        bool left = false, right = false;
        for (int x = 250; x < 270; ++x)
            left = left || qGray(Window.pixel(x, y)) > 100;
        for (int x = 420; x < 440; ++x)
            right = right || qGray(Window.pixel(x, y)) > 100;
        if (left && right)
            return true;
    }
    return false;
}

TEST(HistoryAndLyrics, TagAndScrollingLyricsShowAndTheNextStartPlaysAFileFromTheHistorySubmenu) {
    testing_support::XvfbDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
    const std::string& x = display.Name();
    ProgramRun run;
    const std::string opened = run.File("opened.log");
    const std::vector<std::string> environment = {"DISPLAY=" + x, "QT_QPA_PLATFORM=xcb",
                                                  "QUOREL_OPENED_MEDIA=" + opened};
    const std::string song = run.File("song.mp3"), other = run.File("other.mp3");
    ASSERT_TRUE(testing_support::MakeToneFile(song, testing_support::AudioFormat::Mp3, 10.0));
    ASSERT_TRUE(testing_support::MakeToneFile(other, testing_support::AudioFormat::Mp3, 10.0));
    testing_support::AppendId3v1Tag(song, "Song", "Band");
    // A short line, a long one from 3 s and a short one from 8 s.
    WriteFile(run.File("Lrc/Band - Song.lrc"),
              "[ar:Band]\r\n[00:00.00]i\r\n[00:03.00]" + std::string(30, 'W') + "\r\n[00:08.00]l\r\n");

    // The first start plays the tagged song of the two files given.
    run.Start({song, other}, environment);
    ASSERT_TRUE(run.WaitFor([&] { return ReadFile(opened) == song + "\n"; })) << run.ErrorOutput();
    const Clock::time_point started = Clock::now();
    QRect window;
    ASSERT_TRUE(run.WaitFor([&] { return !(window = MainWindow(x)).isNull(); }));
    auto grab = [&] { return testing_support::GrabScreen(x, window); };
    // Within the first line: the tag's fields show, and the lyrics, with the long line not lit yet.
    std::this_thread::sleep_until(started + 1000ms);
    const QImage first = grab();
    const auto firstAt = Clock::now() - started;
    ASSERT_FALSE(first.isNull());
    EXPECT_GT(CountPixels(first, kTagFields, 150, 255), 20) << "the title and the artist";
    EXPECT_GT(CountPixels(first, kLyricsMiddle, 40, 95), 100) << "the lyrics text in its dark grey";
    if (firstAt < 2900ms) {
        EXPECT_FALSE(LongLineLit(first));
    }
    // At 3 s the long line reaches the middle and lights up.
    bool lit = false;
    std::chrono::steady_clock::duration litAt{};
    // Only the band is looked at, four times a second: the machine may be running other checks.
    const QRect band = kLyricsMiddle.translated(window.topLeft());
    while (!lit && Clock::now() - started < 8s) {
        lit = LongLineLit(testing_support::GrabScreen(x, band), 0);
        litAt = Clock::now() - started;
        std::this_thread::sleep_for(250ms);
    }
    EXPECT_TRUE(lit) << "the second line never lit up";
    EXPECT_GE(litAt, 2900ms);
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
    EXPECT_EQ(testing_support::UnpackedText(ReadFile(run.File("Project/HistoryList"))),
              song + "\r\n" + other + "\r\n");

    // The next start reopens nothing by itself; the history submenu lists both files, and choosing the last
    // entry plays it: right click on the video, File, four down to History, into it, up to its last entry.
    run.SetSetting("ReloadLast", "0");
    WriteFile(opened, "");
    run.Start({}, environment);
    ASSERT_TRUE(run.WaitFor([&] { return !(window = MainWindow(x)).isNull(); })) << run.ErrorOutput();
    std::this_thread::sleep_for(500ms);
    auto menusOpen = [&](std::size_t Menus) {
        return run.WaitFor([&] { return testing_support::MappedWindows(x).size() == 1 + Menus; }, 5s);
    };
    const QPoint video = window.topLeft() + QPoint(344, 150);
    ASSERT_TRUE(testing_support::XdoTool(
        x, {"mousemove", std::to_string(video.x()), std::to_string(video.y()), "click", "3"}));
    ASSERT_TRUE(menusOpen(1)) << "the popup menu did not open";
    ASSERT_TRUE(testing_support::XdoTool(x, {"key", "Down", "Right"}));
    ASSERT_TRUE(menusOpen(2)) << "the File submenu did not open";
    ASSERT_TRUE(testing_support::XdoTool(x, {"key", "Down", "Down", "Down", "Down", "Right"}));
    ASSERT_TRUE(menusOpen(3)) << "the History submenu did not open";
    ASSERT_TRUE(testing_support::XdoTool(x, {"key", "Up", "Return"}));
    EXPECT_TRUE(run.WaitFor([&] { return ReadFile(opened) == other + "\n"; })) << ReadFile(opened);
    std::this_thread::sleep_for(500ms);
    const QImage playing = grab();
    EXPECT_LT(CountPixels(playing, kTagFields, 150, 255), 5) << "the untagged file shows no title or artist";
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

} // namespace
