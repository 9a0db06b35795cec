#include "platform/win32/System.h"

namespace win32 {

COLORREF GetSysColor(int Index) {
    switch (Index) {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
        return RGB(0, 0, 0);
    case COLOR_HIGHLIGHT:
        return RGB(10, 36, 106);
    case COLOR_BTNFACE:
        return RGB(212, 208, 200);
    case COLOR_BTNSHADOW:
        return RGB(128, 128, 128);
    case COLOR_BTNHIGHLIGHT:
        return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW:
        return RGB(64, 64, 64);
    case COLOR_3DLIGHT:
        return RGB(227, 227, 227);
    default:
        return 0;
    }
}

} // namespace win32
