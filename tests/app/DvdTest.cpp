// A DVD end to end: the built program under Xvfb, driven with the mouse and keys as a user drives it, the
// screen and the program's map of its windows read back. The folder browser is answered through its test seam
// with the folder the disc lies in.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <algorithm>
#include <functional>
#include <optional>
#include <thread>

#include <QImage>

#include <gtest/gtest.h>

#include "tests/support/DvdFixtures.h"
#include "tests/support/IniText.h"
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

// The program on a virtual display with Disc in the folder the folder browser answers, the defaults with
// the setting Key (none: the run tree's settings), and the map of its windows.
class DvdProgram {
public:
    explicit DvdProgram(const std::string& Disc = {}, const char* Key = nullptr, const char* Value = "")
        : screen(display.Name()), map(run.File("windows.map")) {
        if (display.Name().empty())
            return;
        const std::string discs = run.File("discs");
        std::filesystem::create_directories(discs);
        testing_support::CopyOfDvdDisc(discs, Disc);
        if (Key != nullptr)
            testing_support::WriteFile(run.File("Ini/Default.ini"), testing_support::DefaultsWith({{Key, Value}}));
        run.Start({}, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb", "QUOREL_FOLDER_DIALOG=" + discs,
                       "QUOREL_WINDOW_MAP=" + map.Path()});
    }
    // Waits for the window, then right click on the video and 文件 > 打开dvd目录... (the third item) with the
    // keys.
    bool OpenTheDiscFolder() {
        if (!screen.WaitFor([&] { return !screen.Window().isEmpty(); }))
            return false;
        std::this_thread::sleep_for(500ms);
        screen.MoveTo(screen.Panel().center());
        if (!screen.Do({"click", "3"}))
            return false;
        std::this_thread::sleep_for(500ms);
        for (const char* key : {"Down", "Right", "Down", "Down", "Return"}) {
            screen.Do({"key", key});
            std::this_thread::sleep_for(200ms);
        }
        return true;
    }
    // The time text's seconds, played and in all.
    std::pair<int, int> Time() const {
        const auto label = map.Find("QuorelMain_Form", "Time_L");
        return label ? TimesOf(label->text) : std::pair{-1, -1};
    }
    std::string Status() const {
        const auto label = map.Find("QuorelMain_Form", "Status_L");
        return label ? label->text : std::string();
    }

    testing_support::XvfbDisplay display;
    ProgramRun run;
    DvdOnScreen screen;
    const testing_support::WindowMap map;
};

// The manager menu's dark blue beside its buttons: a menu of the disc shows.
bool MenuShows(const DvdOnScreen& Screen) {
    return Near(Screen.PixelAt(100, 288), 32, 32, 96, 40);
}

// A button of a menu is lit: its yellow frame.
bool Lit(const DvdOnScreen& Screen, const testing_support::DvdRect& Button) {
    const QRgb frame = Screen.PixelAt(Button.left + 2, Button.CentreY());
    return qRed(frame) > 150 && qGreen(frame) > 150 && qBlue(frame) < 110;
}

// "打开dvd目录..." on the pop-up menu, with the folder that holds the disc: the disc's menu shows in the
// video panel, the mouse over the second button lights it up, and a click on it plays title 2. "播放列表"
// then lists the disc's chapters, and a double click on the third chapter of title 1 plays it.
TEST(DvdEndToEnd, TheFolderCommandShowsTheMenuAndAButtonPlaysItsTitle) {
    DvdProgram p;
    ASSERT_FALSE(p.display.Name().empty()) << "Xvfb did not start";
    DvdOnScreen& screen = p.screen;
    ASSERT_TRUE(p.OpenTheDiscFolder()) << p.run.ErrorOutput();
    EXPECT_TRUE(screen.WaitFor([&] { return MenuShows(screen); }))
        << std::hex << screen.PixelAt(100, 288) << " " << p.run.ErrorOutput();

    // The first button is lit at the start; the mouse over the second lights it (its yellow frame).
    const testing_support::DvdRect second = testing_support::ManagerMenuButtons[1];
    const auto lit = [&](const testing_support::DvdRect& Button) { return Lit(screen, Button); };
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
    const auto time = [&] { return p.Time(); };
    EXPECT_TRUE(screen.WaitFor([&] { return time().second == 6; })) << time().second;

    const auto rows = [&] { return p.map.All("List_Form", "Label"); };
    const auto list = p.map.Find("QuorelMain_Form", "PL_L");
    ASSERT_TRUE(list.has_value());
    ASSERT_TRUE(screen.Click(*list));
    ASSERT_TRUE(screen.WaitFor([&] { return rows().size() == 5; })) << rows().size() << p.run.ErrorOutput();
    std::vector<std::string> texts;
    for (const auto& row : rows())
        texts.push_back(row.text);
    EXPECT_EQ(texts, (std::vector<std::string>{" DVD", "1. Chapter1(1-1)", "2. Chapter2(1-2)",
                                               "3. Chapter3(1-3)", "4. Chapter1(2-1)"}));
    ASSERT_TRUE(screen.Click(rows()[3], 2));
    // Within 5 s: from chapter 1 the time would still be short of 8 s.
    EXPECT_TRUE(screen.WaitFor([&] { return time().second == 12 && time().first >= 8; }, 5s))
        << time().first << " / " << time().second;
    EXPECT_EQ(p.run.Close(), 0) << p.run.ErrorOutput();
}


