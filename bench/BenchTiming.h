#pragma once
// The clocks the benchmarks read: CPU seconds of the process (or of its finished children) and wall seconds.

#include <chrono>

#include <sys/resource.h>

namespace bench {

using Clock = std::chrono::steady_clock;

// RUSAGE_SELF or RUSAGE_CHILDREN: user and system time together.
inline double CpuSeconds(int Who) {
    rusage usage{};
    getrusage(Who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline double Since(Clock::time_point Start) {
    return std::chrono::duration<double>(Clock::now() - Start).count();
}

} // namespace bench
