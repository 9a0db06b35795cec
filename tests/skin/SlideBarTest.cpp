#include "skin/SlideBar.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <QTest>

#include <gtest/gtest.h>

#include "assets/SlideBarArt.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "skin/SlideGrafx.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace win32 {
void PrintTo(const RECT& R, std::ostream* Os) {
    *Os << "(" << R.left << ", " << R.top << ", " << R.right << ", " << R.bottom << ")";
}
} // namespace win32

namespace {

using Log = std::vector<std::string>;

// The bar with its working state in view.
class Bar : public TSlideBar {
public:
    using TSlideBar::CalcThumbRect;
    using TSlideBar::CalcTrackRect;
    using TSlideBar::Dragging;
    using TSlideBar::HalfThumb;
    using TSlideBar::HorzCursor;
    using TSlideBar::Paging;
    using TSlideBar::ThumbDisabledImage;
    using TSlideBar::ThumbHot;
    using TSlideBar::ThumbHotImage;
    using TSlideBar::ThumbImage;
    using TSlideBar::ThumbLength;
    using TSlideBar::ThumbMask;
    using TSlideBar::TSlideBar;
};

// A repeat timer that ticks only when the test lets time pass, counting as the class library's timer does
// (a new interval or a start counts from 0).
class ManualTimer : public TSlideRepeatTimer {
public:
    unsigned Interval() const override { return interval; }
    void SetInterval(unsigned Value) override {
        if (Value != interval)
            elapsed = 0;
        interval = Value;
    }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool Value) override {
        if (Value != enabled)
            elapsed = 0;
        enabled = Value;
    }
    void Advance(unsigned Ms) {
        for (unsigned i = 0; i < Ms; ++i) {
            if (!enabled || interval == 0)
                continue;
            if (++elapsed >= interval) {
                elapsed = 0;
                if (OnTimer)
                    OnTimer();
            }
        }
    }

private:
    unsigned interval = 0;
    bool enabled = false;
    unsigned elapsed = 0;
};

TColor Rgb(int R, int G, int B) {
    return static_cast<TColor>(
        win32::RGB(static_cast<win32::BYTE>(R), static_cast<win32::BYTE>(G), static_cast<win32::BYTE>(B)));
}

QRgb RgbOf(TColor Color) {
    return ToQColor(Color).rgb();
}

const TColor kParentColour = Rgb(0, 128, 255);

// A form with a panel of a colour of its own, and bars on the panel at (10, 10).
class SlideBarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        form.SetBorderStyle(bsNone);
        form.SetBounds(0, 0, 300, 260);
        panel = new TPanel(&form);
        panel->SetBevelOuter(bvNone);
        panel->SetColor(kParentColour);
        panel->SetBounds(0, 0, 300, 260);
        Application().OnException = [this](TObject*, const std::exception& e) { log.push_back(e.what()); };
    }
    void TearDown() override { Application().OnException = nullptr; }

    Bar* NewBar(int Width, int Height) {
        auto* bar = new Bar(panel);
        bar->SetBounds(10, 10, Width, Height);
        auto timer = std::make_unique<ManualTimer>();
        clock = timer.get();
        bar->SetRepeatTimer(std::move(timer));
        return bar;
    }
    // A bar as the picture-in-picture setup dialog describes its six.
    Bar* NewDialogBar(int Width) {
        Bar* bar = NewBar(Width, 20);
        bar->SetLoading(true);
        bar->SetCustomThumb(skinart::DrawPipSetupThumbStrip());
        bar->SetMax(100);
        bar->SetPointerType(ptWin95);
        bar->SetShowFocusRect(false);
        bar->SetShowTicks(false);
        bar->SetThumbStyle(tsCustom);
        bar->SetTrackOffset(8);
        bar->SetTrackWidth(4);
        bar->SetTransparent(true);
        bar->SetLoading(false);
        return bar;
    }
    void Record(Bar* B) {
        B->OnChanging = [this](TObject*, int NewPos, bool& Allow) {
            log.push_back("changing " + std::to_string(NewPos));
            Allow = !refuse;
        };
        B->OnChange = [this, B](TObject*) { log.push_back("change " + std::to_string(B->Position())); };
    }
    void ShowForm() {
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    // Mouse actions at a point of the bar at (10, 10).
    void Press(int X, int Y) { QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, {X + 10, Y + 10}); }
    void Move(int X, int Y) { QTest::mouseMove(form.windowHandle(), {X + 10, Y + 10}); }
    void Release(int X, int Y) {
        QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, {X + 10, Y + 10});
    }
    // What the panel shows where the bar lies.
    QImage Shown(const Bar* B) {
        return panel->grab(B->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    }

    TForm form;
    TPanel* panel = nullptr;
    ManualTimer* clock = nullptr;
    Log log;
    bool refuse = false;
};

