#include "platform/win32/FakeLog.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace win32 {

bool FakeRequested(const char* Name) {
    const char* value = std::getenv(Name);
    return value != nullptr && std::strcmp(value, "fake") == 0;
}

void AppendFakeLog(std::string_view Line) {
    const char* file = std::getenv("QUOREL_FAKE_LOG");
    if (file == nullptr || *file == '\0')
        return;
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out << Line << '\n';
}

} // namespace win32
