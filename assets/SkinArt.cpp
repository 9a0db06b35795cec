#include "assets/SkinArt.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <map>

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace skinart {

namespace {

// ---------------------------------------------------------------------------------------------------------
// The file list.

enum class State { Normal, Hight, Enter, Disable };

struct ButtonSet {
    const char* Stem;
    int Width;
    int Height;
    // The file names of the states that exist, exactly as the windows ask for them.
    std::vector<const char*> Names;
};

const std::vector<ButtonSet>& ButtonSets() {
    static const std::vector<ButtonSet> sets = {
        // Main window, title strip.
        {"Menu", 24, 20, {"Menu_Normal_Menu.bmp", "Menu_Hight_Menu.bmp"}},
        {"Ontop", 24, 20, {"Ontop_Normal_btn.bmp", "Ontop_Hight_btn.bmp", "Ontop_Enter_btn.bmp"}},
        {"Toped", 24, 20, {"Toped_Normal_btn.bmp", "Toped_Hight_btn.bmp", "Toped_Enter_btn.bmp"}},
        {"TopatPlay", 24, 20, {"TopatPlay_Normal_btn.bmp", "TopatPlay_Hight_btn.bmp", "TopatPlay_Enter_btn.bmp"}},
        {"Min", 24, 20, {"Min_Normal_Btn.bmp", "Min_Hight_Btn.bmp", "Min_Enter_Btn.bmp"}},
        {"Max", 24, 20, {"Max_Normal_Btn.bmp", "Max_Hight_Btn.bmp", "Max_Enter_Btn.bmp"}},
        {"Restore", 24, 20, {"Restore_Normal_Btn.bmp", "Restore_Hight_Btn.bmp", "Restore_Enter_Btn.bmp"}},
        {"Close", 24, 20, {"Close_Normal_Btn.bmp", "Close_Hight_Btn.bmp", "Close_Enter_Btn.bmp"}},
        // Main window, control panel.
        {"Pause", 40, 40, {"Pause_Normal_Btn.bmp", "Pause_Hight_Btn.bmp", "Pause_Enter_Btn.bmp"}},
        {"Play", 40, 40, {"Play_Normal_Btn.bmp", "Play_Hight_Btn.bmp", "Play_Enter_Btn.bmp"}},
        {"Stop", 30, 30, {"Stop_Normal_Btn.bmp", "Stop_Hight_Btn.bmp", "Stop_Enter_Btn.bmp", "Stop_Disable_Btn.bmp"}},
        {"Prev", 30, 30, {"Prev_Normal_Btn.bmp", "Prev_Hight_Btn.bmp", "Prev_Enter_Btn.bmp", "Prev_Disable_Btn.bmp"}},
        {"Next", 30, 30, {"Next_Normal_Btn.bmp", "Next_Hight_Btn.bmp", "Next_Enter_Btn.bmp", "Next_Disable_Btn.bmp"}},
        {"BackWard",
         26,
         14,
         {"BackWard_Normal_Btn.bmp", "BackWard_Hight_Btn.bmp", "BackWard_Enter_Btn.bmp", "BackWard_Disable_Btn.bmp"}},
        {"ForWard",
         26,
         14,
         {"ForWard_Normal_Btn.bmp", "ForWard_Hight_Btn.bmp", "Forward_Enter_Btn.bmp", "ForWard_Disable_Btn.bmp"}},
        {"Slience", 30, 30, {"Slience_Normal_btn.bmp", "Slience_Hight_btn.bmp", "Slience_Enter_btn.bmp"}},
        {"Sound", 30, 30, {"Sound_Normal_btn.bmp", "Sound_Hight_btn.bmp", "Sound_Enter_btn.bmp"}},
        {"Open", 26, 26, {"Open_Normal_btn.bmp", "Open_Hight_btn.bmp", "Open_Enter_btn.bmp"}},
        {"Opendvd", 26, 26, {"Opendvd_Normal_btn.bmp", "Opendvd_Hight_btn.bmp", "Opendvd_enter_btn.bmp"}},
        {"Capture",
         26,
         26,
         {"Capture_Normal_btn.bmp", "Capture_Hight_btn.bmp", "Capture_Enter_btn.bmp", "Capture_Disable_btn.bmp"}},
        {"Maxmin",
         26,
         26,
         {"Maxmin_Normal_btn.bmp", "Maxmin_Hight_btn.bmp", "Maxmin_Enter_btn.bmp", "Maxmin_Disable_btn.bmp"}},
        {"Option", 26, 26, {"Option_Normal_btn.bmp", "Option_Hight_btn.bmp", "Option_Enter_btn.bmp"}},
        {"VideoBar", 10, 10, {"VideoBar_Normal.bmp", "VideoBar_hight.bmp"}},
        {"SoundBar", 10, 10, {"SoundBar_Normal.bmp", "SoundBar_Hight.bmp"}},
        // Play-list and capture-list windows.
        {"Add", 24, 16, {"Add_Normal_btn.bmp", "Add_Hight_btn.bmp", "Add_Enter_btn.bmp"}},
        {"Del", 24, 16, {"Del_Normal_Btn.bmp", "Del_Hight_Btn.bmp", "Del_Enter_Btn.bmp"}},
        {"Empty", 24, 16, {"Empty_Normal_Btn.bmp", "Empty_Hight_Btn.bmp", "Empty_Enter_Btn.bmp"}},
        {"Load", 24, 16, {"Load_Normal_btn.bmp", "Load_Hight_btn.bmp", "Load_Enter_btn.bmp"}},
        {"Save", 24, 16, {"Save_Normal_Btn.bmp", "Save_Hight_Btn.bmp", "Save_Enter_Btn.bmp"}},
        {"SaveAll", 24, 16, {"SaveAll_Normal_btn.bmp", "SaveAll_Hight_btn.bmp", "SaveAll_Enter_btn.bmp"}},
        {"Capture", 24, 16, {"Capture_Normal_sbtn.bmp", "Capture_Hight_sbtn.bmp", "Capture_Enter_sbtn.bmp"}},
        {"Scrolltop", 12, 12, {"Scrolltop_Normal_btn.bmp", "Scrolltop_Hight_btn.bmp", "Scrolltop_Enter_btn.bmp"}},
        {"Scrollbottom",
         12,
         12,
         {"Scrollbottom_Normal_btn.bmp", "Scrollbottom_Hight_btn.bmp", "Scrollbottom_Enter_btn.bmp"}},
    };
    return sets;
}

// Pictures without states: the play-list row icons and the options dialog's glyphs.
struct Single {
    const char* Name;
    int Width;
    int Height;
};

constexpr Single kSingles[] = {
    {"Play_Audio.bmp", 20, 20},      {"Play_Media_s.bmp", 20, 20},    {"Dvd.bmp", 20, 20},
    {"Play_Dvd.bmp", 20, 20},        {"Play_Pip_s.bmp", 20, 20},      {"Play_Audio_Play.bmp", 20, 20},
    {"Play_Media_s_Play.bmp", 20, 20}, {"Play_Dvd_Play.bmp", 20, 20}, {"MoveUp.bmp", 16, 16},
    {"MoveDown.bmp", 16, 16},        {"MoveLeft.bmp", 16, 16},        {"MoveRight.bmp", 16, 16},
    {"RoomAdd.bmp", 16, 16},         {"RoomReduce.bmp", 16, 16},      {"Updown180.bmp", 16, 16},
    {"LeftRight180.bmp", 16, 16},    {"FontBold.bmp", 16, 16},        {"FontItalic.bmp", 16, 16},
    {"FontUnderline.bmp", 16, 16},
};

std::string Lower(std::string Text) {
    for (char& c : Text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return Text;
}

State StateOf(const std::string& Name) {
    const std::string lower = Lower(Name);
    if (lower.find("_hight") != std::string::npos)
        return State::Hight;
    if (lower.find("_enter") != std::string::npos)
        return State::Enter;
    if (lower.find("_disable") != std::string::npos)
        return State::Disable;
    return State::Normal;
}

// ---------------------------------------------------------------------------------------------------------
// Drawing.

// Glyphs are dark on the silver parts of the frame and light on the dark parts.
QColor GlyphColor(State S, bool OnDark) {
    if (OnDark) {
        switch (S) {
        case State::Hight:
            return QColor(255, 255, 255);
        case State::Enter:
            return QColor(214, 214, 214);
        case State::Disable:
            return QColor(92, 92, 92);
        default:
            return QColor(190, 190, 190);
        }
    }
    switch (S) {
    case State::Hight:
        return QColor(0, 0, 0);
    case State::Enter:
        return QColor(20, 20, 20);
    case State::Disable:
        return QColor(150, 150, 150);
    default:
        return QColor(64, 64, 64);
    }
}

const QColor kAccent(86, 164, 222);

using Glyph = std::function<void(QPainter&, const QRectF&, const QColor&)>;

QPainterPath Triangle(QPointF A, QPointF B, QPointF C) {
    QPainterPath p;
    p.moveTo(A);
    p.lineTo(B);
    p.lineTo(C);
    p.closeSubpath();
    return p;
}

void Fill(QPainter& P, const QPainterPath& Path, const QColor& C) {
    P.setPen(Qt::NoPen);
    P.setBrush(C);
    P.drawPath(Path);
}

QPen Stroke(const QColor& C, double Width) {
    QPen pen(C, Width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A play triangle in R, pointing right (Dir 1) or left (-1).
void PlayTriangle(QPainter& P, const QRectF& R, const QColor& C, int Dir = 1) {
    if (Dir > 0)
        Fill(P, Triangle(R.topLeft(), QPointF(R.right(), R.center().y()), R.bottomLeft()), C);
    else
        Fill(P, Triangle(R.topRight(), QPointF(R.left(), R.center().y()), R.bottomRight()), C);
}

void Speaker(QPainter& P, const QRectF& R, const QColor& C) {
    QPainterPath p;
    const double w = R.width();
    const double h = R.height();
    p.moveTo(R.left(), R.top() + h * 0.32);
    p.lineTo(R.left() + w * 0.22, R.top() + h * 0.32);
    p.lineTo(R.left() + w * 0.5, R.top() + h * 0.08);
    p.lineTo(R.left() + w * 0.5, R.top() + h * 0.92);
    p.lineTo(R.left() + w * 0.22, R.top() + h * 0.68);
    p.lineTo(R.left(), R.top() + h * 0.68);
    p.closeSubpath();
    Fill(P, p, C);
}

void Pin(QPainter& P, const QRectF& R, const QColor& C, bool Filled) {
    const double cx = R.center().x();
    QPainterPath head;
    head.addRoundedRect(QRectF(cx - R.width() * 0.22, R.top(), R.width() * 0.44, R.height() * 0.45), 1.5, 1.5);
    P.setPen(Stroke(C, 1.3));
    P.setBrush(Filled ? QBrush(C) : QBrush(Qt::NoBrush));
    P.drawPath(head);
    P.drawLine(QPointF(R.left() + R.width() * 0.12, R.top() + R.height() * 0.52),
               QPointF(R.right() - R.width() * 0.12, R.top() + R.height() * 0.52));
    P.drawLine(QPointF(cx, R.top() + R.height() * 0.52), QPointF(cx, R.bottom()));
}

void Disc(QPainter& P, const QRectF& R, const QColor& C) {
    P.setPen(Stroke(C, 1.4));
    P.setBrush(Qt::NoBrush);
    P.drawEllipse(R);
    P.setBrush(C);
    P.drawEllipse(R.center(), R.width() * 0.12, R.height() * 0.12);
}

void Folder(QPainter& P, const QRectF& R, const QColor& C) {
    QPainterPath p;
    const double w = R.width();
    const double h = R.height();
    p.moveTo(R.left(), R.top() + h * 0.15);
    p.lineTo(R.left() + w * 0.38, R.top() + h * 0.15);
    p.lineTo(R.left() + w * 0.48, R.top() + h * 0.3);
    p.lineTo(R.right(), R.top() + h * 0.3);
    p.lineTo(R.right(), R.bottom());
    p.lineTo(R.left(), R.bottom());
    p.closeSubpath();
    P.setPen(Stroke(C, 1.4));
    P.setBrush(Qt::NoBrush);
    P.drawPath(p);
}

void Floppy(QPainter& P, const QRectF& R, const QColor& C) {
    P.setPen(Stroke(C, 1.2));
    P.setBrush(Qt::NoBrush);
    P.drawRoundedRect(R, 1, 1);
    P.setBrush(C);
    P.drawRect(QRectF(R.left() + R.width() * 0.25, R.top(), R.width() * 0.5, R.height() * 0.32));
}

void Camera(QPainter& P, const QRectF& R, const QColor& C) {
    const QRectF body(R.left(), R.top() + R.height() * 0.22, R.width(), R.height() * 0.78);
    P.setPen(Stroke(C, 1.4));
    P.setBrush(Qt::NoBrush);
    P.drawRoundedRect(body, 2, 2);
    P.drawEllipse(body.center(), body.height() * 0.28, body.height() * 0.28);
    P.setBrush(C);
    P.drawRect(QRectF(R.left() + R.width() * 0.3, R.top(), R.width() * 0.35, R.height() * 0.22));
}

void Gear(QPainter& P, const QRectF& R, const QColor& C) {
    const QPointF c = R.center();
    const double outer = R.width() / 2;
    const double inner = outer * 0.72;
    QPainterPath p;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const double a0 = M_PI * 2 * i / (teeth * 2);
        const double a1 = M_PI * 2 * (i + 1) / (teeth * 2);
        const double r = (i % 2 == 0) ? outer : inner;
        const QPointF q0(c.x() + r * std::cos(a0), c.y() + r * std::sin(a0));
        const QPointF q1(c.x() + r * std::cos(a1), c.y() + r * std::sin(a1));
        if (i == 0)
            p.moveTo(q0);
        else
            p.lineTo(q0);
        p.lineTo(q1);
    }
    p.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, outer * 0.3, outer * 0.3);
    Fill(P, p.subtracted(hole), C);
}

void Cross(QPainter& P, const QRectF& R, const QColor& C, double Width) {
    P.setPen(Stroke(C, Width));
    P.drawLine(R.topLeft(), R.bottomRight());
    P.drawLine(R.topRight(), R.bottomLeft());
}

void Arrow(QPainter& P, const QRectF& R, const QColor& C, int Dx, int Dy) {
    const QPointF c = R.center();
    const double s = R.width() / 2;
    QPointF tip(c.x() + Dx * s, c.y() + Dy * s);
    QPointF base1(c.x() - Dy * s * 0.9 - Dx * s * 0.1, c.y() - Dx * s * 0.9 - Dy * s * 0.1);
    QPointF base2(c.x() + Dy * s * 0.9 - Dx * s * 0.1, c.y() + Dx * s * 0.9 - Dy * s * 0.1);
    Fill(P, Triangle(tip, base1, base2), C);
    P.setPen(Stroke(C, 2.0));
    P.drawLine(c, QPointF(c.x() - Dx * s, c.y() - Dy * s));
}

const std::map<std::string, Glyph>& Glyphs() {
    static const std::map<std::string, Glyph> glyphs = {
        {"menu",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             p.setPen(Stroke(c, 1.6));
             for (int i = 0; i < 3; ++i) {
                 const double y = r.top() + r.height() * (0.2 + 0.3 * i);
                 p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
             }
         }},
        {"ontop", [](QPainter& p, const QRectF& r, const QColor& c) { Pin(p, r, c, false); }},
        {"toped", [](QPainter& p, const QRectF& r, const QColor& c) { Pin(p, r, c, true); }},
        {"topatplay",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             Pin(p, QRectF(r.left() - 2, r.top(), r.width() * 0.8, r.height()), c, false);
             PlayTriangle(p, QRectF(r.right() - r.width() * 0.35, r.top() + r.height() * 0.5, r.width() * 0.35,
                                    r.height() * 0.5),
                          kAccent);
         }},
        {"min",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             p.setPen(Stroke(c, 1.8));
             p.drawLine(QPointF(r.left(), r.bottom() - 1), QPointF(r.right(), r.bottom() - 1));
         }},
        {"max",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             p.setPen(Stroke(c, 1.4));
             p.setBrush(Qt::NoBrush);
             p.drawRect(r);
             p.drawLine(r.topLeft() + QPointF(0, 1), r.topRight() + QPointF(0, 1));
         }},
        {"restore",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             p.setPen(Stroke(c, 1.3));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(r.left() + r.width() * 0.3, r.top(), r.width() * 0.7, r.height() * 0.7));
             p.drawRect(QRectF(r.left(), r.top() + r.height() * 0.3, r.width() * 0.7, r.height() * 0.7));
         }},
        {"close", [](QPainter& p, const QRectF& r, const QColor& c) { Cross(p, r, c, 1.8); }},
        {"play",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             PlayTriangle(p, r.adjusted(r.width() * 0.12, 0, r.width() * 0.04, 0), c);
         }},
        {"pause",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             const double w = r.width() * 0.32;
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawRoundedRect(QRectF(r.left() + r.width() * 0.08, r.top(), w, r.height()), 1, 1);
             p.drawRoundedRect(QRectF(r.right() - r.width() * 0.08 - w, r.top(), w, r.height()), 1, 1);
         }},
        {"stop",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 1.5, 1.5);
         }},
        {"prev",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawRect(QRectF(r.left(), r.top(), r.width() * 0.18, r.height()));
             PlayTriangle(p, QRectF(r.left() + r.width() * 0.22, r.top(), r.width() * 0.78, r.height()), c, -1);
         }},
        {"next",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawRect(QRectF(r.right() - r.width() * 0.18, r.top(), r.width() * 0.18, r.height()));
             PlayTriangle(p, QRectF(r.left(), r.top(), r.width() * 0.78, r.height()), c);
         }},
        {"backward",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             PlayTriangle(p, QRectF(r.left(), r.top(), r.width() / 2, r.height()), c, -1);
             PlayTriangle(p, QRectF(r.center().x(), r.top(), r.width() / 2, r.height()), c, -1);
         }},
        {"forward",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             PlayTriangle(p, QRectF(r.left(), r.top(), r.width() / 2, r.height()), c);
             PlayTriangle(p, QRectF(r.center().x(), r.top(), r.width() / 2, r.height()), c);
         }},
        {"sound",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             Speaker(p, r, c);
             p.setPen(Stroke(c, 1.3));
             p.setBrush(Qt::NoBrush);
             for (double k : {0.28, 0.46}) {
                 const QRectF arc(r.left() + r.width() * 0.5 - r.width() * k, r.center().y() - r.height() * k,
                                  r.width() * k * 2, r.height() * k * 2);
                 p.drawArc(arc, -50 * 16, 100 * 16);
             }
         }},
        {"slience",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             Speaker(p, r, c);
             Cross(p, QRectF(r.left() + r.width() * 0.64, r.top() + r.height() * 0.32, r.width() * 0.34,
                             r.height() * 0.36),
                   c, 1.4);
         }},
        {"open", [](QPainter& p, const QRectF& r, const QColor& c) { Folder(p, r, c); }},
        {"opendvd",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             Fill(p, Triangle(QPointF(r.center().x(), r.top()), QPointF(r.right(), r.top() + r.height() * 0.6),
                              QPointF(r.left(), r.top() + r.height() * 0.6)),
                  c);
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawRect(QRectF(r.left(), r.bottom() - r.height() * 0.22, r.width(), r.height() * 0.22));
         }},
        {"capture", [](QPainter& p, const QRectF& r, const QColor& c) { Camera(p, r, c); }},
        {"maxmin",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             p.setPen(Stroke(c, 1.6));
             const double k = r.width() * 0.35;
             for (const QPointF& corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
                 const double sx = corner.x() < r.center().x() ? 1 : -1;
                 const double sy = corner.y() < r.center().y() ? 1 : -1;
                 p.drawLine(corner, corner + QPointF(sx * k, 0));
                 p.drawLine(corner, corner + QPointF(0, sy * k));
             }
         }},
        {"option", [](QPainter& p, const QRectF& r, const QColor& c) { Gear(p, r, c); }},
        {"add",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             p.setPen(Stroke(c, 1.8));
             p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
             p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
         }},
        {"del",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             p.setPen(Stroke(c, 1.8));
             p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
         }},
        {"empty",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             p.setPen(Stroke(c, 1.2));
             p.setBrush(Qt::NoBrush);
             p.drawLine(QPointF(r.left(), r.top() + 1), QPointF(r.right(), r.top() + 1));
             p.drawRect(QRectF(r.left() + r.width() * 0.15, r.top() + 3, r.width() * 0.7, r.height() - 3));
         }},
        {"load",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             Folder(p, r, c);
             Arrow(p, QRectF(r.center().x() - 3, r.center().y() - 2, 6, 6), c, 0, -1);
         }},
        {"save", [](QPainter& p, const QRectF& r, const QColor& c) { Floppy(p, r, c); }},
        {"saveall",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             Floppy(p, QRectF(r.left() + 3, r.top(), r.width() - 3, r.height() - 3), c);
             p.setPen(Stroke(c, 1.2));
             p.drawLine(QPointF(r.left(), r.top() + 3), QPointF(r.left(), r.bottom()));
             p.drawLine(QPointF(r.left(), r.bottom()), QPointF(r.right() - 3, r.bottom()));
         }},
        {"scrolltop",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             Fill(p, Triangle(QPointF(r.center().x(), r.top()), r.bottomRight(), r.bottomLeft()), c);
         }},
        {"scrollbottom",
         [](QPainter& p, const QRectF& r, const QColor& c) {
             Fill(p, Triangle(r.topLeft(), r.topRight(), QPointF(r.center().x(), r.bottom())), c);
         }},
    };
    return glyphs;
}