TEST_F(SlideBarTest, StartsWithTheDescribedDefaults) {
    Bar bar;
    EXPECT_EQ(bar.Width(), 200);
    EXPECT_EQ(bar.Height(), 35);
    EXPECT_EQ(bar.Orientation(), orHorizontal);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 10);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.PageSize(), 1);
    EXPECT_EQ(bar.ThumbStyle(), tsPointer);
    EXPECT_EQ(bar.TrackWidth(), 8);
    EXPECT_EQ(bar.TrackOffset(), 20);
    EXPECT_EQ(bar.TrackFrame(), fsStatus);
    EXPECT_EQ(bar.TrackColor(), cl3DLight);
    EXPECT_EQ(bar.HighlightColor(), clHighlight);
    EXPECT_TRUE(bar.ShowTicks());
    EXPECT_TRUE(bar.TabStop());
    EXPECT_EQ(bar.RepeatTimer().Interval(), 200u);
    EXPECT_FALSE(bar.RepeatTimer().Enabled());
    EXPECT_EQ(bar.ThumbImage.size(), QSize(11, 21));
    EXPECT_EQ(bar.ThumbLength, 11);
    EXPECT_EQ(bar.HalfThumb, 5);
}

struct SetterCase {
    const char* Name;
    int Min, Max, Position; // before
    std::function<void(TSlideBar&)> Act;
    bool Refuse;
    int ExpectMin, ExpectMax, ExpectPosition;
    Log ExpectLog;
};

TEST_F(SlideBarTest, RangeAndPositionSettersRaiseTheirEvents) {
    const SetterCase cases[] = {
        {"a new position",
         0,
         10,
         0,
         [](TSlideBar& b) { b.SetPosition(5); },
         false,
         0,
         10,
         5,
         {"changing 5", "change 5"}},
        {"the same position", 0, 10, 5, [](TSlideBar& b) { b.SetPosition(5); }, false, 0, 10, 5, {}},
        // Intended: the value is compared before it is clamped, so a bar at its bound still hears of it.
        {"beyond Max at Max",
         0,
         100,
         100,
         [](TSlideBar& b) { b.SetPosition(150); },
         false,
         0,
         100,
         100,
         {"changing 100", "change 100"}},
        {"below Min at Min",
         0,
         10,
         0,
         [](TSlideBar& b) { b.SetPosition(-5); },
         false,
         0,
         10,
         0,
         {"changing 0", "change 0"}},
        {"beyond Max elsewhere",
         0,
         10,
         3,
         [](TSlideBar& b) { b.SetPosition(99); },
         false,
         0,
         10,
         10,
         {"changing 10", "change 10"}},
        {"refused", 0, 10, 3, [](TSlideBar& b) { b.SetPosition(7); }, true, 0, 10, 3, {"changing 7"}},
        {"Max below the position",
         0,
         10,
         5,
         [](TSlideBar& b) { b.SetMax(3); },
         false,
         0,
         3,
         3,
         {"changing 3", "change 3"}},
        {"Max not above Min",
         0,
         10,
         5,
         [](TSlideBar& b) { b.SetMax(-2); },
         false,
         0,
         1,
         1,
         {"changing 1", "change 1"}},
        {"Max equal to Min", 4, 10, 5, [](TSlideBar& b) { b.SetMax(4); }, false, 4, 5, 5, {}},
        {"Min to Max",
         0,
         10,
         5,
         [](TSlideBar& b) { b.SetMin(10); },
         false,
         9,
         10,
         9,
         {"changing 9", "change 9"}},
        {"Min beyond Max",
         0,
         10,
         5,
         [](TSlideBar& b) { b.SetMin(20); },
         false,
         9,
         10,
         9,
         {"changing 9", "change 9"}},
        {"Min below the position", 0, 10, 5, [](TSlideBar& b) { b.SetMin(-3); }, false, -3, 10, 5, {}},
        {"refused pull into the range",
         0,
         10,
         5,
         [](TSlideBar& b) { b.SetMax(2); },
         true,
         0,
         2,
         5,
         {"changing 2"}},
    };
    for (const SetterCase& c : cases) {
        Bar* bar = NewBar(200, 35);
        bar->SetMin(c.Min);
        bar->SetMax(c.Max);
        bar->SetPosition(c.Position);
        Record(bar);
        log.clear();
        refuse = c.Refuse;
        c.Act(*bar);
        EXPECT_EQ(bar->Min(), c.ExpectMin) << c.Name;
        EXPECT_EQ(bar->Max(), c.ExpectMax) << c.Name;
        EXPECT_EQ(bar->Position(), c.ExpectPosition) << c.Name;
        EXPECT_EQ(log, c.ExpectLog) << c.Name;
        delete bar;
    }
}

