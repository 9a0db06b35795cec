#include "core/PipEdit.h"

#include <cmath>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "tests/support/CaseName.h"
#include "tests/support/PipMixer.h"

namespace {

using dshow::NORMALIZEDRECT;
using forms::ssLeft;
using testing_support::Describe;
using testing_support::PipMixer;

constexpr NORMALIZEDRECT BottomRight{0.5f, 0.5f, 1.0f, 1.0f};
constexpr NORMALIZEDRECT Centre{0.25f, 0.25f, 0.75f, 0.75f};

void ExpectNear(const NORMALIZEDRECT& Got, const NORMALIZEDRECT& Want) {
    EXPECT_NEAR(Got.left, Want.left, 1e-5) << Describe(Got);
    EXPECT_NEAR(Got.top, Want.top, 1e-5) << Describe(Got);
    EXPECT_NEAR(Got.right, Want.right, 1e-5) << Describe(Got);
    EXPECT_NEAR(Got.bottom, Want.bottom, 1e-5) << Describe(Got);
}

std::string StoredRect() {
    return PipMixer::Stored("SmallLeft") + " " + PipMixer::Stored("SmallTop") + " " +
           PipMixer::Stored("SmallRight") + " " + PipMixer::Stored("SmallBottom");
}

// The small picture's editing on the real mixer of each mixing renderer, a 640 x 480 video filling a panel
// of that size.
class PipEdit : public ::testing::TestWithParam<TRenderType> {
protected:
    void TearDown() override { RestorePipCursor(); }
    // A move over the video as the main window makes it.
    static void Move(int X, int Y, forms::TShiftState Shift) {
        UpdatePipOrientation();
        PipMouseMove(State.VideoPanelHandle, State.PipSmallStream, X, Y, Shift);
    }
};

struct HitCase {
    const char* name;
    NORMALIZEDRECT rect;
    int x, y;
    int region;
    forms::TCursor cursor;
};

// The hover cursors: the worked example of a picture at the bottom-right quarter (its right and bottom edges
// lie on the video's border and are not offered), the corners and edges of a centred picture, and a mirrored
// picture, whose left edge on the screen is its rectangle's right field.
TEST_P(PipEdit, HoverShowsTheCursorOfTheRegionUnderTheMouse) {
    const HitCase cases[] = {
        {"LeftBand", BottomRight, 325, 300, PipRegions::LeftEdge, forms::crSizeWE},
        {"LeftBandNearTheTop", BottomRight, 330, 250, PipRegions::LeftEdge, forms::crSizeWE},
        {"Inside", BottomRight, 340, 260, PipRegions::Inside, forms::crHandPoint},
        {"RightEdgeOnTheBorder", BottomRight, 635, 300, PipRegions::Elsewhere, forms::crDefault},
        {"TopBand", BottomRight, 400, 235, PipRegions::TopEdge, forms::crSizeNS},
        {"TopLeftCorner", Centre, 155, 115, PipRegions::TopLeftCorner, forms::crSizeNWSE},
        {"BottomRightCorner", Centre, 485, 365, PipRegions::BottomRightCorner, forms::crSizeNWSE},
        {"TopRightCorner", Centre, 482, 115, PipRegions::TopRightCorner, forms::crSizeNESW},
        {"BottomLeftCorner", Centre, 155, 365, PipRegions::BottomLeftCorner, forms::crSizeNESW},
        {"RightBand", Centre, 470, 300, PipRegions::RightEdge, forms::crSizeWE},
        {"BottomBand", Centre, 300, 365, PipRegions::BottomEdge, forms::crSizeNS},
        {"Outside", Centre, 50, 50, PipRegions::Elsewhere, forms::crDefault},
        {"MirroredSeenLeftBand", {1.0f, 0.5f, 0.5f, 1.0f}, 325, 300, PipRegions::LeftEdge, forms::crSizeWE},
        {"UpsideDownSeenTopBand",
         {0.25f, 0.75f, 0.75f, 0.25f},
         300,
         125,
         PipRegions::TopEdge,
         forms::crSizeNS},
    };
    PipMixer pip(GetParam());
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        PipMixer::SetRect(1, c.rect);
        Move(c.x, c.y, 0);
        EXPECT_EQ(forms::Screen().Cursor(), c.cursor);
        EXPECT_EQ(PipMixer::Rect(1), c.rect) << "a hover edits nothing";
        // The seen edges of the picture, as the hit test takes them.
        const int pl = static_cast<int>(640 * std::min(c.rect.left, c.rect.right));
        const int pr = static_cast<int>(640 * std::max(c.rect.left, c.rect.right));
        const int pt = static_cast<int>(480 * std::min(c.rect.top, c.rect.bottom));
        const int pb = static_cast<int>(480 * std::max(c.rect.top, c.rect.bottom));
        EXPECT_EQ(PipHitRegion(c.x, c.y, pl, pt, pr, pb, 0, 0, 640, 480), c.region);
    }
    EXPECT_EQ(PipMixer::Stored("PositionType"), "Value no find") << "hovering makes no free place";
}

