// A DVD end to end: the built program under Xvfb, driven with the mouse and keys as a user drives it, the
// screen and the program's map of its windows read back. The folder browser is answered through its test seam
// with the folder the disc lies in.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>

#include <QImage>

#include <gtest/gtest.h>

#include "tests/support/DvdFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/WindowMap.h"
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
    // Clicks left clicks (2: a double click) at the centre of a control of the window map.
    bool Click(const testing_support::MappedControl& Control, int Clicks = 1) const {
        return Do({"mousemove", std::to_string(Control.CentreX()), std::to_string(Control.CentreY()), "sleep",
                   "0.2", "click", "--repeat", std::to_string(Clicks), "--delay", "80", "1"});
    }

private:
    std::string display_;
};

// The seconds of a "00:00:08 / 00:00:12" time text, before and after the slash; -1 for other texts.
std::pair<int, int> TimesOf(const std::string& Text) {
    int h = 0, m = 0, s = 0, th = 0, tm = 0, ts = 0;
    if (std::sscanf(Text.c_str(), "%d:%d:%d / %d:%d:%d", &h, &m, &s, &th, &tm, &ts) != 6)
        return {-1, -1};
    return {h * 3600 + m * 60 + s, th * 3600 + tm * 60 + ts};
}

// "打开dvd目录..." on the pop-up menu, with the folder that holds the disc: the disc's menu shows in the
// video panel, the mouse over the second button lights it up, and a click on it plays title 2. "播放列表"
// then lists the disc's chapters, and a double click on the third chapter of title 1 plays it.
TEST(DvdEndToEnd, TheFolderCommandShowsTheMenuAndAButtonPlaysItsTitle) {
    testing_support::XvfbDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb did not start";
    ProgramRun run;
    const std::string discs = run.File("discs");
    std::filesystem::create_directories(discs);
    testing_support::CopyOfDvdDisc(discs);
    const testing_support::WindowMap map{run.File("windows.map")};
    run.Start({}, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb", "QUOREL_FOLDER_DIALOG=" + discs,
                   "QUOREL_WINDOW_MAP=" + map.Path()});
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
    const auto time = [&] {
        const auto label = map.Find("QuorelMain_Form", "Time_L");
        return label ? TimesOf(label->text) : std::pair{-1, -1};
    };
    EXPECT_TRUE(screen.WaitFor([&] { return time().second == 6; })) << time().second;

    const auto rows = [&] { return map.All("List_Form", "Label"); };
    const auto list = map.Find("QuorelMain_Form", "PL_L");
    ASSERT_TRUE(list.has_value());
    ASSERT_TRUE(screen.Click(*list));
    ASSERT_TRUE(screen.WaitFor([&] { return rows().size() == 5; })) << rows().size() << run.ErrorOutput();
    std::vector<std::string> texts;
    for (const auto& row : rows())
        texts.push_back(row.text);
    EXPECT_EQ(texts, (std::vector<std::string>{" DVD", "1. Chapter1(1-1)", "2. Chapter2(1-2)",
                                               "3. Chapter3(1-3)", "4. Chapter1(2-1)"}));
    ASSERT_TRUE(screen.Click(rows()[3], 2));
    // Within 5 s: from chapter 1 the time would still be short of 8 s.
    EXPECT_TRUE(screen.WaitFor([&] { return time().second == 12 && time().first >= 8; }, 5s))
        << time().first << " / " << time().second;
    EXPECT_EQ(run.Close(), 0) << run.ErrorOutput();
}

} // namespace
