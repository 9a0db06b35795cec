#include "platform/forms/Graphics.h"

#include <cstring>
#include <optional>
#include <system_error>

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImageReader>

#include "platform/forms/StringList.h"
#include "platform/win32/Files.h"
#include "platform/win32/System.h"

namespace forms {

win32::COLORREF ColorToRGB(TColor Color) {
    if ((Color & clSystemColor) == clSystemColor)
        return win32::GetSysColor(Color & 0xFF);
    return static_cast<win32::COLORREF>(Color) & 0xFFFFFF;
}

QColor ToQColor(TColor Color) {
    const win32::COLORREF c = ColorToRGB(Color);
    return QColor(win32::GetRValue(c), win32::GetGValue(c), win32::GetBValue(c));
}

TFont::TFont() = default;

TFont::TFont(const TFont& Other)
    : name_(Other.name_), size_(Other.size_), color_(Other.color_), style_(Other.style_) {}

TFont& TFont::operator=(const TFont& Other) {
    Assign(Other);
    return *this;
}

void TFont::Changed() {
    if (OnChange)
        OnChange();
}

void TFont::SetName(std::string Name) {
    name_ = std::move(Name);
    Changed();
}

void TFont::SetSize(int Size) {
    size_ = Size;
    Changed();
}

void TFont::SetColor(TColor Color) {
    color_ = Color;
    Changed();
}

void TFont::SetStyle(TFontStyles Style) {
    style_ = Style;
    Changed();
}

void TFont::Assign(const TFont& Other) {
    if (&Other == this)
        return;
    name_ = Other.name_;
    size_ = Other.size_;
    color_ = Other.color_;
    style_ = Other.style_;
    Changed();
}

QFont TFont::ToQFont() const {
    QFont font;
    if (!name_.empty())
        font.setFamily(QString::fromStdString(name_));
    if (size_ > 0)
        font.setPointSize(size_);
    font.setBold((style_ & fsBold) != 0);
    font.setItalic((style_ & fsItalic) != 0);
    font.setUnderline((style_ & fsUnderline) != 0);
    font.setStrikeOut((style_ & fsStrikeOut) != 0);
    return font;
}

TFont TFont::FromQFont(const QFont& Font) {
    TFont font;
    font.name_ = Font.family().toStdString();
    font.size_ = Font.pointSize() > 0 ? Font.pointSize() : 9;
    font.style_ = (Font.bold() ? fsBold : 0u) | (Font.italic() ? fsItalic : 0u) |
                  (Font.underline() ? fsUnderline : 0u) | (Font.strikeOut() ? fsStrikeOut : 0u);
    return font;
}

void TPicture::LoadFromFile(const std::string& FileName) {
    const std::string path = win32::FindFileNoCase(FileName);
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    std::string extension = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                                ? std::string()
                                : path.substr(dot + 1);
    const char* format = nullptr;
    if (SameText(extension, "bmp"))
        format = "BMP";
    else if (SameText(extension, "ico"))
        format = "ICO";
    else if (SameText(extension, "jpg") || SameText(extension, "jpeg"))
        format = "JPEG";
    else
        throw EClassLibraryError("Unknown picture file extension (." + extension + ")");

    // Read by its bytes: a path that is not UTF-8 (a folder named in a legacy encoding) has no QString that
    // names it.
    std::error_code error;
    std::optional<std::string> bytes = win32::ReadWholeFile(path, error);
    if (!bytes)
        throw EClassLibraryError("Cannot open file \"" + FileName + "\". " + error.message());
    QByteArray data = QByteArray::fromStdString(*bytes);
    QBuffer buffer(&data);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull()) {
        if (std::strcmp(format, "BMP") == 0)
            throw EClassLibraryError("Bitmap image is not valid");
        throw EClassLibraryError(std::strcmp(format, "ICO") == 0 ? "Icon image is not valid"
                                                                 : "JPEG error #53");
    }
    Assign(image);
}

void TPicture::Assign(const QImage& Image) {
    image_ = Image;
    if (OnChange)
        OnChange();
}

void TPicture::Clear() { Assign(QImage()); }

} // namespace forms
