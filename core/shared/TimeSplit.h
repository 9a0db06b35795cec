#pragma once
// Splitting times into hours, minutes and seconds, and the time text every time label shows.

#include <cstdint>
#include <string>

// Media-graph times count 100-nanosecond units.
inline constexpr std::int64_t RefTimeUnitsPerSecond = 10'000'000;

// T in 100-ns units, truncated towards zero to whole seconds, split into H, M (0..59) and S (0..59).
void RefTimeToHms(std::int64_t& H, std::int64_t& M, std::int64_t& S, std::int64_t T);
// The same split for a count of whole seconds.
void SecondsToHms(std::int64_t& H, std::int64_t& M, std::int64_t& S, std::int64_t Seconds);

// "%d:%2.2d:%2.2d": hours unpadded, minutes and seconds two digits (1:05:09, 0:00:00).
std::string HmsText(std::int64_t H, std::int64_t M, std::int64_t S);