// Clicks the video at At until Done holds: the first click on the video after a pop-up menu only ends the
// menu's turn.
bool ClickVideoUntil(const DvdOnScreen& Screen, QPoint At, const std::function<bool()>& Done) {
    Screen.MoveTo(At);
    std::this_thread::sleep_for(300ms);
    for (int click = 0; click < 2; ++click) {
        Screen.Do({"click", "1"});
        if (Screen.WaitFor(Done, 3s))
            return true;
    }
    return Screen.WaitFor(Done, 10s);
}

// A title of the disc plays: its time stands in the status strip with "播放中", the time of title 1
// being 12 s.
bool TitleOnePlays(const DvdProgram& P) {
    return P.Status() == "播放中" && P.Time().second == 12 && P.Time().first >= 0;
}

// The pop-up menu's items by their names, each once the menu shows it; the last is clicked. Items that
// open a submenu are rested on.
bool ChooseFromThePopup(DvdProgram& P, QPoint At, const std::vector<std::string>& Items) {
    P.screen.MoveTo(At);
    if (!P.screen.Do({"click", "3"}))
        return false;
    for (std::size_t i = 0; i < Items.size(); ++i) {
        std::optional<testing_support::MappedControl> item;
        if (!P.screen.WaitFor([&] { return (item = P.map.Find("Menu", Items[i])).has_value(); }, 5s))
            return false;
        if (i + 1 < Items.size()) {
            P.screen.Do({"mousemove", std::to_string(item->x + 8), std::to_string(item->CentreY())});
            std::this_thread::sleep_for(400ms);
        } else if (!P.screen.Click(*item)) {
            return false;
        }
    }
    return true;
}

// The items of the submenu shown right of the pop-up's item Item, top to bottom.
std::vector<testing_support::MappedControl> SubmenuOf(const DvdProgram& P, const std::string& Item) {
    std::vector<testing_support::MappedControl> items;
    const auto parent = P.map.Find("Menu", Item);
    if (!parent)
        return items;
    for (const auto& c : P.map.Controls())
        if (c.window == "Menu" && c.x >= parent->x + parent->width - 4)
            items.push_back(c);
    std::sort(items.begin(), items.end(), [](const auto& A, const auto& B) { return A.y < B.y; });
    return items;
}

