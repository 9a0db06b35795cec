#include "assets/SlideBarArt.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

namespace skinart {

namespace {

// The standard 16-colour palette, in its usual order.
enum Vga {
    Black,
    Maroon,
    Green,
    Olive,
    Navy,
    Purple,
    Teal,
    Silver,
    Grey,
    Red,
    Lime,
    Yellow,
    Blue,
    Fuchsia,
    Aqua,
    White
};

const QList<QRgb>& VgaPalette() {
    static const QList<QRgb> palette = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return palette;
}

enum class Kind { Normal, Hot, Disabled, Mask };

// Which pixels of a horizontal thumb belong to it.
struct Shape {
    int Width;
    int Height;
    std::function<bool(int X, int Y)> Inside;
};

Shape BoxShape() {
    return {11, 21, [](int, int) { return true; }};
}
// The standard pointer points up, toward the ticks above the track.
Shape PointerShape() {
    return {11, 21, [](int X, int Y) { return Y >= 5 || std::abs(X - 5) <= Y; }};
}
// The older pointer points down, toward the ticks below the track.
Shape Win95Shape() {
    return {11, 21, [](int X, int Y) { return Y <= 15 || std::abs(X - 5) <= 20 - Y; }};
}
Shape MixerShape() {
    return {21, 16, [](int X, int Y) {
                const bool cornerX = X == 0 || X == 20;
                const bool cornerY = Y == 0 || Y == 15;
                return !(cornerX && cornerY);
            }};
}
Shape FlatShape() {
    return {10, 20, [](int, int) { return true; }};
}

// The shape as a vertical bar's thumb: mirrored about the diagonal, so that up becomes left.
Shape Transposed(const Shape& S) {
    return {S.Height, S.Width, [inside = S.Inside](int X, int Y) { return inside(Y, X); }};
}

// How far a pixel lies from the thumb's edge on its lit (left, top) and shaded (right, bottom) sides:
// 1 on the outer ring, 2 on the next, 0 deeper inside.
struct Ring {
    int Lit = 0;
    int Shaded = 0;
};

Ring RingOf(const Shape& S, int X, int Y) {
    auto in = [&](int x, int y) { return x >= 0 && y >= 0 && x < S.Width && y < S.Height && S.Inside(x, y); };
    Ring r;
    for (int d : {2, 1}) {
        if (!in(X + d, Y) || !in(X, Y + d))
            r.Shaded = d;
        if (!in(X - d, Y) || !in(X, Y - d))
            r.Lit = d;
    }
    return r;
}

// The grip in the middle of the thumb: three lines across its length, light, mid and dark.
int GripLine(const Shape& S, bool Vertical, int X, int Y) {
    const int length = Vertical ? S.Height : S.Width;
    const int breadth = Vertical ? S.Width : S.Height;
    const int along = Vertical ? Y : X;
    const int across = Vertical ? X : Y;
    const int mid = length / 2;
    if (along < mid - 1 || along > mid + 1 || across < breadth / 2 - 3 || across > breadth / 2 + 3)
        return -1;
    return along - (mid - 1);
}

QImage DrawSixteenColourThumb(const Shape& S, bool Vertical, bool Flat, Kind K) {
    QImage image(S.Width, S.Height, QImage::Format_Indexed8);
    image.setColorTable(VgaPalette());
    image.fill(K == Kind::Mask ? White : Black);
    for (int y = 0; y < S.Height; ++y) {
        for (int x = 0; x < S.Width; ++x) {
            if (!S.Inside(x, y))
                continue;
            if (K == Kind::Mask) {
                image.setPixel(x, y, Black);
                continue;
            }
            const Ring ring = RingOf(S, x, y);
            int colour = Silver;
            if (Flat) {
                if (ring.Lit == 1 || ring.Shaded == 1)
                    colour = K == Kind::Disabled ? Teal : Grey;
            } else if (ring.Shaded == 1) {
                colour = K == Kind::Disabled ? Teal : Olive;
            } else if (ring.Lit == 1) {
                colour = White;
            } else if (ring.Shaded == 2) {
                colour = K == Kind::Disabled ? Green : Grey;
            } else if (ring.Lit == 2) {
                colour = K == Kind::Disabled ? Silver : Yellow;
            }
            if (const int grip = GripLine(S, Vertical, x, y);
                grip >= 0 && ring.Lit != 1 && ring.Shaded != 1) {
                static constexpr int normal[] = {Aqua, Blue, Navy};
                static constexpr int hot[] = {Fuchsia, Red, Maroon};
                static constexpr int disabled[] = {Lime, Purple, Lime};
                colour = K == Kind::Hot ? hot[grip] : K == Kind::Disabled ? disabled[grip] : normal[grip];
            }
            image.setPixel(x, y, static_cast<unsigned>(colour));
        }
    }
    return image;
}

// The XP-looking thumbs keep their own colours: a blue-grey rim, a face that goes from white to a cool grey,
// an orange inner ring when hot, and faded colours when disabled.
QImage DrawTrueColourThumb(const Shape& S, Kind K) {
    if (K == Kind::Mask) {
        QImage mask(S.Width, S.Height, QImage::Format_Mono);
        mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        mask.fill(0);
        for (int y = 0; y < S.Height; ++y)
            for (int x = 0; x < S.Width; ++x)
                if (S.Inside(x, y))
                    mask.setPixel(x, y, 1);
        return mask;
    }
    QImage image(S.Width, S.Height, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    const bool disabled = K == Kind::Disabled;
    for (int y = 0; y < S.Height; ++y) {
        for (int x = 0; x < S.Width; ++x) {
            if (!S.Inside(x, y))
                continue;
            const Ring ring = RingOf(S, x, y);
            QRgb colour;
            if (ring.Lit == 1 || ring.Shaded == 1) {
                colour = disabled ? qRgb(201, 199, 186) : qRgb(28, 81, 128);
            } else if (K == Kind::Hot && (ring.Lit == 2 || ring.Shaded == 2)) {
                colour = qRgb(248, 179, 48);
            } else {
                const int shade = 255 - 40 * y / (S.Height > 1 ? S.Height - 1 : 1);
                colour = disabled ? qRgb(245, 244, 234) : qRgb(shade - 10, shade - 5, shade);
            }
            image.setPixel(x, y, colour);
        }
    }
    return image;
}

struct ThumbResource {
    const char* Name;
    Shape (*MakeShape)();
    bool Vertical;
    bool Flat;
    bool TrueColour;
};

const std::vector<ThumbResource>& ThumbResources() {
    static const std::vector<ThumbResource> resources = {
        {"SLIDEBAR_H_BOX", BoxShape, false, false, false},
        {"SLIDEBAR_V_BOX", BoxShape, true, false, false},
        {"SLIDEBAR_H_MIXER", MixerShape, false, false, false},
        {"SLIDEBAR_V_MIXER", MixerShape, true, false, false},
        {"SLIDEBAR_H_PTR", PointerShape, false, false, false},
        {"SLIDEBAR_V_PTR", PointerShape, true, false, false},
        {"SLIDEBAR_WIN95", Win95Shape, false, false, false},
        {"SLIDEBAR_H_FLAT", FlatShape, false, true, false},
        {"SLIDEBAR_V_FLAT", FlatShape, true, true, false},
        {"SLIDEBAR_H_XPPTR", PointerShape, false, false, true},
        {"SLIDEBAR_V_XPPTR", PointerShape, true, false, true},
        {"SLIDEBAR_H_XPBOX", BoxShape, false, false, true},
        {"SLIDEBAR_V_XPBOX", BoxShape, true, false, true},
    };
    return resources;
}

bool EndsWith(const std::string& Text, const std::string& Ending) {
    return Text.size() >= Ending.size() &&
           Text.compare(Text.size() - Ending.size(), Ending.size(), Ending) == 0;
}

} // namespace

QImage DrawSlideBarBitmap(const std::string& Name) {
    std::string base = Name;
    Kind kind = Kind::Normal;
    for (const auto& [ending, k] : {std::pair{"_HOT", Kind::Hot}, std::pair{"_DISABLED", Kind::Disabled},
                                    std::pair{"_MASK", Kind::Mask}}) {
        if (EndsWith(Name, ending)) {
            base = Name.substr(0, Name.size() - std::string(ending).size());
            kind = k;
            break;
        }
    }
    for (const ThumbResource& r : ThumbResources()) {
        if (base != r.Name)
            continue;
        const Shape shape = r.Vertical ? Transposed(r.MakeShape()) : r.MakeShape();
        return r.TrueColour ? DrawTrueColourThumb(shape, kind)
                            : DrawSixteenColourThumb(shape, r.Vertical, r.Flat, kind);
    }
    return {};
}

QImage DrawSlideBarCursor(const std::string& Name, QPoint& HotSpot) {
    const bool vertical = Name == "SLIDEBAR_V_CURSOR";
    if (!vertical && Name != "SLIDEBAR_H_CURSOR")
        return {};
    // A double arrow along the bar, black with a white outline.
    QImage cursor(32, 32, QImage::Format_ARGB32);
    cursor.fill(Qt::transparent);
    auto arrow = [](int Along, int Across) {
        if (Along < 1 || Along > 30)
            return false;
        const int a = std::min(Along, 31 - Along); // 1 at a tip
        if (a <= 6)
            return std::abs(2 * Across - 31) <= 2 * a - 1; // the heads widen by a pixel on each side per step
        return Across == 15 || Across == 16;
    };
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int along = vertical ? y : x;
            const int across = vertical ? x : y;
            if (arrow(along, across)) {
                cursor.setPixel(x, y, qRgb(0, 0, 0));
                continue;
            }
            bool edge = false;
            for (int d : {-1, 1})
                edge = edge || arrow(along + d, across) || arrow(along, across + d);
            if (edge)
                cursor.setPixel(x, y, qRgb(255, 255, 255));
        }
    }
    HotSpot = QPoint(15, 15);
    return cursor;
}

QImage DrawPipSetupThumbStrip() {
    enum { StripBlack, StripWhite, Rim, Face, Shine, GreyRim, GreyFace };
    QImage strip(60, 20, QImage::Format_Indexed8);
    strip.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(30, 60, 120), qRgb(106, 156, 222),
                         qRgb(214, 232, 255), qRgb(128, 128, 128), qRgb(196, 196, 196)});
    strip.fill(StripBlack);
    // A round knob of diameter 15 in the middle of each frame, centred on the dialog's track.
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const double dx = x - 9.5, dy = y - 9.5;
            const double d2 = dx * dx + dy * dy;
            if (d2 > 7.5 * 7.5) {
                strip.setPixel(20 + x, y, StripWhite);
                continue;
            }
            const bool rim = d2 > 6.2 * 6.2;
            const bool shine = (dx + 2.5) * (dx + 2.5) + (dy + 2.5) * (dy + 2.5) < 2.2 * 2.2;
            strip.setPixel(x, y, rim ? Rim : shine ? Shine : Face);
            strip.setPixel(20 + x, y, StripBlack);
            strip.setPixel(40 + x, y, rim ? GreyRim : GreyFace);
        }
    }
    return strip;
}

} // namespace skinart