// The edges are stored at every move over the video, the button held or not, so that they tell where the
// picture is also after a standard place (which stores none); only a drag makes the place a free one.
TEST_P(PipEdit, EveryMoveStoresTheEdgesOfWhereThePictureIs) {
    PipMixer pip(GetParam());
    SetPipStandardPosition(PipPositions::BottomRight);
    Move(100, 100, 0);
    EXPECT_EQ(StoredRect(), "50 50 100 100");
    EXPECT_EQ(PipMixer::Stored("PositionType"), "101");
    SetPipStandardPosition(PipPositions::TopLeft);
    Move(500, 400, 0);
    EXPECT_EQ(StoredRect(), "0 0 50 50");
    EXPECT_EQ(PipMixer::Stored("SmallPosition"), "1");
    EXPECT_EQ(PipMixer::Stored("PositionType"), "101");
}

struct DragCase {
    const char* name;
    NORMALIZEDRECT start;
    std::vector<std::pair<int, int>> path; // the press, then each move with the left button held
    NORMALIZEDRECT end;
    const char* stored;
};

// Drags of the small picture: every step is measured from the previous mouse position, the region is the
// press's however fast the mouse goes, a mirrored picture's seen edges move, an edge dragged across the other
// goes on moving the same edge, and a press outside the picture moves nothing.
TEST_P(PipEdit, DragsMoveAndResizeTheSmallPictureAndStoreIt) {
    const DragCase cases[] = {
        {"InsideMovesKeepingTheSize",
         BottomRight,
         {{400, 300}, {432, 300}, {464, 300}},
         {0.6f, 0.5f, 1.1f, 1.0f},
         "60 50 110 100"},
        {"FastLeftEdgeDragStaysAResize",
         BottomRight,
         {{325, 300}, {200, 300}},
         {0.3046875f, 0.5f, 1.0f, 1.0f},
         "30 50 100 100"},
        {"TopEdge", BottomRight, {{400, 235}, {400, 187}}, {0.5f, 0.4f, 1.0f, 1.0f}, "50 40 100 100"},
        {"BottomRightCornerOfTheCentre",
         Centre,
         {{485, 365}, {517, 389}},
         {0.25f, 0.25f, 0.8f, 0.8f},
         "25 25 80 80"},
        {"MirroredSeenLeftEdge",
         {1.0f, 0.5f, 0.5f, 1.0f},
         {{325, 300}, {261, 300}},
         {1.0f, 0.5f, 0.4f, 1.0f},
         "100 50 40 100"},
        {"MirroredInsideKeepsTheFlip",
         {1.0f, 0.5f, 0.5f, 1.0f},
         {{400, 300}, {336, 252}},
         {0.9f, 0.4f, 0.4f, 0.9f},
         "90 40 40 90"},
        {"LeftEdgeAcrossTheRightOne",
         Centre,
         {{160, 300}, {560, 300}, {600, 300}},
         {0.9375f, 0.25f, 0.75f, 0.75f},
         "94 25 75 75"},
        {"PressOutsideMovesNothing", Centre, {{50, 50}, {300, 300}}, Centre, "25 25 75 75"},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.name);
        PipMixer pip(GetParam());
        PipMixer::SetRect(1, c.start);
        Move(c.path.front().first, c.path.front().second, 0);
        BeginPipDrag(State.PipSmallStream, c.path.front().first, c.path.front().second,
                     State.VideoPanelHandle, forms::mbLeft);
        EXPECT_FALSE(State.PipDragging);
        for (std::size_t i = 1; i < c.path.size(); ++i)
            Move(c.path[i].first, c.path[i].second, ssLeft);
        ExpectNear(PipMixer::Rect(1), c.end);
        EXPECT_TRUE(State.PipDragging);
        EXPECT_EQ(StoredRect(), c.stored);
        EXPECT_EQ(PipMixer::Stored("PositionType"), "102");
    }
}

