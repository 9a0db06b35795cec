#pragma once
// Opening documents and web pages with the desktop's default program.

#include <string>

#include "platform/win32/Types.h"

namespace win32 {

// Opens File (a web address or a path) with the desktop's handler for it. Only the "open" operation is
// offered; Parameters, Directory and ShowCmd are not passed on (the desktop shows the program normally).
// Like the original, a result above 32 means success; 2 when nothing could open it, 31 for another operation.
int ShellExecute(HWND Owner, const std::string& Operation, const std::string& File, const std::string& Parameters,
                 const std::string& Directory, int ShowCmd);

} // namespace win32