TEST_F(SlideBarTest, TrackWidthFollowsTheThumbStyleUnlessLoading) {
    Bar* bar = NewBar(200, 35);
    bar->SetTrackWidth(2);
    EXPECT_EQ(bar->TrackWidth(), 4);
    const std::pair<TThumbStyle, int> styles[] = {
        {tsMixer, 6}, {tsBox, 8}, {tsFlat, 6}, {tsXPBox, 8}, {tsXPPointer, 8}, {tsCustom, 8}, {tsPointer, 8}};
    for (auto [style, width] : styles) {
        bar->SetTrackWidth(12);
        bar->SetThumbStyle(style);
        EXPECT_EQ(bar->TrackWidth(), width) << style;
    }
    bar->SetTrackWidth(12);
    bar->SetLoading(true);
    bar->SetThumbStyle(tsMixer);
    bar->SetLoading(false);
    EXPECT_EQ(bar->TrackWidth(), 12);
    EXPECT_EQ(bar->ThumbImage.size(), QSize(21, 16));
    // A custom thumb makes the style custom and keeps the width.
    bar->SetCustomThumb(skinart::DrawPipSetupThumbStrip());
    EXPECT_EQ(bar->ThumbStyle(), tsCustom);
    EXPECT_EQ(bar->TrackWidth(), 12);
    EXPECT_EQ(bar->ThumbImage.size(), QSize(20, 20));
    bar->SetTickStep(0);
    EXPECT_EQ(bar->TickStep(), 1);
}

TEST_F(SlideBarTest, TheDialogBarsGeometry) {
    const struct {
        int Width, Position, ThumbLeft;
    } cases[] = {{116, 0, 4}, {116, 50, 48}, {116, 100, 92}, {117, 0, 4}, {117, 50, 48}, {117, 100, 93}};
    for (const auto& c : cases) {
        Bar* bar = NewDialogBar(c.Width);
        bar->SetPosition(c.Position);
        EXPECT_EQ(bar->Orientation(), orHorizontal);
        EXPECT_EQ(bar->CalcThumbRect(), (TRect{c.ThumbLeft, 0, c.ThumbLeft + 20, 20}))
            << c.Width << " " << c.Position;
        EXPECT_EQ(bar->CalcTrackRect(), (TRect{14, 8, c.Width - 14, 12})) << c.Width;
        delete bar;
    }
}

TEST_F(SlideBarTest, ThumbPlaceByStyleAndOrientation) {
    const struct {
        const char* Name;
        TThumbStyle Style;
        TPointerType Pointer;
        int Width, Height, Position;
        TRect Thumb;
    } cases[] = {
        // Span 200 - 11 - 8 = 181; a pointer sits 2 pixels toward its ticks, the older pointer does not.
        {"pointer", tsPointer, ptStandard, 200, 35, 5, {94, 12, 105, 33}},
        {"older pointer", tsPointer, ptWin95, 200, 35, 5, {94, 14, 105, 35}},
        {"box", tsBox, ptStandard, 200, 35, 10, {185, 14, 196, 35}},
        {"mixer", tsMixer, ptStandard, 200, 35, 0, {4, 16, 25, 32}},
        {"xp pointer", tsXPPointer, ptStandard, 200, 35, 0, {4, 12, 15, 33}},
        // Vertical: the value grows upward; the vertical pointer keeps its shift whatever the pointer type.
        {"vertical pointer at 0", tsPointer, ptWin95, 35, 200, 0, {12, 185, 33, 196}},
        {"vertical pointer at 10", tsPointer, ptStandard, 35, 200, 10, {12, 4, 33, 15}},
        {"vertical flat", tsFlat, ptStandard, 35, 200, 5, {14, 95, 34, 105}},
    };
    for (const auto& c : cases) {
        Bar* bar = NewBar(c.Width, c.Height);
        bar->SetLoading(true); // keep the track width of 8 for every style
        bar->SetThumbStyle(c.Style);
        bar->SetLoading(false);
        bar->SetPointerType(c.Pointer);
        bar->SetPosition(c.Position);
        EXPECT_EQ(bar->CalcThumbRect(), c.Thumb) << c.Name;
        delete bar;
    }
}

