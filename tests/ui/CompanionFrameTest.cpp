// The companion windows' scroll model over both windows' parameters (pitch 24 and step 24; pitch 90 and step
// 55), with the rows as plain tops: the rows stay at T + P x i, the bounds and the thumb stay inside their
// limits, and the steps move by exactly what they should. Then the frame itself: its smallest size and the
// wheel message.

#include <random>
#include <vector>

#include <QTest>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "platform/win32/Window.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"
#include "ui/CaptureForm.h"
#include "ui/CompanionFrame.h"
#include "ui/ListForm.h"

namespace {

struct Window {
    const char* name;
    TRowScroll::TParams params;
};

const Window PlayList{"PlayList", {10, 24, 24, true, false}};
const Window CaptureList{"CaptureList", {10, 90, 55, false, true}};

// A list of rows that are only their tops, moved as the window moves its rows.
class Rows {
public:
    Rows(TRowScroll::TParams Params, int ListHeight) : scroll(Params) {
        scroll.ScrollContents = [this](int Dy) {
            for (int& top : tops)
                top += Dy;
            ++scrolls;
        };
        Resize(ListHeight);
        scroll.Refit();
    }
    void Resize(int ListHeight) {
        scroll.ListHeight = ListHeight;
        scroll.TrackTop = 12;
        scroll.TrackHeight = ListHeight - 24;
    }
    void Append(int Count = 1) {
        for (int i = 0; i < Count; ++i)
            scroll.Append([this](int Top) { tops.push_back(Top); });
    }
    void Remove(int Index) {
        const int oldTop = tops[static_cast<std::size_t>(Index)];
        tops.erase(tops.begin() + Index);
        for (std::size_t i = static_cast<std::size_t>(Index); i < tops.size(); ++i)
            tops[i] -= scroll.Params().P;
        scroll.RowRemoved(oldTop);
    }
    int P() const { return scroll.Params().P; }
    int M() const { return scroll.Params().M; }

    // Everything that must hold after every step.
    void ExpectInvariants(const std::string& After) const {
        SCOPED_TRACE(After);
        const auto& s = scroll;
        ASSERT_EQ(s.C, P() * static_cast<int>(tops.size()));
        ASSERT_EQ(s.B, s.T + s.C);
        for (std::size_t i = 0; i < tops.size(); ++i)
            ASSERT_EQ(tops[i], s.T + P() * static_cast<int>(i)) << "row " << i;
        ASSERT_LE(s.T, M()) << "the first row never below the top margin";
        const int room = s.C - (s.V - M());
        if (room > 0) {
            ASSERT_GE(s.B, s.V) << "the last row never above the last slot";
            ASSERT_TRUE(s.BarVisible);
            ASSERT_GE(s.ThumbHeight, 6);
            ASSERT_GE(s.ThumbTop, s.TrackTop);
            ASSERT_LE(s.ThumbTop + s.ThumbHeight, s.TrackTop + s.TrackHeight);
            ASSERT_GE(s.Fraction, 0.0);
            ASSERT_LE(s.Fraction, 1.0);
        } else {
            ASSERT_EQ(s.T, M()) << "rows that fit start at the top margin";
            ASSERT_FALSE(s.BarVisible);
        }
    }

