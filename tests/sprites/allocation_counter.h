// Counts the program's heap allocations, so a test can show that a piece of work makes none.
#pragma once
#include <cstdint>

namespace kolvane::testing {

std::uint64_t allocation_count();

}  // namespace kolvane::testing
