#pragma once
// What a fuzz harness does when a promise of the parser it fuzzes does not hold: says which, and aborts, so
// that libFuzzer keeps the input and the replay of the seed corpus fails.

#include <cstdio>
#include <cstdlib>

inline void FuzzCheck(bool Holds, const char* Harness, const char* What) {
    if (!Holds) {
        std::fprintf(stderr, "%s fuzz: %s\n", Harness, What);
        std::abort();
    }
}