TEST_F(SlideBarTest, ResizingTallerThanWideMakesItVerticalWithTheVerticalPictures) {
    Bar* bar = NewBar(200, 35);
    bar->SetThumbStyle(tsBox);
    EXPECT_EQ(bar->ThumbImage.size(), QSize(11, 21));
    bar->SetBounds(10, 10, 35, 200);
    EXPECT_EQ(bar->Orientation(), orVertical);
    EXPECT_EQ(bar->ThumbImage.size(), QSize(21, 11));
    EXPECT_EQ(bar->ThumbMask.size(), QSize(21, 11));
    EXPECT_EQ(bar->ThumbLength, 11);
    EXPECT_EQ(bar->CalcTrackRect(), (TRect{20, 9, 28, 191}));
    bar->SetBounds(10, 10, 50, 50);
    EXPECT_EQ(bar->Orientation(), orHorizontal);
}

// Every pixel of the 14 roles in our pictures takes its colour, the others stay.
TEST_F(SlideBarTest, ThumbPicturesAreRecolouredIntoTheDesktopAndHighlightColours) {
    for (TSlideHotTrackColorType type : {htctComplement, htctActual}) {
        Bar* bar = NewBar(200, 35);
        bar->SetThumbStyle(tsBox);
        const TColor highlight = Rgb(255, 0, 0); // red: the old "+1" would have made it (0, 1, 0)
        const TColor hot = Rgb(40, 160, 60);
        bar->SetHighlightColor(highlight);
        bar->SetHotTrackColor(hot);
        bar->SetHotTrackColorType(type);
        TColor h1 = hot, h2 = DarkenColor(hot, 30), h3 = LightenColor(hot, 30);
        if (type == htctComplement) {
            const TColor c = OppositeHueColor(hot, 140);
            h1 = DarkenColor(c, 15), h2 = DarkenColor(c, 30), h3 = c;
        }
        const std::map<QRgb, TColor> roles = {{qRgb(192, 192, 192), clBtnFace},
                                              {qRgb(128, 128, 128), clBtnShadow},
                                              {qRgb(128, 128, 0), cl3DDkShadow},
                                              {qRgb(255, 255, 0), cl3DLight},
                                              {qRgb(0, 128, 0), LightenColor(clBtnShadow, 30)},
                                              {qRgb(0, 0, 255), highlight},
                                              {qRgb(0, 0, 128), DarkenColor(highlight, 30)},
                                              {qRgb(0, 255, 255), LightenColor(highlight, 30)},
                                              {qRgb(255, 0, 0), h1},
                                              {qRgb(128, 0, 0), h2},
                                              {qRgb(255, 0, 255), h3},
                                              {qRgb(0, 128, 128), clBtnShadow},
                                              {qRgb(128, 0, 128), DarkenColor(clBtnShadow, 30)},
                                              {qRgb(0, 255, 0), LightenColor(clBtnShadow, 30)}};
        int recoloured = 0;
        for (const auto& [name, image] : {std::pair{"SLIDEBAR_H_BOX", &bar->ThumbImage},
                                          std::pair{"SLIDEBAR_H_BOX_HOT", &bar->ThumbHotImage},
                                          std::pair{"SLIDEBAR_H_BOX_DISABLED", &bar->ThumbDisabledImage},
                                          std::pair{"SLIDEBAR_H_BOX_MASK", &bar->ThumbMask}}) {
            const QImage art = skinart::DrawSlideBarBitmap(name);
            const bool mask = std::string(name).ends_with("_MASK");
            ASSERT_EQ(art.size(), image->size()) << name;
            for (int y = 0; y < art.height(); ++y) {
                for (int x = 0; x < art.width(); ++x) {
                    const QRgb old = art.pixel(x, y);
                    const auto role = roles.find(old);
                    const QRgb expected = role != roles.end() && !mask ? RgbOf(role->second) : old;
                    recoloured += expected != old;
                    ASSERT_EQ(image->pixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF)
                        << name << " at " << x << "," << y << " type " << type;
                }
            }
        }
        EXPECT_GT(recoloured, 100);
        delete bar;
    }
}

