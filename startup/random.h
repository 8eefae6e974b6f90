// The one generator of uniform values in [0, 1), with clock re-seeding that mixes into its state.
#pragma once
#include <cstdint>

namespace kolvane {

class Random {
public:
    explicit Random(std::uint64_t seed = 0x6b6f6c76616e65ull) : state_(seed) {}
    // Restarts the sequence; the same seed gives the same draws.
    void seed(std::uint64_t seed) { state_ = seed; }
    // Folds a clock reading into the state, so draws within one clock tick still differ.
    void reseed_from_clock(std::uint32_t clock);
    // Uniform in [0, 1).
    double next();
    // Whole number 1 to n drawn as Int(n * r + 1).
    int pick(int n);

private:
    std::uint64_t state_;
};

}  // namespace kolvane