// A press shows the four-way cursor where the hand was; other buttons start no drag.
TEST_P(PipEdit, APressWithTheLeftButtonStartsADrag) {
    PipMixer pip(GetParam());
    PipMixer::SetRect(1, BottomRight);
    Move(400, 300, 0);
    State.PipDragX = State.PipDragY = -1;
    BeginPipDrag(1, 400, 300, State.VideoPanelHandle, forms::mbRight);
    EXPECT_EQ(State.PipDragX, -1);
    EXPECT_EQ(forms::Screen().Cursor(), forms::crHandPoint);
    BeginPipDrag(1, 400, 300, State.VideoPanelHandle, forms::mbLeft);
    EXPECT_EQ(std::pair(State.PipDragX, State.PipDragY), std::pair(400, 300));
    EXPECT_EQ(std::pair(State.PipDragWidth, State.PipDragHeight), std::pair(0.5f, 0.5f));
    EXPECT_EQ(forms::Screen().Cursor(), forms::crSizeAll);
    EXPECT_FALSE(State.PipDragging) << "a press without a move is no drag";
    RestorePipCursor();
    EXPECT_EQ(forms::Screen().Cursor(), forms::crDefault);
}

// The settings file is written when a stored value changes, not at every move: a held move that changes
// nothing leaves the file as it was (each write replaces the file, so its identity tells).
TEST_P(PipEdit, AMoveThatChangesNothingWritesNothing) {
    PipMixer pip(GetParam());
    PipMixer::SetRect(1, BottomRight);
    BeginPipDrag(1, 400, 300, State.VideoPanelHandle, forms::mbLeft);
    Move(432, 300, ssLeft);
    struct stat before {};
    ASSERT_EQ(::stat(pip.tree.IniFile().c_str(), &before), 0);
    Move(432, 300, ssLeft);
    Move(432, 300, 0);
    struct stat after {};
    ASSERT_EQ(::stat(pip.tree.IniFile().c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(StoredRect(), "55 50 105 100");
}

// With no place for the video on the screen (a minimized window) nothing is edited, no edge that is not a
// number reaches the mixer and nothing is stored.
TEST_P(PipEdit, AVideoWithoutSizeOnTheScreenIsNotEdited) {
    PipMixer pip(GetParam());
    PipMixer::SetRect(1, BottomRight);
    pip.SetDestination(0, 0, 0, 0);
    BeginPipDrag(1, 400, 300, State.VideoPanelHandle, forms::mbLeft);
    Move(450, 350, ssLeft);
    Move(500, 400, ssLeft);
    EXPECT_EQ(PipMixer::Rect(1), BottomRight);
    EXPECT_FALSE(State.PipDragging);
    EXPECT_EQ(PipMixer::Stored("PositionType"), "Value no find");
}

struct FlipCase {
    const char* name;
    void (*flip)(forms::TMenuItem*, bool);
    NORMALIZEDRECT flipped;
    TReverseType orientation;
    const char* stored;
};

// Each flip on a picture at the bottom-left quarter: the rectangle, the orientation the next move sees and
// the stored edges; the flip applied twice and NormalizePip each bring the picture back upright; a menu item
// is checked unless the flip is silent.
TEST_P(PipEdit, FlipsTurnTheSmallPictureAndTwiceUndoThemselves) {
    const NORMALIZEDRECT start{0.0f, 0.5f, 0.5f, 1.0f};
    const FlipCase cases[] = {
        {"Vertical", &FlipPipVertical, {0.0f, 1.0f, 0.5f, 0.5f}, ReverseTypes::UpsideDown, "0 100 50 50"},
        {"Mirror", &MirrorPip, {0.5f, 0.5f, 0.0f, 1.0f}, ReverseTypes::Mirrored, "50 50 0 100"},
        {"Both", &FlipPipBoth, {0.5f, 1.0f, 0.0f, 0.5f}, ReverseTypes::Both, "50 100 0 50"},
    };
    for (const FlipCase& c : cases) {
        SCOPED_TRACE(c.name);
        PipMixer pip(GetParam());
        PipMixer::SetRect(1, start);
        forms::TMenuItem item;
        c.flip(&item, false);
        EXPECT_EQ(PipMixer::Rect(1), c.flipped);
        EXPECT_TRUE(item.Checked());
        UpdatePipOrientation();
        EXPECT_EQ(State.ReverseType, c.orientation);
        EXPECT_EQ(StoredRect(), c.stored);
        EXPECT_EQ(PipMixer::Stored("PositionType"), "102");
        forms::TMenuItem silent;
        c.flip(&silent, true);
        EXPECT_EQ(PipMixer::Rect(1), start);
        EXPECT_FALSE(silent.Checked());
        c.flip(nullptr, true);
        NormalizePip(nullptr, true);
        EXPECT_EQ(PipMixer::Rect(1), start);
        UpdatePipOrientation();
        EXPECT_EQ(State.ReverseType, ReverseTypes::Normal);
        EXPECT_EQ(StoredRect(), "0 50 50 100");
    }
}

// Each edge bar moves its edge by the bar's own change: 10 to 20 moves it by 0.10 and stores it; the bar's
// last position follows.
TEST_P(PipEdit, EdgeBarsMoveTheirEdgeByTheBarsChange) {
    struct EdgeCase {
        const char* name;
        void (*adjust)(int, int&, int);
        NORMALIZEDRECT moved;
        const char* stored;
    } const cases[] = {
        {"Left", &AdjustPipLeft, {0.2f, 0.1f, 0.5f, 0.5f}, "20 10 50 50"},
        {"Top", &AdjustPipTop, {0.1f, 0.2f, 0.5f, 0.5f}, "10 20 50 50"},
        {"Right", &AdjustPipRight, {0.1f, 0.1f, 0.6f, 0.5f}, "10 10 60 50"},
        {"Bottom", &AdjustPipBottom, {0.1f, 0.1f, 0.5f, 0.6f}, "10 10 50 60"},
    };
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        PipMixer pip(GetParam());
        PipMixer::SetRect(1, {0.1f, 0.1f, 0.5f, 0.5f});
        int last = 10;
        c.adjust(1, last, 20);
        EXPECT_EQ(last, 20);
        ExpectNear(PipMixer::Rect(1), c.moved);
        EXPECT_EQ(StoredRect(), c.stored);
        EXPECT_EQ(PipMixer::Stored("PositionType"), "102");
    }
}

// The alpha bars show each stream's alpha as a whole percent and set it.
TEST_P(PipEdit, AlphaBarsShowAndSetEachPicturesAlpha) {
    PipMixer pip(GetParam());
    int a = -1, b = -1;
    LoadPipAlphaBars(a, b);
    EXPECT_EQ(std::pair(a, b), std::pair(80, 60));
    SetPipAlpha(1, 29);
    EXPECT_FLOAT_EQ(PipMixer::Alpha(1), 0.29f);
    LoadPipAlphaBars(a, b);
    EXPECT_EQ(b, 29) << "a bar set to 29 shows 29 again";
    EXPECT_EQ(PipMixer::Stored("PositionType"), "Value no find") << "alphas are not stored";
}

INSTANTIATE_TEST_SUITE_P(Renderers, PipEdit, ::testing::Values(RenderTypes::Vmr7, RenderTypes::Vmr9),
                         [](const auto& Info) { return Info.param == RenderTypes::Vmr7 ? "Vmr7" : "Vmr9"; });

// Percent edges are stored rounded to the nearest whole number. (Truncating them, which the original
// behaviour did, stores an edge of 0.29 held as a float just below it as 28, and the setup dialog then shows
// a value the user never chose.)
TEST(PipPercent, EdgesAreRoundedToTheNearestPercent) {
    struct {
        float edge;
        int percent;
    } const cases[] = {{0.29f, 29},   {0.0f, 0},   {1.0f, 100},  {0.5f, 50},
                       {-0.29f, -29}, {1.5f, 150}, {0.994f, 99}, {0.996f, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(PipPercent(c.edge), c.percent) << c.edge;
    ASSERT_LT(static_cast<double>(0.29f) * 100.0, 29.0) << "the float lies below 29";
}

// An edge set by the setup dialog to 29 stays 29 in the settings after the picture is flipped and back.
TEST(PipPercent, AnEdgeOf29IsStored29) {
    PipMixer pip(RenderTypes::Vmr9);
    SetPipCustomRect(29, 10, 60, 50);
    MirrorPip(nullptr, true);
    MirrorPip(nullptr, true);
    EXPECT_EQ(StoredRect(), "29 10 60 50");
}

// Without a mixer (renderer 1000) the edits do nothing and store nothing; a flip's menu item stays unchecked;
// the bar's last position still follows the bar.
TEST(PipEditWithoutMixer, NothingIsEditedOrStored) {
    PipMixer pip(RenderTypes::OwnRenderer);
    forms::TMenuItem item;
    FlipPipVertical(&item, false);
    MirrorPip(&item, false);
    NormalizePip(&item, false);
    EXPECT_FALSE(item.Checked());
    int last = 10;
    AdjustPipLeft(1, last, 30);
    EXPECT_EQ(last, 30);
    int a = -1, b = -1;
    LoadPipAlphaBars(a, b);
    EXPECT_EQ(std::pair(a, b), std::pair(-1, -1));
    BeginPipDrag(1, 100, 100, State.VideoPanelHandle, forms::mbLeft);
    PipMouseMove(State.VideoPanelHandle, 1, 200, 200, ssLeft);
    EXPECT_FALSE(State.PipDragging);
    EXPECT_EQ(PipMixer::Stored("PositionType"), "Value no find");
    EXPECT_EQ(PipMixer::Stored("SmallLeft"), "Value no find");
}

} // namespace
