#include "platform/win32/ComputerName.h"

#include <climits>

#include <unistd.h>

namespace win32 {

std::string GetComputerName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

} // namespace win32
