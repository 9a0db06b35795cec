#include "platform/win32/UserFolders.h"

#include <cstdlib>

namespace win32 {
namespace {

std::string XdgFolder(const char* Variable, const char* BelowHome) {
    const char* value = std::getenv(Variable);
    if (value != nullptr && value[0] == '/')
        return value;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0')
        return "";
    std::string folder = home;
    if (folder.back() != '/')
        folder += '/';
    return folder + BelowHome;
}

} // namespace

std::string XdgConfigHome() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string XdgDataHome() {
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}

} // namespace win32
