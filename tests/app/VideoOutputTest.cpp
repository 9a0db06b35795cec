// The picture of the built program on an X server, as the screen shows it, through both ways of showing it:
// put straight into a window of its own through shared memory (what the program picks on a display that
// offers it), and painted through Qt (QUOREL_VIDEO_OUTPUT=qt, as on a display without it). A double click on
// the video goes to full screen and back, as a user does it, while the clip plays.

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <QImage>

#include <gtest/gtest.h>

#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/XScreen.h"
#include "tests/support/XvfbDisplay.h"

namespace {

using namespace std::chrono_literals;
using testing_support::ProgramRun;

bool NearFixtureColour(QRgb Pixel) {
    const auto c = testing_support::FixtureColour;
    return std::abs(qRed(Pixel) - c.r) <= 30 && std::abs(qGreen(Pixel) - c.g) <= 30 &&
           std::abs(qBlue(Pixel) - c.b) <= 30;
}

bool Black(QRgb Pixel) {
    return qRed(Pixel) < 16 && qGreen(Pixel) < 16 && qBlue(Pixel) < 16;
}

struct OutputCase {
    const char* name;
    const char* environment; // "" for the program's own choice
};

class VideoOutput : public ::testing::TestWithParam<OutputCase> {
protected:
    void SetUp() override { ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start"; }
    void TearDown() override {
        if (run.Running()) {
            EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
        }
    }
    // The main window on the screen (no window manager: the root's only child while no menu is open).
    QRect Main() const {
        const auto windows = testing_support::MappedWindows(display.Name());
        return windows.size() == 1 ? windows.front() : QRect();
    }
    QImage Screen(const QRect& Area) const { return testing_support::GrabScreen(display.Name(), Area); }
    bool DoubleClick(QPoint At) const {
        return testing_support::XdoTool(display.Name(),
                                        {"mousemove", std::to_string(At.x()), std::to_string(At.y()), "click",
                                         "--repeat", "2", "--delay", "80", "1"});
    }
    // Whether the picture (the clip's one colour) fills Area's width and most of its height, centred, with
    // black (the border colour) above and below it.
    bool PictureFills(const QRect& Area) const {
        const QImage shown = Screen(Area);
        if (shown.isNull())
            return false;
        const int middle = Area.height() / 2;
        if (!NearFixtureColour(shown.pixel(3, middle)) ||
            !NearFixtureColour(shown.pixel(Area.width() - 4, middle)))
            return false;
        int top = middle, bottom = middle;
        while (top > 0 && NearFixtureColour(shown.pixel(Area.width() / 2, top - 1)))
            --top;
        while (bottom + 1 < Area.height() && NearFixtureColour(shown.pixel(Area.width() / 2, bottom + 1)))
            ++bottom;
        const bool centred = std::abs(top - (Area.height() - 1 - bottom)) <= 2;
        const bool blackAround = (top < 2 || Black(shown.pixel(Area.width() / 2, top / 2))) &&
                                 (bottom > Area.height() - 3 ||
                                  Black(shown.pixel(Area.width() / 2, (bottom + Area.height()) / 2)));
        return bottom - top > Area.height() / 2 && centred && blackAround;
    }

    testing_support::XvfbDisplay display;
    ProgramRun run;
};

// The clip plays in the window's video panel; a double click on it fills the screen with it (fitted, black
// above and below), and another brings the window back, the picture in its panel again.
TEST_P(VideoOutput, FullScreenAndBackShowThePictureFillingItsPlaceEachTime) {
    const std::string clip = run.File("clip.mp4");
    std::filesystem::copy_file(testing_support::MediaFile(testing_support::MediaFixture::Mp4H264AacLong),
                               clip);
    std::vector<std::string> environment{"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb"};
    if (*GetParam().environment != '\0')
        environment.emplace_back(GetParam().environment);
    run.Start({"/o", clip}, environment);
    ASSERT_TRUE(run.WaitFor([&] { return !Main().isEmpty(); })) << run.ErrorOutput();
    // The video panel: below the 51-pixel title strip, above the 96 pixels of status and control strips,
    // inside the 6-pixel edge strips.
    const auto panel = [&] {
        const QRect window = Main();
        return QRect(window.x() + 6, window.y() + 51, window.width() - 12, window.height() - 51 - 96);
    };
    const auto showsInPanel = [&] {
        const QRect area = panel();
        const QImage shown = Screen(area);
        return !shown.isNull() && NearFixtureColour(shown.pixel(area.width() / 2, area.height() / 2));
    };
    ASSERT_TRUE(run.WaitFor(showsInPanel)) << run.ErrorOutput();
    const QRect window = Main();

    ASSERT_TRUE(DoubleClick(panel().center()));
    const QRect screen(0, 0, 1280, 1024);
    EXPECT_TRUE(run.WaitFor([&] { return Main() == screen && PictureFills(screen); }, 10s))
        << "the window " << Main().width() << "x" << Main().height();

    ASSERT_TRUE(DoubleClick(screen.center()));
    EXPECT_TRUE(run.WaitFor([&] { return Main() == window && showsInPanel(); }, 10s));
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(showsInPanel()) << "the picture stays in the panel as the clip plays on";
}

INSTANTIATE_TEST_SUITE_P(Ways, VideoOutput,
                         ::testing::Values(OutputCase{"OwnWindowThroughSharedMemory", ""},
                                           OutputCase{"PaintedThroughQt", "QUOREL_VIDEO_OUTPUT=qt"}),
                         [](const ::testing::TestParamInfo<OutputCase>& Info) { return Info.param.name; });

} // namespace