enum class Shape { Flat, Round, Knob };

struct Look {
    QRgb Background;
    Shape Form;
    bool TopLine; // the title strip's light top edge runs through the title buttons
    double GlyphFraction;
    bool OnDark;
};

Look LookOf(const std::string& Stem, int Width, int Height) {
    static const char* title[] = {"menu", "ontop", "toped", "topatplay", "min", "max", "restore", "close"};
    for (const char* t : title)
        if (Stem == t)
            return {kTitleColor, Shape::Flat, true, 0.42, false};
    if (Stem == "videobar" || Stem == "soundbar")
        return {kControlColor, Shape::Knob, false, 1.0, false};
    if (Width == 24 || Width == 12) // the companion windows' tool and scroll buttons, on their dark band
        return {kTitleLowColor, Shape::Flat, false, 0.58, true};
    if (Height < 20)
        return {kControlColor, Shape::Flat, false, 0.58, false};
    return {kControlColor, Shape::Round, false, Width >= 40 ? 0.36 : 0.42, false};
}

void DrawKnob(QPainter& P, const QRectF& R, State S) {
    QRadialGradient g(R.center() - QPointF(1, 1), R.width() * 0.6);
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, S == State::Normal ? QColor(150, 150, 150) : kAccent);
    P.setPen(QPen(QColor(70, 70, 70), 1));
    P.setBrush(g);
    P.drawEllipse(R.adjusted(0.5, 0.5, -0.5, -0.5));
}

