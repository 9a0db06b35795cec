#include "core/shared/TimeSplit.h"

#include <cstdio>

// The whole-second count stays 64-bit: a 32-bit count would wrap for lengths the callers can pass.
void RefTimeToHms(std::int64_t& H, std::int64_t& M, std::int64_t& S, std::int64_t T) {
    SecondsToHms(H, M, S, T / RefTimeUnitsPerSecond);
}

void SecondsToHms(std::int64_t& H, std::int64_t& M, std::int64_t& S, std::int64_t Seconds) {
    H = Seconds / 3600;
    M = (Seconds % 3600) / 60;
    S = Seconds % 60;
}

std::string HmsText(std::int64_t H, std::int64_t M, std::int64_t S) {
    char text[80];
    std::snprintf(text, sizeof text, "%lld:%2.2lld:%2.2lld", static_cast<long long>(H),
                  static_cast<long long>(M), static_cast<long long>(S));
    return text;
}
