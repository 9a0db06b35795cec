#pragma once
// Colours, fonts, pictures and cursors of the class library.

#include <functional>
#include <string>

#include <QImage>

#include "platform/win32/Types.h"

class QColor;
class QFont;

namespace forms {

// A colour: an RGB value as win32::RGB builds it (0x00BBGGRR), or a system colour (clSystemColor | index).
using TColor = std::int32_t;
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;

// The RGB value of Color (system colours looked up).
win32::COLORREF ColorToRGB(TColor Color);
QColor ToQColor(TColor Color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// A font: face name, size in points, colour and styles. A control's font tells its control of every change;
// Assign copies the values only.
class TFont {
public:
    TFont();
    TFont(const TFont& Other);
    TFont& operator=(const TFont& Other);

    const std::string& Name() const { return name_; }
    void SetName(std::string Name);
    int Size() const { return size_; }
    void SetSize(int Size);
    TColor Color() const { return color_; }
    void SetColor(TColor Color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles Style);
    void Assign(const TFont& Other);

    QFont ToQFont() const;
    // The face, size and styles of Font (colour: clWindowText).
    static TFont FromQFont(const QFont& Font);

    std::function<void()> OnChange;

private:
    void Changed();
    std::string name_;
    int size_ = 9;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
};

// A picture loaded from a file (BMP, ICO, JPEG). Loading raises EClassLibraryError with the class library's
// texts: "Cannot open file "<path>". <reason>" for a file that cannot be read, "Bitmap image is not valid" for
// a .bmp that is no bitmap, "Unknown picture file extension (.<ext>)" for other kinds. The file is found
// without regard to the case of its name.
class TPicture {
public:
    void LoadFromFile(const std::string& FileName);
    void Assign(const QImage& Image);
    void Clear();

    bool Empty() const { return image_.isNull(); }
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    const QImage& Image() const { return image_; }

    std::function<void()> OnChange;

private:
    QImage image_;
};

// Cursors by the class library's numbers.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

} // namespace forms