QImage DrawButton(const std::string& Stem, State S, int Width, int Height) {
    QImage image(Width, Height, QImage::Format_RGB32);
    const Look look = LookOf(Stem, Width, Height);
    image.fill(look.Background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all(0, 0, Width, Height);
    if (look.TopLine) {
        p.setPen(QColor(238, 238, 238));
        p.drawLine(QPointF(0, 0.5), QPointF(Width, 0.5));
    }
    if (look.Form == Shape::Knob) {
        DrawKnob(p, all, S);
        return image;
    }
    const QColor base = QColor::fromRgb(look.Background);
    if (look.Form == Shape::Round) {
        const QRectF ring = all.adjusted(1, 1, -1, -1);
        QLinearGradient g(ring.topLeft(), ring.bottomLeft());
        if (S == State::Enter) {
            g.setColorAt(0, base.darker(125));
            g.setColorAt(1, base.darker(105));
        } else {
            g.setColorAt(0, QColor(246, 246, 246));
            g.setColorAt(1, S == State::Hight ? QColor(214, 214, 214) : base.darker(104));
        }
        p.setPen(QPen(S == State::Hight ? kAccent : QColor(128, 128, 128), 1));
        p.setBrush(g);
        p.drawEllipse(ring);
    } else if (S == State::Hight || S == State::Enter) {
        p.setPen(Qt::NoPen);
        const bool lighter = (S == State::Hight) != look.OnDark;
        p.setBrush(lighter ? base.lighter(look.OnDark ? 160 : 112) : base.darker(look.OnDark ? 130 : 118));
        p.drawRoundedRect(all.adjusted(1, look.TopLine ? 2 : 1, -1, -1), 2, 2);
    }
    const double g = std::min(Width, Height) * look.GlyphFraction;
    QRectF glyph(0, 0, Stem == "backward" || Stem == "forward" ? g * 2.0 : g, g);
    glyph.moveCenter(all.center());
    if (S == State::Enter)
        glyph.translate(0.5, 0.5);
    const auto it = Glyphs().find(Stem);
    if (it != Glyphs().end())
        it->second(p, glyph, GlyphColor(S, look.OnDark));
    return image;
}

QImage DrawRowIcon(const std::string& Name) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool current = Name.find("_play.bmp") != std::string::npos;
    const QColor c = current ? QColor(255, 255, 255) : QColor(153, 153, 153);
    const QRectF r(4, 4, 12, 12);
    if (Name.rfind("play_audio", 0) == 0) {
        p.setPen(Stroke(c, 1.4));
        p.drawLine(QPointF(13, 4), QPointF(13, 14));
        p.drawLine(QPointF(13, 4), QPointF(16, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(10.5, 14.5), 2.6, 2.0);
    } else if (Name.rfind("play_media_s", 0) == 0) {
        p.setPen(Stroke(c, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(4, 5, 12, 10));
        for (double y : {6.5, 9.0, 11.5, 13.5})
            p.drawLine(QPointF(5.5, y), QPointF(6.5, y));
    } else if (Name.rfind("play_pip_s", 0) == 0) {
        p.setPen(Stroke(c, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 5, 14, 10));
        p.setBrush(c);
        p.drawRect(QRectF(10, 10, 5, 3.5));
    } else {
        Disc(p, r, c);
    }
    if (current)
        PlayTriangle(p, QRectF(0, 7, 4, 6), kAccent);
    return image;
}

QImage DrawOptionGlyph(const std::string& Name) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(212, 208, 200));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c(40, 40, 40);
    const QRectF r(3, 3, 10, 10);
    if (Name == "moveup.bmp")
        Arrow(p, r, c, 0, -1);
    else if (Name == "movedown.bmp")
        Arrow(p, r, c, 0, 1);
    else if (Name == "moveleft.bmp")
        Arrow(p, r, c, -1, 0);
    else if (Name == "moveright.bmp")
        Arrow(p, r, c, 1, 0);
    else if (Name == "roomadd.bmp" || Name == "roomreduce.bmp") {
        p.setPen(Stroke(c, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2, 2, 9, 9));
        p.drawLine(QPointF(10, 10), QPointF(14, 14));
        p.drawLine(QPointF(4.5, 6.5), QPointF(8.5, 6.5));
        if (Name == "roomadd.bmp")
            p.drawLine(QPointF(6.5, 4.5), QPointF(6.5, 8.5));
    } else if (Name == "updown180.bmp") {
        Arrow(p, QRectF(1, 2, 6, 12), c, 0, -1);
        Arrow(p, QRectF(9, 2, 6, 12), c, 0, 1);
    } else if (Name == "leftright180.bmp") {
        Arrow(p, QRectF(2, 1, 12, 6), c, -1, 0);
        Arrow(p, QRectF(2, 9, 12, 6), c, 1, 0);
    } else {
        QFont font("DejaVu Sans");
        font.setPixelSize(12);
        font.setBold(Name == "fontbold.bmp");
        font.setItalic(Name == "fontitalic.bmp");
        font.setUnderline(Name == "fontunderline.bmp");
        p.setFont(font);
        p.setPen(c);
        const char* letter = Name == "fontbold.bmp" ? "B" : Name == "fontitalic.bmp" ? "I" : "U";
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, letter);
    }
    return image;
}

