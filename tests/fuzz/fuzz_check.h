// What the fuzz targets share: a check that stops the run with the broken promise named.
#pragma once
#include <cstdio>
#include <cstdlib>

namespace kolvane::fuzz {

// libFuzzer keeps the input that led here as a crash, so the message only has to say what broke.
inline void check(bool holds, const char* promise) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", promise);
    std::abort();
}

}  // namespace kolvane::fuzz
