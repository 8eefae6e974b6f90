// Counts the test program's heap allocations, so a test can check that a stretch of work makes none.
#pragma once
#include <cstdint>

namespace kolvane::testing {

std::int64_t allocation_count();

}  // namespace kolvane::testing
