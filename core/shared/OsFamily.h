#pragma once
// The operating-system family, by which the suspend and power-off paths choose their calls.

#include <string>
#include <string_view>

inline constexpr std::string_view OsFamily9x = "Windows 95/98/98SE/Me";
inline constexpr std::string_view OsFamilyNt = "Windows NT/2000/XP";

// Result := OsFamily9x or OsFamilyNt by the platform id the version query reports; empty when the query fails
// or reports another platform.
void GetOsFamily(std::string& Result);
