#include "platform/win32/ComputerName.h"

#include <climits>
#include <cstring>

#include <unistd.h>

namespace win32 {

std::string GetComputerName() {
    // The whole buffer goes to the call: it refuses a name that does not fit with its terminating zero, so a
    // buffer one byte short loses exactly the longest names.
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name) != 0)
        return {};
    return std::string(name, ::strnlen(name, sizeof name));
}

} // namespace win32