QImage DrawLogo(int Width, int Height) {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double size = std::min(Width, Height) * 0.5;
    const QRectF disc(Width / 2.0 - size / 2, Height / 2.0 - size * 0.75, size, size);
    QRadialGradient g(disc.center(), size / 2);
    g.setColorAt(0, QColor(70, 70, 70));
    g.setColorAt(1, QColor(34, 34, 34));
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(g);
    p.drawEllipse(disc);
    PlayTriangle(p, disc.adjusted(size * 0.38, size * 0.3, -size * 0.26, -size * 0.3), kAccent);
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(10, static_cast<int>(size * 0.2)));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(120, 120, 120));
    p.drawText(QRectF(0, disc.bottom() + size * 0.08, Width, size * 0.3), Qt::AlignHCenter | Qt::AlignTop,
               "TarvexDVD");
    return image;
}

} // namespace

const std::vector<SkinFile>& DefaultSkinFiles() {
    static const std::vector<SkinFile> files = [] {
        std::vector<SkinFile> all;
        std::map<std::string, bool> seen;
        for (const auto& set : ButtonSets())
            for (const char* name : set.Names)
                if (!seen[Lower(name)]) {
                    seen[Lower(name)] = true;
                    all.push_back({name, set.Width, set.Height});
                }
        for (const auto& single : kSingles)
            all.push_back({single.Name, single.Width, single.Height});
        return all;
    }();
    return files;
}

