#include "skin/SlideGrafx.h"

#include <string>
#include <vector>

#include <QImage>

#include <gtest/gtest.h>

#include "tests/support/QtApp.h"

using namespace forms;
using win32::BYTE;
using win32::RGB;

namespace {

struct Hsl {
    int H, S, L;
    friend bool operator==(const Hsl&, const Hsl&) = default;
};

void PrintTo(const Hsl& V, std::ostream* Os) {
    *Os << "(" << V.H << ", " << V.S << ", " << V.L << ")";
}

Hsl HslOf(TColor Color) {
    BYTE h = 0, s = 0, l = 0;
    ColorToHslScale(Color, h, s, l);
    return {h, s, l};
}

TColor Rgb(int R, int G, int B) {
    return static_cast<TColor>(RGB(static_cast<BYTE>(R), static_cast<BYTE>(G), static_cast<BYTE>(B)));
}

TEST(ColorToHslScale, GivesTheScaleValuesHalvesToTheEvenOne) {
    const struct {
        TColor Color;
        Hsl Expected;
    } cases[] = {
        {Rgb(255, 0, 0), {0, 240, 120}},
        {Rgb(255, 255, 255), {0, 0, 240}},
        {Rgb(0, 0, 0), {0, 0, 0}},
        {Rgb(128, 128, 128), {0, 0, 120}},
        {Rgb(0, 0, 255), {160, 240, 120}},
        {Rgb(255, 0, 255), {200, 240, 120}},
        // The hue lands on 152.5 exactly: it goes to the even 152 (rounding halves up would give 153).
        {Rgb(0, 3, 16), {152, 240, 8}},
        // A system colour is taken at its RGB value (button shadow is grey 128).
        {clBtnShadow, {0, 0, 120}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HslOf(c.Color), c.Expected) << std::hex << c.Color;
    EXPECT_EQ(HueOfColor(Rgb(0, 3, 16)), 152);
}

TEST(HslScaleToColor, GivesTheColoursWithTheHueTakenOver239) {
    const struct {
        Hsl Value;
        TColor Expected;
    } cases[] = {
        // Intended: the hue is divided by 239, so pure blue's hue comes back slightly turned toward red.
        {{160, 240, 120}, Rgb(4, 0, 255)},
        {{0, 240, 120}, Rgb(255, 0, 0)},
        {{80, 240, 120}, Rgb(0, 255, 2)},
        {{120, 240, 120}, Rgb(0, 252, 255)},
        // 239 and 240 make a sixth of 6 and above, drawn as the first sixth.
        {{239, 240, 120}, Rgb(255, 0, 0)},
        {{240, 240, 120}, Rgb(255, 6, 0)},
        {{40, 120, 60}, Rgb(95, 96, 32)},
        {{0, 0, 240}, Rgb(255, 255, 255)},
        {{0, 0, 255}, Rgb(255, 255, 255)}, // past white: components stop at 1
        {{0, 0, 0}, Rgb(0, 0, 0)},
        {{160, 240, 0}, Rgb(0, 0, 0)},
        {{240, 17, 0}, Rgb(0, 0, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HslScaleToColor(c.Value.H, c.Value.S, c.Value.L), c.Expected)
            << c.Value.H << " " << c.Value.S << " " << c.Value.L;
}

TEST(DerivedColours, LightenDarkenAndTheOppositeHue) {
    const struct {
        const char* What;
        TColor Got;
        TColor Expected;
    } cases[] = {
        {"lighten grey", LightenColor(Rgb(128, 128, 128), 30), Rgb(159, 159, 159)},
        {"darken grey", DarkenColor(Rgb(128, 128, 128), 30), Rgb(96, 96, 96)},
        {"lighten white stays white", LightenColor(Rgb(255, 255, 255), 30), Rgb(255, 255, 255)},
        // Luminance 226 + 30 goes past 240 (the limit is 255): white.
        {"lighten near white", LightenColor(Rgb(240, 240, 240), 30), Rgb(255, 255, 255)},
        {"darken below 30 is black", DarkenColor(Rgb(20, 10, 10), 30), Rgb(0, 0, 0)},
        // Fuchsia has hue 200: the opposite hue is 80.
        {"opposite of hue 200", OppositeHueColor(Rgb(255, 0, 255), 120), HslScaleToColor(80, 240, 120)},
        {"opposite of hue 0", OppositeHueColor(Rgb(255, 0, 0), 120), Rgb(0, 252, 255)},
        {"system colours too", LightenColor(clBtnShadow, 30), Rgb(159, 159, 159)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Got, c.Expected) << c.What;
    EXPECT_EQ(HslScaleToColor(80, 240, 120), Rgb(0, 255, 2));
}

TEST(SmallerAndLargerOf, PickTheirSide) {
    EXPECT_EQ(SmallerOf(3, -2), -2);
    EXPECT_EQ(LargerOf(3, -2), 3);
    EXPECT_EQ(SmallerOf(5, 5), 5);
}

// Frames are drawn on an 8 x 7 picture over the rectangle (1, 1, 7, 6) and read back as letters:
// '.' untouched, S button shadow, H button highlight, D 3-D dark shadow, L 3-D light, T button text, R red.
constexpr TRect kFrameRect{1, 1, 7, 6};

std::vector<std::string> Letters(const QImage& Image) {
    const std::pair<TColor, char> names[] = {{clBtnShadow, 'S'}, {clBtnHighlight, 'H'}, {cl3DDkShadow, 'D'},
                                             {cl3DLight, 'L'},   {clBtnText, 'T'},      {clRed, 'R'}};
    std::vector<std::string> rows;
    for (int y = 0; y < Image.height(); ++y) {
        std::string row;
        for (int x = 0; x < Image.width(); ++x) {
            const QRgb p = Image.pixel(x, y);
            char c = '?';
            if (p == qRgb(1, 2, 3))
                c = '.';
            for (const auto& [colour, letter] : names)
                if (p == ToQColor(colour).rgb())
                    c = letter;
            row += c;
        }
        rows.push_back(row);
    }
    return rows;
}

template <class Draw> std::vector<std::string> Drawn(Draw Paint) {
    QImage image(8, 7, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    {
        QPainter canvas(&image);
        Paint(canvas);
    }
    return Letters(image);
}

struct FrameCase {
    const char* Name;
    TFrameStyle Style;
    TSides Sides;
    std::vector<std::string> Expected;
    TRect Inner;
};

class FrameStyles : public ::testing::TestWithParam<FrameCase> {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
};

TEST_P(FrameStyles, DrawExactlyTheirPixelsAndGiveTheInnerRectangle) {
    const FrameCase& c = GetParam();
    TRect inner;
    const auto rows =
        Drawn([&](QPainter& canvas) { PaintFrameSides(canvas, kFrameRect, c.Style, inner, c.Sides); });
    EXPECT_EQ(rows, c.Expected);
    EXPECT_EQ(inner, c.Inner);
    if (c.Sides == sdAll) {
        TRect frameInner;
        const auto frame =
            Drawn([&](QPainter& canvas) { PaintFrame(canvas, kFrameRect, c.Style, frameInner); });
        EXPECT_EQ(frame, c.Expected);
        EXPECT_EQ(frameInner, c.Inner);
    }
}

const std::string kEmpty = "........";

INSTANTIATE_TEST_SUITE_P(
    Table, FrameStyles,
    ::testing::Values(
        FrameCase{
            "None", fsNone, sdAll, {kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty}, {1, 1, 7, 6}},
        FrameCase{"Flat",
                  fsFlat,
                  sdAll,
                  {kEmpty, ".DDDDDD.", ".D....D.", ".D....D.", ".D....D.", ".DDDDDD.", kEmpty},
                  {2, 2, 6, 5}},
        FrameCase{"Status",
                  fsStatus,
                  sdAll,
                  {kEmpty, ".SSSSSH.", ".S....H.", ".S....H.", ".S....H.", ".HHHHHH.", kEmpty},
                  {2, 2, 6, 5}},
        FrameCase{"Popup",
                  fsPopup,
                  sdAll,
                  {kEmpty, ".HHHHHS.", ".H....S.", ".H....S.", ".H....S.", ".SSSSSS.", kEmpty},
                  {2, 2, 6, 5}},
        FrameCase{"FlatBold",
                  fsFlatBold,
                  sdAll,
                  {kEmpty, ".SSSSSS.", ".SSSSSS.", ".SS..SS.", ".SSSSSS.", ".SSSSSS.", kEmpty},
                  {3, 3, 5, 4}},
        FrameCase{"Raised",
                  fsRaised,
                  sdAll,
                  {kEmpty, ".LLLLLD.", ".LHHHSD.", ".LH..SD.", ".LSSSSD.", ".DDDDDD.", kEmpty},
                  {3, 3, 5, 4}},
        FrameCase{"Lowered",
                  fsLowered,
                  sdAll,
                  {kEmpty, ".SSSSSH.", ".SDDDLH.", ".SD..LH.", ".SLLLLH.", ".HHHHHH.", kEmpty},
                  {3, 3, 5, 4}},
        FrameCase{"ButtonUp",
                  fsButtonUp,
                  sdAll,
                  {kEmpty, ".HHHHHD.", ".HLLLSD.", ".HL..SD.", ".HSSSSD.", ".DDDDDD.", kEmpty},
                  {3, 3, 5, 4}},
        FrameCase{"ButtonDown",
                  fsButtonDown,
                  sdAll,
                  {kEmpty, ".TTTTTT.", ".TSSSST.", ".TS..ST.", ".TSSSST.", ".TTTTTT.", kEmpty},
                  {3, 3, 5, 4}},
        FrameCase{"Groove",
                  fsGroove,
                  sdAll,
                  {kEmpty, ".SSSSSH.", ".SHHHSH.", ".SH..SH.", ".SSSSSH.", ".HHHHHH.", kEmpty},
                  {3, 3, 5, 4}},
        FrameCase{"Bump",
                  fsBump,
                  sdAll,
                  {kEmpty, ".HHHHHS.", ".HSSSHS.", ".HS..HS.", ".HHHHHS.", ".SSSSSS.", kEmpty},
                  {3, 3, 5, 4}},
        // Only some sides: the others are neither drawn nor moved.
        FrameCase{"StatusLeftTop",
                  fsStatus,
                  sdLeft | sdTop,
                  {kEmpty, ".SSSSSS.", ".S......", ".S......", ".S......", ".S......", kEmpty},
                  {2, 2, 7, 6}},
        FrameCase{"GrooveTopOnly",
                  fsGroove,
                  sdTop,
                  {kEmpty, ".SSSSSS.", ".HHHHHH.", kEmpty, kEmpty, kEmpty, kEmpty},
                  {1, 3, 7, 6}},
        FrameCase{"GrooveRightBottom",
                  fsGroove,
                  sdRight | sdBottom,
                  {kEmpty, ".....SH.", ".....SH.", ".....SH.", ".SSSSSH.", ".HHHHHH.", kEmpty},
                  {1, 1, 5, 4}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(PaintSides, NoneAsOneColourDrawsOnlyTheOtherSidesButShrinksAllFour) {
    testing_support::EnsureQApplication();
    TRect inner;
    const auto rows =
        Drawn([&](QPainter& canvas) { PaintSides(canvas, kFrameRect, clNone, inner, sdAll, clRed); });
    EXPECT_EQ(rows, (std::vector<std::string>{kEmpty, "......R.", "......R.", "......R.", "......R.",
                                              ".RRRRRR.", kEmpty}));
    EXPECT_EQ(inner, (TRect{2, 2, 6, 5}));
}

TEST(PaintBevel, DrawsItsCountOfRingsEachInsideTheLast) {
    testing_support::EnsureQApplication();
    TRect inner;
    const auto rows = Drawn([&](QPainter& canvas) {
        PaintBevel(canvas, TRect{0, 0, 8, 7}, clBtnHighlight, inner, sdAll, 3, clRed);
    });
    EXPECT_EQ(rows, (std::vector<std::string>{"HHHHHHHR", "HHHHHHRR", "HHHHHRRR", "HHH..RRR", "HHRRRRRR",
                                              "HRRRRRRR", "RRRRRRRR"}));
    EXPECT_EQ(inner, (TRect{3, 3, 5, 4}));
}

} // namespace