// The dialog's bars: a transparent bar over a coloured panel, its track and its thumb's three frames.
TEST_F(SlideBarTest, TransparentBarShowsTheParentAroundTrackAndThumb) {
    Bar* bar = NewDialogBar(116);
    bar->SetPosition(0);
    ShowForm();
    QImage shown = Shown(bar);
    const QRgb parent = RgbOf(kParentColour);
    EXPECT_EQ(shown.pixel(110, 2), parent);            // no track, no thumb
    EXPECT_EQ(shown.pixel(50, 10), RgbOf(cl3DLight));  // the track
    EXPECT_EQ(shown.pixel(50, 8), RgbOf(clBtnShadow)); // its top and left sides
    EXPECT_EQ(shown.pixel(80, 9), RgbOf(cl3DLight));
    EXPECT_EQ(shown.pixel(101, 9), RgbOf(clBtnHighlight)); // right side at Width - 15
    EXPECT_EQ(shown.pixel(50, 11), RgbOf(clBtnHighlight)); // bottom side
    EXPECT_EQ(shown.pixel(102, 9), parent);                // the track ends at Width - 14
    EXPECT_EQ(shown.pixel(14, 10), qRgb(106, 156, 222));   // the knob's face (thumb at 4..24)
    EXPECT_EQ(shown.pixel(4, 0), parent);                  // the mask's white corner
    EXPECT_EQ(shown.pixel(6, 10), parent);                 // left of the knob, before the track
    EXPECT_EQ(shown.pixel(23, 10), RgbOf(cl3DLight));      // right of the knob, over the track

    bar->SetPosition(100);
    QTest::qWait(20);
    shown = Shown(bar);
    EXPECT_EQ(shown.pixel(16, 10), RgbOf(cl3DLight)); // the old place shows the track again
    EXPECT_EQ(shown.pixel(102, 10), qRgb(106, 156, 222));

    bar->SetEnabled(false);
    QTest::qWait(20);
    shown = Shown(bar);
    EXPECT_EQ(shown.pixel(50, 10), RgbOf(clBtnFace));     // a disabled track
    EXPECT_EQ(shown.pixel(102, 10), qRgb(196, 196, 196)); // the third frame
}

TEST_F(SlideBarTest, OpaqueBarFillsItselfWithItsColour) {
    Bar* bar = NewDialogBar(116);
    bar->SetTransparent(false);
    bar->SetColor(clWhite);
    bar->SetPosition(100);
    ShowForm();
    const QImage shown = Shown(bar);
    EXPECT_EQ(shown.pixel(110, 2), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(92, 0), qRgb(255, 255, 255)); // the mask's corner shows the bar's colour
    EXPECT_EQ(shown.pixel(102, 10), qRgb(106, 156, 222));
}

TEST_F(SlideBarTest, StandardTicksLieOnTheSidesTheirStyleNames) {
    const struct {
        const char* Name;
        TThumbStyle Style;
        TPointerType Pointer;
        bool Vertical;
        bool Near, Far; // ticks on the top (left) side, on the bottom (right) side
    } cases[] = {
        {"pointer", tsPointer, ptStandard, false, true, false},
        {"older pointer", tsPointer, ptWin95, false, false, true},
        {"xp pointer", tsXPPointer, ptWin95, false, true, false},
        {"box", tsBox, ptStandard, false, true, true},
        {"mixer", tsMixer, ptStandard, false, true, true},
        {"vertical pointer", tsPointer, ptWin95, true, true, false},
        {"vertical box", tsBox, ptStandard, true, true, true},
    };
    ShowForm();
    const QRgb tick = qRgb(255, 0, 0);
    for (const auto& c : cases) {
        Bar* bar = NewBar(c.Vertical ? 35 : 200, c.Vertical ? 200 : 35);
        bar->SetColor(clWhite);
        bar->SetTickColor(clRed);
        bar->SetThumbStyle(c.Style);
        bar->SetPointerType(c.Pointer);
        QTest::qWait(10);
        const QImage shown = Shown(bar);
        // The tick of Max, away from the thumb at 0: a 6-pixel line from 4 pixels off the edge.
        if (!c.Vertical) {
            const int x = bar->Width() - 4 - bar->ThumbLength + bar->HalfThumb;
            EXPECT_EQ(shown.pixel(x, 4) == tick, c.Near) << c.Name;
            EXPECT_EQ(shown.pixel(x, 9) == tick, c.Near) << c.Name;
            EXPECT_NE(shown.pixel(x, 10), tick) << c.Name;
            EXPECT_NE(shown.pixel(x, 3), tick) << c.Name;
            EXPECT_EQ(shown.pixel(x, 25) == tick, c.Far) << c.Name;
            EXPECT_EQ(shown.pixel(x, 30) == tick, c.Far) << c.Name;
            EXPECT_NE(shown.pixel(x, 31), tick) << c.Name;
            EXPECT_NE(shown.pixel(x + 1, 6), tick) << c.Name;
        } else {
            const int y = 4 + bar->HalfThumb;
            EXPECT_EQ(shown.pixel(4, y) == tick, c.Near) << c.Name;
            EXPECT_EQ(shown.pixel(9, y) == tick, c.Near) << c.Name;
            EXPECT_NE(shown.pixel(10, y), tick) << c.Name;
            EXPECT_EQ(shown.pixel(25, y) == tick, c.Far) << c.Name;
            EXPECT_EQ(shown.pixel(30, y) == tick, c.Far) << c.Name;
            EXPECT_NE(shown.pixel(31, y), tick) << c.Name;
        }
        delete bar;
    }
}

