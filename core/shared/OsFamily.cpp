#include "core/shared/OsFamily.h"

#include "platform/win32/OsVersion.h"

void GetOsFamily(std::string& Result) {
    Result.clear();
    win32::OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    if (!win32::GetVersionExA(&info))
        return;
    if (info.dwPlatformId == win32::VER_PLATFORM_WIN32_WINDOWS)
        Result = OsFamily9x;
    else if (info.dwPlatformId == win32::VER_PLATFORM_WIN32_NT)
        Result = OsFamilyNt;
}