    TRowScroll scroll;
    std::vector<int> tops;
    int scrolls = 0;
};

class ScrollModel : public ::testing::TestWithParam<Window> {
protected:
    TRowScroll::TParams Params() const { return GetParam().params; }
};

// A long random walk over every step, with the window resized now and then: the invariants never break.
TEST_P(ScrollModel, EveryStepKeepsRowsBoundsAndThumbInAgreement) {
    std::mt19937 random(12345);
    const int minimum = TRowScroll(Params()).MinimumListHeight();
    for (int height : {minimum, minimum + 7, 150, 260, 431}) {
        Rows rows(Params(), height);
        for (int step = 0; step < 400; ++step) {
            const int what = static_cast<int>(random() % 9);
            std::string name;
            switch (what) {
            case 0:
            case 1:
                rows.Append();
                name = "append";
                break;
            case 2:
                rows.scroll.StepUp();
                name = "step up";
                break;
            case 3:
                rows.scroll.StepDown();
                name = "step down";
                break;
            case 4:
                rows.scroll.Wheel(random() % 2 ? 120 : 65416);
                name = "wheel";
                break;
            case 5:
                rows.scroll.DragThumb(static_cast<int>(random() % 81) - 40);
                name = "drag";
                break;
            case 6:
                if (!rows.tops.empty()) {
                    rows.Remove(static_cast<int>(random() % rows.tops.size()));
                    name = "remove";
                }
                break;
            case 7:
                rows.Resize(std::max(minimum, height + static_cast<int>(random() % 201) - 100));
                rows.scroll.Refit();
                name = "resize";
                break;
            default:
                if (!rows.tops.empty())
                    rows.scroll.ScrollIntoView(rows.tops[random() % rows.tops.size()]);
                name = "into view";
                break;
            }
            rows.ExpectInvariants("height " + std::to_string(height) + ", step " + std::to_string(step) +
                                  " (" + name + ")");
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST_P(ScrollModel, RowsThatFitDoNotScroll) {
    Rows rows(Params(), 431);
    rows.Append(2);
    const std::vector<int> tops = rows.tops;
    rows.scroll.Wheel(120);
    rows.scroll.Wheel(65416);
    rows.scroll.StepUp();
    rows.scroll.StepDown();
    rows.scroll.DragThumb(30);
    EXPECT_EQ(rows.tops, tops);
    EXPECT_EQ(rows.tops.front(), 10);
    EXPECT_FALSE(rows.scroll.BarVisible);
}

// However the list was scrolled before, an append that overflows ends with the new row in the last slot
// and the thumb at the bottom of its track.
TEST_P(ScrollModel, AnOverflowingAppendShowsTheNewRowInTheLastSlot) {
    Rows rows(Params(), 260);
    rows.Append(12);
    for (int ups : {0, 1, 3, 50}) {
        for (int i = 0; i < ups; ++i)
            rows.scroll.StepUp();
        rows.Append();
        const auto& s = rows.scroll;
        EXPECT_EQ(rows.tops.back(), s.V - rows.P()) << ups << " steps up before";
        EXPECT_EQ(s.B, s.V);
        EXPECT_EQ(s.ThumbTop + s.ThumbHeight, s.TrackTop + s.TrackHeight);
        EXPECT_DOUBLE_EQ(s.Fraction, 1.0);
        rows.ExpectInvariants("after " + std::to_string(ups) + " steps up");
    }
}

// One notch moves the rows by exactly the scroll step (24 and 55 pixels); any other delta does nothing.
TEST_P(ScrollModel, OneWheelNotchMovesExactlyOneStep) {
    Rows rows(Params(), 431);
    rows.Append(20);
    rows.scroll.Wheel(120);
    const int top = rows.tops.front();
    rows.scroll.Wheel(120);
    EXPECT_EQ(rows.tops.front() - top, Params().S);
    for (unsigned other : {240u, 65296u, 60u, 1u, 0u}) {
        rows.scroll.Wheel(other);
        EXPECT_EQ(rows.tops.front() - top, Params().S) << other;
    }
    rows.scroll.Wheel(65416);
    EXPECT_EQ(rows.tops.front(), top);
    // Up to the top margin and no further.
    for (int i = 0; i < 100; ++i)
        rows.scroll.Wheel(120);
    EXPECT_EQ(rows.tops.front(), 10);
    EXPECT_EQ(rows.scroll.ThumbTop, rows.scroll.TrackTop);
}

// Removing the last row of a list scrolled to its end brings the rows down so that the new last row sits in
// the last slot; removing until everything fits puts the first row back at the top margin.
TEST_P(ScrollModel, RemovingAtTheEndPullsTheRowsDown) {
    Rows rows(Params(), 260);
    rows.Append(10);
    const int v = rows.scroll.V;
    while (!rows.tops.empty()) {
        rows.Remove(static_cast<int>(rows.tops.size()) - 1);
        rows.ExpectInvariants(std::to_string(rows.tops.size()) + " rows left");
        if (rows.scroll.C >= v - 10) {
            EXPECT_EQ(rows.tops.back() + rows.P(), v);
        } else if (!rows.tops.empty()) {
            EXPECT_EQ(rows.tops.front(), 10);
        }
    }
}

TEST_P(ScrollModel, ShrinkingShowsTheBarAndGrowingHidesIt) {
    Rows rows(Params(), 431);
    rows.Append(3);
    EXPECT_FALSE(rows.scroll.BarVisible);
    rows.Resize(rows.scroll.MinimumListHeight());
    rows.scroll.Refit();
    EXPECT_TRUE(rows.scroll.BarVisible);
    rows.scroll.StepDown();
    EXPECT_LT(rows.tops.front(), 10);
    rows.Resize(431);
    rows.scroll.Refit();
    EXPECT_FALSE(rows.scroll.BarVisible);
    EXPECT_EQ(rows.tops.front(), 10);
    rows.ExpectInvariants("grown again");
}

INSTANTIATE_TEST_SUITE_P(Windows, ScrollModel, ::testing::Values(PlayList, CaptureList),
                         [](const auto& Info) { return std::string(Info.param.name); });

// The thumb dragged past either end stops there; a thumb outside its track does not move.
TEST(DragScrollThumb, StaysInsideTheTrack) {
    struct Case {
        int thumbTop, dy, expected;
    };
    for (const Case c : {Case{20, 5, 25}, Case{20, -100, 12}, Case{20, 500, 12 + 100 - 30}, Case{5, 10, 5},
                         Case{200, -10, 200}}) {
        win32::POINT origin{0, 100};
        int top = c.thumbTop;
        DragScrollThumb(origin, win32::POINT{3, 100 + c.dy}, top, 30, 12, 100);
        EXPECT_EQ(top, c.expected) << c.thumbTop << " by " << c.dy;
        EXPECT_EQ(origin.y, 100 + c.dy);
    }
}

class CompanionFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    testing_support::RunTree tree;
};

// Neither a resize by the edges nor a new size from code makes the window smaller than one row slot over a
// track taller than the smallest thumb.
TEST_F(CompanionFrameTest, TheWindowHasASmallestSize) {
    TList_Form window;
    window.SetBounds(100, 100, 200, 300);
    window.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.DragOrigin = {150, 400};
    window.ResizeByBorderTo(forms::ssLeft, 2, {150, 0});
    EXPECT_EQ(window.Height(), window.MinimumHeight());
    EXPECT_EQ(window.Top(), 100);
    window.SetBounds(100, 100, 200, 300);
    window.DragOrigin = {150, 100};
    window.ResizeByBorderTo(forms::ssLeft, 1, {150, 900});
    EXPECT_EQ(window.Height(), window.MinimumHeight());
    EXPECT_EQ(window.Top() + window.Height(), 400) << "the bottom edge stays";
    window.SetBounds(100, 100, 10, 10);
    EXPECT_EQ(window.Height(), window.MinimumHeight());
    EXPECT_EQ(window.Width(), window.MinimumWidth());
    EXPECT_GE(window.ListArea->Height(), 10 + 24);
    // A move without the left button held does nothing.
    window.DragOrigin = {0, 0};
    window.ResizeByBorderTo(0, 4, {50, 0});
    EXPECT_EQ(window.Width(), window.MinimumWidth());
    window.ResizeByBorderTo(forms::ssLeft, 4, {50, 0});
    EXPECT_EQ(window.Width(), window.MinimumWidth() + 50);
}

// The bars and the close button follow the width.
TEST_F(CompanionFrameTest, BarsFollowTheWidth) {
    TList_Form window;
    window.Show();
    for (int width : {200, 320}) {
        window.SetBounds(0, 0, width, 300);
        EXPECT_EQ(window.Close_xi->Left(), width - 24);
        EXPECT_EQ(window.TopBar_xi->Width(), width - 24 - 2);
        EXPECT_EQ(window.BottomBar_xi->Width(), width - 4);
        EXPECT_EQ(window.BottomBar_xi->Top(), 16 - 2 - 1);
    }
}

// The logo of both windows shows the whole name: the blue "DVD" after "Tarvex" ends before the picture's
// right edge, with the title strip's colour after it.
TEST_F(CompanionFrameTest, TheTitleLogoShowsTheWholeName) {
    TList_Form list;
    TCapture_Form capture;
    for (TCompanionFrame* window : std::initializer_list<TCompanionFrame*>{&list, &capture}) {
        SCOPED_TRACE(window->Name());
        const QImage logo = window->Image2->Picture().Image();
        ASSERT_EQ(logo.size(), QSize(window->Image2->Width(), window->Image2->Height()));
        int rightmostBlue = -1;
        for (int x = 0; x < logo.width(); ++x)
            for (int y = 0; y < logo.height(); ++y) {
                const QColor c = logo.pixelColor(x, y);
                if (c.blue() > c.red() + 40)
                    rightmostBlue = x;
            }
        EXPECT_GT(rightmostBlue, logo.width() / 2);
        EXPECT_LT(rightmostBlue, logo.width() - 1) << "cut at the edge";
    }
}

} // namespace
