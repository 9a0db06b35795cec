#pragma once
// The operating-system version query. Linux reports itself as the NT platform: the player's NT paths are the
// ones whose calls (privileges, power service) this platform layer provides.

#include "platform/win32/Types.h"

namespace win32 {

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char szCSDVersion[128];
};
static_assert(sizeof(OSVERSIONINFOA) == 148);

// Fills Info and returns TRUE; FALSE (Info untouched) when its size field is not sizeof(OSVERSIONINFOA).
// The version numbers are the running kernel's (major.minor.patch of its release).
BOOL GetVersionExA(OSVERSIONINFOA* Info);

} // namespace win32