QImage DrawSkinFile(const std::string& Name) {
    const std::string lower = Lower(Name);
    for (const auto& single : kSingles) {
        if (Lower(single.Name) != lower)
            continue;
        if (lower.rfind("play_", 0) == 0 || lower.rfind("dvd", 0) == 0)
            return DrawRowIcon(lower);
        return DrawOptionGlyph(lower);
    }
    for (const auto& set : ButtonSets())
        for (const char* name : set.Names)
            if (Lower(name) == lower)
                return DrawButton(Lower(set.Stem), StateOf(Name), set.Width, set.Height);
    return {};
}

QImage DrawFramePicture(const std::string& Name, int Width, int Height) {
    if (Width <= 0 || Height <= 0)
        return {};
    if (Name == "Mainlogo_I")
        return DrawLogo(Width, Height);
    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect all(0, 0, Width, Height);
    if (Name == "Topleft_I" || Name == "Topcenter_I" || Name == "Topright_I") {
        p.fillRect(all, QColor::fromRgb(kTitleLowColor));
        p.fillRect(QRect(0, 0, Width, kTitleBandHeight), QColor::fromRgb(kTitleColor));
        p.fillRect(QRect(0, 0, Width, 1), QColor(238, 238, 238));
        p.fillRect(QRect(0, kTitleBandHeight, Width, 1), QColor(120, 120, 120));
        p.fillRect(QRect(0, Height - 1, Width, 1), QColor(24, 24, 24));
    } else if (Name == "SmallLogo_I") {
        p.fillRect(all, QColor::fromRgb(kTitleColor));
        QFont font("DejaVu Sans");
        font.setBold(true);
        // The whole name in the picture: the companion windows' logo is narrower than the main window's.
        for (int pixels = 12; pixels >= 6; --pixels) {
            font.setPixelSize(pixels);
            if (QFontMetrics(font).horizontalAdvance("TarvexDVD") < Width)
                break;
        }
        p.setFont(font);
        p.setPen(QColor(70, 70, 70));
        p.drawText(QRectF(0, 0, Width, Height), Qt::AlignLeft | Qt::AlignVCenter, "Tarvex");
        p.setPen(kAccent.darker(120));
        p.drawText(QRectF(QFontMetrics(font).horizontalAdvance("Tarvex"), 0, Width, Height),
                   Qt::AlignLeft | Qt::AlignVCenter, "DVD");
    } else if (Name == "Left_I" || Name == "Right_I") {
        p.fillRect(all, QColor::fromRgb(kTitleLowColor));
        p.fillRect(QRect(Name == "Left_I" ? 0 : Width - 1, 0, 1, Height), QColor(24, 24, 24));
    } else if (Name == "Bottom_I" || Name == "Bottomcenter_I" || Name == "Bottomright_I") {
        p.fillRect(all, QColor::fromRgb(kStatusColor));
        p.fillRect(QRect(0, 0, Width, 1), QColor(20, 20, 20));
    } else if (Name == "Ctrlleft_I" || Name == "Ctrlcenter_I" || Name == "Ctrlright_I") {
        p.fillRect(all, QColor::fromRgb(kControlColor));
        p.fillRect(QRect(0, 0, Width, 1), QColor(236, 236, 236));
        p.fillRect(QRect(0, Height - 1, Width, 1), QColor(110, 110, 110));
    } else if (Name == "TopBar_xi") {
        p.fillRect(all, QColor::fromRgb(kTitleColor));
    } else if (Name == "BottomBar_xi") {
        p.fillRect(all, QColor::fromRgb(kControlColor));
    } else if (Name == "VideoPro_XI" || Name == "SoundPro_XI") {
        p.fillRect(all, QColor(70, 70, 70));
        p.fillRect(QRect(0, Height - 1, Width, 1), QColor(236, 236, 236));
    } else if (Name == "VideoGo_XI" || Name == "SoundGo_XI") {
        p.fillRect(all, kAccent);
        p.fillRect(QRect(0, 0, Width, 1), kAccent.lighter(130));
    } else {
        return {};
    }
    return image;
}