TEST_F(SlideBarTest, OwnerDrawnTicksAreAskedForEachStep) {
    Bar* bar = NewBar(200, 35);
    bar->SetTickStyle(tkOwnerDraw);
    bar->SetTickStep(5);
    bar->SetMin(-7);
    bar->SetMax(10);
    std::vector<std::tuple<int, int, int>> ticks;
    bar->OnDrawTick = [&](TSlideBar* Sender, QPainter&, QPoint At, int Index) {
        EXPECT_EQ(Sender, bar);
        ticks.emplace_back(At.x(), At.y(), Index);
    };
    ShowForm();
    QTest::qWait(10);
    // Span 181 over 17 values; the multiples of 5 from -7 to 10.
    EXPECT_EQ(ticks, (std::vector<std::tuple<int, int, int>>{
                         {9 + 21, 0, -5}, {9 + 74, 0, 0}, {9 + 127, 0, 5}, {9 + 181, 0, 10}}));
}

TEST_F(SlideBarTest, DraggingTheThumbFollowsTheMouseFromWhereItWasPressed) {
    Bar* bar = NewDialogBar(116);
    bar->SetPosition(0);
    Record(bar);
    ShowForm();
    log.clear();
    Press(16, 12); // 2 right and 2 below the knob's centre (14, 10)
    EXPECT_TRUE(bar->Dragging);
    const struct {
        int X;
        int Position;
    } moves[] = {
        {16 + 44, 50},                // 44 of 88 pixels
        {16 + 1, 1},   {16 + 11, 12}, // 12.5 goes to the even 12
        {16 + 13, 15},                // 14.77
        {250, 100},    {-5, 0},
    };
    for (const auto& m : moves) {
        Move(m.X, 30);
        EXPECT_EQ(bar->Position(), m.Position) << m.X;
    }
    Release(-5, 30);
    EXPECT_FALSE(bar->Dragging);
    Move(60, 10);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(log, (Log{"changing 50", "change 50", "changing 1", "change 1", "changing 12", "change 12",
                        "changing 15", "change 15", "changing 100", "change 100", "changing 0", "change 0"}));
}

TEST_F(SlideBarTest, DraggingAVerticalBarGrowsUpward) {
    Bar* bar = NewBar(35, 200);
    bar->SetMax(100);
    ShowForm();
    const TRect thumb = bar->CalcThumbRect(); // 12..33 x 185..196 at 0, centre (22, 190)
    Press(22, 190);
    // The track runs from 191 up to 9 (182 pixels); the centre of the odd thumb lies one above its start.
    Move(22, 100);
    EXPECT_EQ(bar->Position(), 50); // 91 of 182
    Move(22, 101);
    EXPECT_EQ(bar->Position(), 49); // 90 of 182 is 49.45
    Move(22, -5);
    EXPECT_EQ(bar->Position(), 100);
    Release(22, -5);
    EXPECT_EQ(thumb, (TRect{12, 185, 33, 196}));
}

TEST_F(SlideBarTest, ABarTooNarrowForItsThumbIgnoresDrags) {
    for (int width : {20, 28}) { // travel -8 and 0
        Bar* bar = NewDialogBar(width);
        bar->SetPosition(0);
        Record(bar);
        ShowForm();
        log.clear();
        const TRect thumb = bar->CalcThumbRect();
        Press(thumb.left + 5, 10);
        Move(thumb.left + 9, 10);
        Move(thumb.left - 3, 10);
        Release(thumb.left - 3, 10);
        EXPECT_EQ(bar->Position(), 0) << width;
        EXPECT_EQ(log, Log{}) << width;
        delete bar;
    }
}

