#include "skin/SlideGrafx.h"

#include <algorithm>
#include <cmath>

using forms::TColor;
using win32::BYTE;

namespace {

// The nearest integer, the even one of two at a half.
int Nearest(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}

void FillPixels(QPainter& Canvas, int X, int Y, int Width, int Height, TColor Color) {
    if (Width <= 0 || Height <= 0)
        return;
    Canvas.fillRect(QRect(X, Y, Width, Height), forms::ToQColor(Color));
}

void Pixel(QPainter& Canvas, int X, int Y, TColor Color) {
    FillPixels(Canvas, X, Y, 1, 1, Color);
}

// The rectangle with each side in Sides moved inward by By.
TRect Shrunk(const TRect& Rect, TSides Sides, int By) {
    TRect r = Rect;
    if (Sides & sdLeft)
        r.left += By;
    if (Sides & sdTop)
        r.top += By;
    if (Sides & sdRight)
        r.right -= By;
    if (Sides & sdBottom)
        r.bottom -= By;
    return r;
}

void PaintTwoBevels(QPainter& Canvas, const TRect& Rect, TColor OuterUL, TColor OuterLR, TColor InnerUL,
                    TColor InnerLR, TRect& Inner, TSides Sides) {
    TRect outer;
    PaintBevel(Canvas, Rect, OuterUL, outer, Sides, 1, OuterLR);
    PaintBevel(Canvas, outer, InnerUL, Inner, Sides, 1, InnerLR);
}

void PaintGroove(QPainter& Canvas, const TRect& Rect, TColor UL, TColor LR, TRect& Inner, TSides Sides) {
    const auto [L, T, R, B] = Rect;
    const bool left = Sides & sdLeft, top = Sides & sdTop, right = Sides & sdRight, bottom = Sides & sdBottom;
    if (right)
        Pixel(Canvas, R - 1, T, LR);
    if (top && !right)
        Pixel(Canvas, R - 1, T, UL);
    if (bottom)
        Pixel(Canvas, L, B - 1, LR);
    if (left && !bottom)
        Pixel(Canvas, L, B - 1, UL);
    if (top && !left)
        Pixel(Canvas, L, T + 1, LR);
    if (left && !top)
        Pixel(Canvas, L + 1, T, LR);
    if (bottom && !right)
        Pixel(Canvas, R - 1, B - 2, UL);
    if (right && !bottom)
        Pixel(Canvas, R - 2, B - 1, UL);
    TRect unused;
    const TRect lower{L + 1, T + 1, R, B};
    PaintSides(Canvas, lower, LR, unused, Sides, LR);
    PaintSides(Canvas, TRect{lower.left - 1, lower.top - 1, lower.right - 1, lower.bottom - 1}, UL, unused,
               Sides, UL);
    Inner = Shrunk(Rect, Sides, 2);
}

} // namespace

void ColorToHslScale(TColor Color, BYTE& H, BYTE& S, BYTE& L) {
    const win32::COLORREF rgb = forms::ColorToRGB(Color);
    const double r = win32::GetRValue(rgb) / 255.0;
    const double g = win32::GetGValue(rgb) / 255.0;
    const double b = win32::GetBValue(rgb) / 255.0;
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    const double l = (mx + mn) / 2;
    double h = 0;
    double s = 0;
    if (mx != mn) {
        const double d = mx - mn;
        s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
        if (r == mx)
            h = (g - b) / d;
        else if (g == mx)
            h = 2 + (b - r) / d;
        else
            h = 4 + (r - g) / d;
        h = h / 6;
        if (h < 0)
            h = h + 1;
    }
    H = static_cast<BYTE>(Nearest(h * 240));
    S = static_cast<BYTE>(Nearest(s * 240));
    L = static_cast<BYTE>(Nearest(l * 240));
}

BYTE HueOfColor(TColor Color) {
    BYTE h = 0, s = 0, l = 0;
    ColorToHslScale(Color, h, s, l);
    return h;
}

TColor HslScaleToColor(int H, int S, int L) {
    const double h = H / 239.0;
    const double s = S / 240.0;
    const double l = L / 240.0;
    const double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
    if (m2 <= 0)
        return forms::clBlack;
    const double m1 = 2 * l - m2;
    const double h6 = h * 6;
    const int k = static_cast<int>(h6);
    const double f = h6 - k;
    const double v = m2 * ((m2 - m1) / m2) * f;
    const double up = m1 + v;
    const double down = m2 - v;
    double r = 0, g = 0, b = 0;
    switch (k) {
    case 1:
        r = down, g = m2, b = m1;
        break;
    case 2:
        r = m1, g = m2, b = up;
        break;
    case 3:
        r = m1, g = down, b = m2;
        break;
    case 4:
        r = up, g = m1, b = m2;
        break;
    case 5:
        r = m2, g = m1, b = down;
        break;
    default:
        r = m2, g = up, b = m1;
        break;
    }
    auto component = [](double c) { return static_cast<BYTE>(Nearest(std::min(c, 1.0) * 255)); };
    return static_cast<TColor>(win32::RGB(component(r), component(g), component(b)));
}