QImage DrawLogoIcon(int Size) {
    QImage image(Size, Size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(0.5, 0.5, Size - 1.0, Size - 1.0);
    QRadialGradient g(disc.center(), Size / 2.0);
    g.setColorAt(0, QColor(80, 80, 80));
    g.setColorAt(1, QColor(30, 30, 30));
    p.setPen(QPen(QColor(140, 140, 140), Size >= 32 ? 1.5 : 1.0));
    p.setBrush(g);
    p.drawEllipse(disc);
    PlayTriangle(p, disc.adjusted(Size * 0.38, Size * 0.27, -Size * 0.24, -Size * 0.27), kAccent);
    return image;
}

bool WriteIconFile(const std::string& Path, const std::vector<QImage>& Images) {
    auto put16 = [](std::string& out, std::uint16_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8);
    };
    auto put32 = [](std::string& out, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    std::vector<std::string> bodies;
    for (const QImage& source : Images) {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        const int w = image.width();
        const int h = image.height();
        std::string body;
        put32(body, 40);
        put32(body, static_cast<std::uint32_t>(w));
        put32(body, static_cast<std::uint32_t>(h * 2)); // colour rows and mask rows
        put16(body, 1);
        put16(body, 32);
        for (int i = 0; i < 6; ++i)
            put32(body, 0);
        for (int y = h - 1; y >= 0; --y)
            for (int x = 0; x < w; ++x)
                put32(body, image.pixel(x, y)); // BGRA in little-endian order
        const int maskRow = ((w + 31) / 32) * 4;
        for (int y = h - 1; y >= 0; --y) {
            std::string row(static_cast<std::size_t>(maskRow), '\0');
            for (int x = 0; x < w; ++x)
                if (qAlpha(image.pixel(x, y)) == 0)
                    row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
            body += row;
        }
        bodies.push_back(std::move(body));
    }
    std::string out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<std::uint16_t>(Images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(Images.size());
    for (std::size_t i = 0; i < Images.size(); ++i) {
        out += static_cast<char>(Images[i].width() >= 256 ? 0 : Images[i].width());
        out += static_cast<char>(Images[i].height() >= 256 ? 0 : Images[i].height());
        out += '\0';
        out += '\0';
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const auto& body : bodies)
        out += body;
    std::ofstream file(Path, std::ios::binary | std::ios::trunc);
    file << out;
    return static_cast<bool>(file);
}

} // namespace skinart