// Holding the button on the track pages at once, after 200 ms, then every 100 ms; when the thumb reaches
// the pointer the next repeat lands on it and a drag begins.
TEST_F(SlideBarTest, PagingRepeatsUntilTheThumbReachesThePointerThenDrags) {
    Bar* bar = NewDialogBar(116);
    bar->SetPosition(0);
    bar->SetPageSize(10);
    ShowForm();
    Press(70, 10);
    EXPECT_TRUE(bar->Paging);
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_TRUE(clock->Enabled());
    const struct {
        unsigned Ms;
        int Position;
        bool Paging, Dragging;
    } steps[] = {
        {199, 10, true, false}, {1, 20, true, false},   {99, 20, true, false},  {1, 30, true, false},
        {100, 40, true, false}, {100, 50, true, false}, {100, 60, true, false}, // thumb now 56..76
        {100, 60, false, true},                                                 // the repeat lands on it
        {500, 60, false, true},
    };
    for (const auto& s : steps) {
        clock->Advance(s.Ms);
        EXPECT_EQ(bar->Position(), s.Position);
        EXPECT_EQ(bar->Paging, s.Paging);
        EXPECT_EQ(bar->Dragging, s.Dragging);
    }
    EXPECT_FALSE(clock->Enabled());
    EXPECT_EQ(clock->Interval(), 200u);
    Move(80, 10); // pressed 4 right of the centre 66: offset 80 - 14 - 4 = 62 of 88
    EXPECT_EQ(bar->Position(), 70);
    Release(80, 10);
    EXPECT_FALSE(bar->Dragging);
}

TEST_F(SlideBarTest, PagingStopsWhenTheThumbPassesThePointerOrTheButtonIsReleased) {
    Bar* bar = NewDialogBar(116);
    bar->SetPosition(0);
    bar->SetPageSize(50);
    ShowForm();
    Press(40, 10);
    EXPECT_EQ(bar->Position(), 50); // thumb at 48..68, past the pointer
    clock->Advance(200);
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_FALSE(bar->Paging);
    EXPECT_FALSE(clock->Enabled());
    Release(40, 10);

    bar->SetPageSize(1);
    Press(110 - 14, 10); // on the track beyond the thumb
    EXPECT_EQ(bar->Position(), 51);
    Release(110 - 14, 10);
    EXPECT_FALSE(clock->Enabled());
    clock->Advance(1000);
    EXPECT_EQ(bar->Position(), 51);
    // Decreasing, on the left of the thumb.
    Press(20, 10);
    clock->Advance(200);
    EXPECT_EQ(bar->Position(), 49);
    Release(20, 10);
}

TEST_F(SlideBarTest, AnErrorInARepeatStopsIt) {
    Bar* bar = NewDialogBar(116);
    bar->SetPosition(0);
    ShowForm();
    Press(100, 10);
    EXPECT_EQ(bar->Position(), 1);
    bar->OnChange = [](TObject*) { throw std::runtime_error("refused by the owner"); };
    clock->Advance(200);
    EXPECT_EQ(log, Log{"refused by the owner"});
    EXPECT_FALSE(clock->Enabled());
    EXPECT_EQ(clock->Interval(), 200u);
    clock->Advance(1000);
    EXPECT_EQ(bar->Position(), 2);
    Release(100, 10);
}

TEST_F(SlideBarTest, HoveringTheThumbMakesItHotWithTheBarsCursor) {
    Bar* bar = NewBar(200, 35);
    bar->SetThumbStyle(tsBox); // thumb 4..15 x 14..35
    ShowForm();
    Move(100, 20);
    EXPECT_FALSE(bar->ThumbHot);
    Move(8, 20);
    EXPECT_TRUE(bar->ThumbHot);
    EXPECT_EQ(bar->cursor().shape(), Qt::BitmapCursor);
    Move(100, 20);
    EXPECT_FALSE(bar->ThumbHot);
    EXPECT_EQ(bar->cursor().shape(), Qt::ArrowCursor);
    Move(8, 20);
    Move(250, 200); // off the bar
    EXPECT_FALSE(bar->ThumbHot);
}

