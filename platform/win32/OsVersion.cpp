#include "platform/win32/OsVersion.h"

#include <cstdio>
#include <cstring>

#include <sys/utsname.h>

namespace win32 {

BOOL GetVersionExA(OSVERSIONINFOA* Info) {
    if (Info == nullptr || Info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA))
        return FALSE;
    unsigned major = 0, minor = 0, build = 0;
    utsname names{};
    if (::uname(&names) == 0)
        std::sscanf(names.release, "%u.%u.%u", &major, &minor, &build);
    Info->dwMajorVersion = major;
    Info->dwMinorVersion = minor;
    Info->dwBuildNumber = build;
    Info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(Info->szCSDVersion, 0, sizeof Info->szCSDVersion);
    return TRUE;
}

} // namespace win32
