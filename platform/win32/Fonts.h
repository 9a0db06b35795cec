#pragma once
// The fonts of the screen, as the font enumeration of the system gives them, over the desktop's font
// database:
// - a face that scales to any size is one TrueType font (its cell metrics those of 12 points);
// - a face made of bitmap sizes is one raster font per size, whose cell height less its internal leading is
//   the size in points at the screen's vertical resolution;
// - a name the database lists as an alias of a face ("Sans Serif") has the fonts of that face;
// - an unknown face has no fonts.

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/Types.h"

namespace win32 {

constexpr DWORD RASTER_FONTTYPE = 0x0001;
constexpr DWORD DEVICE_FONTTYPE = 0x0002;
constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;

// The cell metrics of a font, in pixels of the screen.
struct TEXTMETRIC {
    LONG tmHeight = 0;
    LONG tmInternalLeading = 0;
};

// Gets each font of a face with its type; answers 0 to stop the enumeration, anything else to go on.
using FONTENUMPROC = std::function<int(const TEXTMETRIC& Metric, DWORD FontType)>;

// Calls Proc for each font of the face Face; gives the last answer of Proc (1 when it was not called).
int EnumFontFamilies(const std::string& Face, const FONTENUMPROC& Proc);
// The screen's vertical resolution in dots per inch (LOGPIXELSY).
int ScreenLogPixelsY();
// The names of the faces the screen offers, sorted.
std::vector<std::string> ScreenFontNames();

} // namespace win32