TColor DarkenColor(TColor Color, int Amount) {
    BYTE h = 0, s = 0, l = 0;
    ColorToHslScale(Color, h, s, l);
    return HslScaleToColor(h, s, LargerOf(l - Amount, 0));
}

TColor LightenColor(TColor Color, int Amount) {
    BYTE h = 0, s = 0, l = 0;
    ColorToHslScale(Color, h, s, l);
    return HslScaleToColor(h, s, SmallerOf(l + Amount, 255));
}

TColor OppositeHueColor(TColor Color, int Luminance) {
    int h = HueOfColor(Color);
    h = h >= 120 ? h - 120 : h + 120;
    return HslScaleToColor(h, 240, Luminance);
}

void PaintSides(QPainter& Canvas, const TRect& Rect, TColor ULColor, TRect& Inner, TSides Sides,
                TColor LRColor) {
    const auto [L, T, R, B] = Rect;
    if (ULColor != forms::clNone) {
        if (Sides & sdLeft)
            FillPixels(Canvas, L, T, 1, B - T, ULColor);
        if (Sides & sdTop)
            FillPixels(Canvas, L, T, R - L, 1, ULColor);
    }
    if (LRColor != forms::clNone) {
        if (Sides & sdRight)
            FillPixels(Canvas, R - 1, T, 1, B - T, LRColor);
        if (Sides & sdBottom)
            FillPixels(Canvas, L, B - 1, R - L, 1, LRColor);
    }
    Inner = Shrunk(Rect, Sides, 1);
}

void PaintBevel(QPainter& Canvas, const TRect& Rect, TColor ULColor, TRect& Inner, TSides Sides, int Count,
                TColor LRColor) {
    Inner = Rect;
    for (int i = 0; i < Count; ++i) {
        const TRect outer = Inner;
        PaintSides(Canvas, outer, ULColor, Inner, Sides, LRColor);
    }
}

void PaintDoubleBevel(QPainter& Canvas, const TRect& Rect, bool Lowered, TRect& Inner, TSides Sides) {
    using namespace forms;
    if (Lowered)
        PaintTwoBevels(Canvas, Rect, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight, Inner, Sides);
    else
        PaintTwoBevels(Canvas, Rect, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow, Inner, Sides);
}

void PaintButtonBevel(QPainter& Canvas, const TRect& Rect, bool Down, TRect& Inner, TSides Sides) {
    using namespace forms;
    if (Down)
        PaintTwoBevels(Canvas, Rect, clBtnText, clBtnText, clBtnShadow, clBtnShadow, Inner, Sides);
    else
        PaintTwoBevels(Canvas, Rect, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow, Inner, Sides);
}

void PaintFrameSides(QPainter& Canvas, const TRect& Rect, TFrameStyle Style, TRect& Inner, TSides Sides) {
    using namespace forms;
    switch (Style) {
    case fsFlat:
        PaintSides(Canvas, Rect, cl3DDkShadow, Inner, Sides, cl3DDkShadow);
        break;
    case fsGroove:
        PaintGroove(Canvas, Rect, clBtnShadow, clBtnHighlight, Inner, Sides);
        break;
    case fsBump:
        PaintGroove(Canvas, Rect, clBtnHighlight, clBtnShadow, Inner, Sides);
        break;
    case fsLowered:
        PaintDoubleBevel(Canvas, Rect, true, Inner, Sides);
        break;
    case fsButtonDown:
        PaintButtonBevel(Canvas, Rect, true, Inner, Sides);
        break;
    case fsRaised:
        PaintDoubleBevel(Canvas, Rect, false, Inner, Sides);
        break;
    case fsButtonUp:
        PaintButtonBevel(Canvas, Rect, false, Inner, Sides);
        break;
    case fsStatus:
        PaintSides(Canvas, Rect, clBtnShadow, Inner, Sides, clBtnHighlight);
        break;
    case fsPopup:
        PaintSides(Canvas, Rect, clBtnHighlight, Inner, Sides, clBtnShadow);
        break;
    case fsFlatBold:
        PaintBevel(Canvas, Rect, clBtnShadow, Inner, Sides, 2, clBtnShadow);
        break;
    default:
        Inner = Rect;
        break;
    }
}

void PaintFrame(QPainter& Canvas, const TRect& Rect, TFrameStyle Style, TRect& Inner) {
    PaintFrameSides(Canvas, Rect, Style, Inner, sdAll);
}
