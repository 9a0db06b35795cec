#pragma once
// The system colours the skin and the labels use.

#include "platform/win32/Types.h"

namespace win32 {

// A fixed colour per system colour index (the skin does not follow the desktop theme); COLOR_3DLIGHT is
// RGB(227, 227, 227). 0 for an unknown index.
COLORREF GetSysColor(int Index);

} // namespace win32