struct KeyCase {
    const char* Name;
    bool Vertical;
    int Start;
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
    int Expected;
};

TEST_F(SlideBarTest, KeysStepThePositionInBothOrientations) {
    const KeyCase cases[] = {
        {"page up", false, 5, Qt::Key_PageUp, {}, 8},
        {"page down", false, 5, Qt::Key_PageDown, {}, 2},
        {"home horizontal", false, 5, Qt::Key_Home, {}, 0},
        {"end horizontal", false, 5, Qt::Key_End, {}, 10},
        {"home vertical", true, 5, Qt::Key_Home, {}, 10},
        {"end vertical", true, 5, Qt::Key_End, {}, 0},
        {"left", false, 5, Qt::Key_Left, {}, 4},
        {"down", true, 5, Qt::Key_Down, {}, 4},
        {"right", false, 5, Qt::Key_Right, {}, 6},
        {"up", true, 5, Qt::Key_Up, {}, 6},
        {"up on a horizontal bar", false, 5, Qt::Key_Up, {}, 6},
        {"keypad minus", false, 5, Qt::Key_Minus, Qt::KeypadModifier, 4},
        {"keypad plus", true, 5, Qt::Key_Plus, Qt::KeypadModifier, 6},
        {"minus off the keypad", false, 5, Qt::Key_Minus, {}, 5},
        {"left at Min", false, 0, Qt::Key_Left, {}, 0},
        {"right at Max", true, 10, Qt::Key_Right, {}, 10},
        {"page up near Max", false, 9, Qt::Key_PageUp, {}, 10},
        {"another key", false, 5, Qt::Key_A, {}, 5},
    };
    for (const KeyCase& c : cases) {
        Bar* bar = NewBar(c.Vertical ? 35 : 200, c.Vertical ? 200 : 35);
        bar->SetPageSize(3);
        bar->SetPosition(c.Start);
        Record(bar);
        log.clear();
        QTest::keyClick(bar, c.Key, c.Modifiers);
        EXPECT_EQ(bar->Position(), c.Expected) << c.Name;
        // A step at a bound is no step; a page beyond one is still a setting (and raises the events).
        EXPECT_EQ(log.empty(), c.Expected == c.Start) << c.Name;
        delete bar;
    }
}

TEST_F(SlideBarTest, AKeyDownHandlerCanTakeTheKey) {
    Bar* bar = NewBar(200, 35);
    bar->SetPosition(5);
    std::vector<int> seen;
    bar->OnKeyDown = [&](TObject*, int& Key, TShiftState) {
        seen.push_back(Key);
        if (Key == Qt::Key_Right)
            Key = 0;
    };
    QTest::keyClick(bar, Qt::Key_Right);
    QTest::keyClick(bar, Qt::Key_Left);
    EXPECT_EQ(bar->Position(), 4);
    EXPECT_EQ(seen, (std::vector<int>{Qt::Key_Right, Qt::Key_Left}));
}

TEST_F(SlideBarTest, EnterMovesTheFocusOnWithTabOnEnter) {
    Bar* first = NewBar(200, 35);
    Bar* second = NewBar(200, 35);
    second->SetTop(60);
    form.Show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    first->SetFocus();
    ASSERT_TRUE(first->Focused());
    QTest::keyClick(first, Qt::Key_Return);
    QTest::qWait(10);
    EXPECT_TRUE(first->Focused());
    first->SetTabOnEnter(true);
    QTest::keyClick(first, Qt::Key_Return);
    QTest::qWait(10);
    EXPECT_TRUE(second->Focused());
}

// Painting never asks the parent to paint again: after a change the paints settle.
TEST_F(SlideBarTest, RepaintsSettle) {
    struct PaintCounter : QObject {
        int Paints = 0;
        bool eventFilter(QObject*, QEvent* E) override {
            Paints += E->type() == QEvent::Paint;
            return false;
        }
    } parentPaints, barPaints;
    Bar* bar = NewDialogBar(116);
    ShowForm();
    QTest::qWait(50);
    panel->installEventFilter(&parentPaints);
    bar->installEventFilter(&barPaints);
    bar->SetPosition(30);
    bar->SetTrackColor(clRed);
    QTest::qWait(100);
    const int settled = parentPaints.Paints + barPaints.Paints;
    EXPECT_GE(barPaints.Paints, 1);
    EXPECT_LE(settled, 6);
    QTest::qWait(200);
    EXPECT_EQ(parentPaints.Paints + barPaints.Paints, settled);
}

} // namespace
