// A dialog library that lacks one of the four exports (the one named by the definition LACKS_<export>), for
// the start-up tests. The exports it has do nothing.
#include "dialoglib/TarvexUseWindow.h"

extern "C" {

#ifndef LACKS_CreateShutDownDelayForm
void CreateShutDownDelayForm(win32::HWND, std::int32_t) {}
#endif

#ifndef LACKS_CreateManageHistoryForm
void CreateManageHistoryForm(win32::HWND, const forms::TStringList*, std::int32_t*, std::int32_t) {}
#endif

#ifndef LACKS_CreateMediaPropertyForm
void CreateMediaPropertyForm(win32::HWND, std::int32_t, const char*, const char*, std::int32_t, std::int32_t,
                             double, std::int32_t) {}
#endif

#ifndef LACKS_CreateGotoMediaForm
void CreateGotoMediaForm(win32::HWND, std::int32_t, std::int64_t, std::int32_t, std::int64_t*,
                         std::uint8_t*) {}
#endif
}
