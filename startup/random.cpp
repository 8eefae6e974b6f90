// SplitMix64 generator with clock mixing.
#include "startup/random.h"

#include <cmath>

namespace kolvane {

namespace {
std::uint64_t mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}
}  // namespace

void Random::reseed_from_clock(std::uint32_t clock) {
    state_ = mix64(state_ ^ (static_cast<std::uint64_t>(clock) * 0x9e3779b97f4a7c15ull));
}

double Random::next() {
    state_ += 0x9e3779b97f4a7c15ull;
    return static_cast<double>(mix64(state_) >> 11) * 0x1.0p-53;
}

int Random::pick(int n) { return static_cast<int>(std::floor(n * next() + 1.0)); }

}  // namespace kolvane
