// A DVD end to end: the built program under Xvfb, driven with the mouse and keys as a user drives it, the
// screen read back. The folder browser is answered through its test seam with the folder the disc lies in.

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include <QImage>

#include <gtest/gtest.h>

#include "tests/support/DvdFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/XScreen.h"
#include "tests/support/XvfbDisplay.h"

namespace {

using namespace std::chrono_literals;
using testing_support::ProgramRun;

bool Near(QRgb Pixel, int R, int G, int B, int Tolerance) {
    return std::abs(qRed(Pixel) - R) <= Tolerance && std::abs(qGreen(Pixel) - G) <= Tolerance &&
           std::abs(qBlue(Pixel) - B) <= Tolerance;
}

class DvdOnScreen {
public:
    explicit DvdOnScreen(std::string Display) : display_(std::move(Display)) {}

    // The main window, and the video panel inside it (between the frame's top strip and its control and
    // status strips).
    // The largest mapped window: the pop-up menus are smaller.
    QRect Window() const {
        QRect largest;
        for (const QRect& window : testing_support::MappedWindows(display_))
            if (window.width() * window.height() > largest.width() * largest.height())
                largest = window;
        return largest;
    }
    QRect Panel() const {
        const QRect w = Window();
        return QRect(w.left() + 6, w.top() + 51, w.width() - 12, w.height() - 51 - 96);
    }
    // A point of the disc's picture on the screen: the picture fills the panel when the window is fitted to
    // it.
    QPoint OnScreen(int X, int Y) const {
        const QRect p = Panel();
        return {p.left() + X * p.width() / testing_support::DvdPictureWidth,
                p.top() + Y * p.height() / testing_support::DvdPictureHeight};
    }
    QRgb PixelAt(int X, int Y) const {
        const QPoint at = OnScreen(X, Y);
        const QImage pixel = testing_support::GrabScreen(display_, QRect(at, QSize(1, 1)));
        return pixel.isNull() ? 0 : pixel.pixel(0, 0);
    }
    bool WaitFor(const std::function<bool()>& Condition, std::chrono::milliseconds Limit = 20s) const {
        const auto end = std::chrono::steady_clock::now() + Limit;
        while (std::chrono::steady_clock::now() < end) {
            if (Condition())
                return true;
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }
    bool Do(const std::vector<std::string>& Arguments) const {
        return testing_support::XdoTool(display_, Arguments);
    }
    void MoveTo(QPoint At) const { Do({"mousemove", std::to_string(At.x()), std::to_string(At.y())}); }

private:
    std::string display_;
};

// "打开dvd目录..." on the pop-up menu, with the folder that holds the disc: the disc's menu shows in the
// video panel, the mouse over the second button lights it up, and a click on it plays title 2.
TEST(DvdEndToEnd, TheFolderCommandShowsTheMenuAndAButtonPlaysItsTitle) {
    testing_support::XvfbDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
    ProgramRun run;
    const std::string discs = run.File("discs");
    std::filesystem::create_directories(discs);
    testing_support::CopyOfDvdDisc(discs);
    run.Start({}, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb", "QUOREL_FOLDER_DIALOG=" + discs});
    DvdOnScreen screen(display.Name());
    ASSERT_TRUE(screen.WaitFor([&] { return !screen.Window().isEmpty(); })) << run.ErrorOutput();
    std::this_thread::sleep_for(500ms);

    // Right click on the video, then 文件 > 打开dvd目录... (the third item) with the keys.
    screen.MoveTo(screen.Panel().center());
    ASSERT_TRUE(screen.Do({"click", "3"}));
    std::this_thread::sleep_for(500ms);
    for (const char* key : {"Down", "Right", "Down", "Down", "Return"}) {
        screen.Do({"key", key});
        std::this_thread::sleep_for(200ms);
    }
    // The manager menu's dark blue, beside its buttons.
    EXPECT_TRUE(screen.WaitFor([&] { return Near(screen.PixelAt(100, 288), 32, 32, 96, 40); }))
        << std::hex << screen.PixelAt(100, 288) << " " << run.ErrorOutput();

    // The first button is lit at the start; the mouse over the second lights it (its yellow frame).
    const testing_support::DvdRect second = testing_support::ManagerMenuButtons[1];
    const auto lit = [&](const testing_support::DvdRect& Button) {
        const QRgb frame = screen.PixelAt(Button.left + 2, Button.CentreY());
        return qRed(frame) > 150 && qGreen(frame) > 150 && qBlue(frame) < 110;
    };
    EXPECT_TRUE(screen.WaitFor([&] { return lit(testing_support::ManagerMenuButtons[0]); }, 5s));
    screen.MoveTo(screen.OnScreen(second.CentreX(), second.CentreY()));
    EXPECT_TRUE(
        screen.WaitFor([&] { return lit(second) && !lit(testing_support::ManagerMenuButtons[0]); }, 5s))
        << std::hex << screen.PixelAt(second.left + 2, second.CentreY());

    // A click plays title 2: its colour bars, grey at their left. The first click on the video after the
    // pop-up menu only closes the menu's turn, as it does after every pop-up.
    ASSERT_TRUE(screen.Do({"click", "1"}));
    std::this_thread::sleep_for(800ms);
    ASSERT_TRUE(screen.Do({"click", "1"}));
    EXPECT_TRUE(screen.WaitFor([&] { return Near(screen.PixelAt(40, 100), 191, 191, 191, 30); }))
        << std::hex << screen.PixelAt(40, 100);
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

} // namespace
