#pragma once
// The computer's name as the network knows it.

#include <string>

namespace win32 {

// The full host name (up to the system's limit, not cut to 15 characters); empty when it cannot be read.
std::string GetComputerName();

} // namespace win32