// The disc's menu, title 1 from its first button: the status shows the title playing with its time. With
// the pop-up first opened in the disc's menu, 配音 lists title 1's two sound streams, and the second chosen
// is the one the disc plays. Paused, "段落菜单" shows the title-set menu, whose highlight follows the
// pointer over each of its three buttons, and each button acts: "Chapter 3" plays title 1 from 8 s,
// "Resume" goes on with the title where it was, "Main menu" shows the disc's menu.
TEST(DvdEndToEnd, TheTitleSetMenuFollowsThePointerAndTheStreamMenusFollowTheTitle) {
    using testing_support::ManagerMenuButtons;
    using testing_support::TitleSetMenuButtons;
    DvdProgram p;
    ASSERT_FALSE(p.display.Name().empty()) << "Xvfb did not start";
    DvdOnScreen& screen = p.screen;
    const auto at = [&](const testing_support::DvdRect& Button) {
        return screen.OnScreen(Button.CentreX(), Button.CentreY());
    };
    ASSERT_TRUE(p.OpenTheDiscFolder()) << p.run.ErrorOutput();
    ASSERT_TRUE(screen.WaitFor([&] { return MenuShows(screen) && Lit(screen, ManagerMenuButtons[0]); }))
        << p.run.ErrorOutput();
    EXPECT_EQ(p.Status(), "播放菜单");

    // The pop-up opened in the menu builds its submenus there.
    ASSERT_TRUE(ChooseFromThePopup(p, at(ManagerMenuButtons[0]), {"pDvdnavigate", "pDublanguage"}));
    std::this_thread::sleep_for(300ms);
    screen.Do({"key", "Escape", "Escape", "Escape"});
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(ClickVideoUntil(screen, at(ManagerMenuButtons[0]), [&] { return TitleOnePlays(p); }))
        << p.Status() << " " << p.Time().first << " / " << p.Time().second;

    // 配音 in the title: both streams, the first checked; the second chosen is checked at the next pop-up.
    ASSERT_TRUE(ChooseFromThePopup(p, screen.Panel().center(), {"pDvdnavigate", "pDublanguage"}));
    std::vector<testing_support::MappedControl> sounds;
    EXPECT_TRUE(screen.WaitFor([&] { return (sounds = SubmenuOf(p, "pDublanguage")).size() == 2; }, 5s))
        << sounds.size();
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_NE(sounds[0].text.find("(checked)"), std::string::npos) << sounds[0].text;
    ASSERT_TRUE(screen.Click(sounds[1]));
    screen.Do({"key", "space"}); // paused: the title stands while the menus are looked at
    EXPECT_TRUE(screen.WaitFor([&] { return p.Status() == "暂停"; }, 5s)) << p.Status();
    ASSERT_TRUE(ChooseFromThePopup(p, screen.Panel().center(), {"pDvdnavigate", "pDublanguage"}));
    EXPECT_TRUE(screen.WaitFor(
        [&] {
            sounds = SubmenuOf(p, "pDublanguage");
            return sounds.size() == 2 && sounds[1].text.find("(checked)") != std::string::npos &&
                   sounds[0].text.find("(checked)") == std::string::npos;
        },
        5s));
    screen.Do({"key", "Escape", "Escape", "Escape"});
    std::this_thread::sleep_for(300ms);
    const int pausedAt = p.Time().first;

    // The title-set menu, opened while paused, its highlight under the pointer, each button in turn.
    const auto chapterMenu = [&] {
        EXPECT_TRUE(ChooseFromThePopup(p, screen.Panel().center(), {"pDvdnavigate", "pChaptermenu"}));
        EXPECT_TRUE(screen.WaitFor([&] { return MenuShows(screen) && Lit(screen, TitleSetMenuButtons[0]); }))
            << p.run.ErrorOutput();
        for (const int button : {2, 1, 0}) {
            screen.MoveTo(at(TitleSetMenuButtons[button]));
            EXPECT_TRUE(screen.WaitFor(
                [&] {
                    for (int other = 0; other < 3; ++other)
                        if (Lit(screen, TitleSetMenuButtons[other]) != (other == button))
                            return false;
                    return true;
                },
                5s))
                << "button " << button + 1;
        }
    };
    chapterMenu();
    // "Resume": the title goes on from where it stood.
    ASSERT_TRUE(ClickVideoUntil(screen, at(TitleSetMenuButtons[1]), [&] { return TitleOnePlays(p); }));
    EXPECT_LE(p.Time().first, pausedAt + 2);
    screen.Do({"key", "space"});
    EXPECT_TRUE(screen.WaitFor([&] { return p.Status() == "暂停"; }, 5s)) << p.Status();
    // "Chapter 3": title 1 from 8 s.
    chapterMenu();
    ASSERT_TRUE(ClickVideoUntil(screen, at(TitleSetMenuButtons[0]),
                                [&] { return TitleOnePlays(p) && p.Time().first >= 8; }))
        << p.Status() << " " << p.Time().first;
    screen.Do({"key", "space"});
    EXPECT_TRUE(screen.WaitFor([&] { return p.Status() == "暂停"; }, 5s)) << p.Status();
    // "Main menu": the disc's menu, where the title-set menu's third button stood is its background, and its
    // buttons light up under the pointer.
    chapterMenu();
    const testing_support::DvdRect third = TitleSetMenuButtons[2];
    ASSERT_TRUE(ClickVideoUntil(screen, at(third), [&] {
        return p.Status() == "播放菜单" && MenuShows(screen) &&
               Near(screen.PixelAt(third.CentreX(), third.CentreY()), 32, 32, 96, 40);
    })) << p.Status();
    screen.MoveTo(at(ManagerMenuButtons[1]));
    EXPECT_TRUE(screen.WaitFor([&] { return Lit(screen, ManagerMenuButtons[1]); }, 5s));
    EXPECT_EQ(p.run.Close(), 0) << p.run.ErrorOutput();
}

// The disc left to play with the after-play action "exit": its menu goes on by itself into title 1, title 1
// into title 2, each showing its time as it plays, and the end of title 2, the end of the disc, ends the
// program.
TEST(DvdEndToEnd, ADiscLeftToPlayEndsTheProgramWithAfterPlayExit) {
    DvdProgram p(testing_support::DvdDiscThatPlaysOn(), "AfterPlay", "1");
    ASSERT_FALSE(p.display.Name().empty()) << "Xvfb did not start";
    ASSERT_TRUE(p.OpenTheDiscFolder()) << p.run.ErrorOutput();
    EXPECT_TRUE(p.screen.WaitFor([&] { return TitleOnePlays(p) && p.Time().first >= 1; }, 30s))
        << p.Status() << " " << p.Time().first << " / " << p.Time().second << p.run.ErrorOutput();
    EXPECT_TRUE(p.screen.WaitFor(
        [&] { return p.Status() == "播放中" && p.Time().second == 6 && p.Time().first >= 1; }, 30s))
        << p.Status() << " " << p.Time().first << " / " << p.Time().second;
    // Nobody closes it.
    EXPECT_TRUE(p.run.WaitFor([&] { return !p.run.Running(); }, 30s)) << p.run.ErrorOutput();
    EXPECT_EQ(p.run.Close(), 0) << p.run.ErrorOutput();
}

} // namespace
