// Chance helpers with fixed odds and the screen-scaled speed tables.
#pragma once
#include <array>
#include <cstdint>

#include "ports/system_api.h"
#include "startup/random.h"

namespace kolvane {

// Each helper folds the clock into the generator, then draws once.
bool chance_half(Random& random, SystemApi& system);       // 499 in 1000
bool chance_fifth(Random& random, SystemApi& system);      // 199 in 1000
bool chance_twentieth(Random& random, SystemApi& system);  // 49 in 1000
bool chance_below(Random& random, SystemApi& system, double range, double limit);  // (limit - 1) / range

struct SpeedTables {
    std::array<double, 21> x{};  // index 1 to 20 in use
    std::array<double, 21> y{};
};

// Twenty speeds per axis for a screen of this size in pixels.
void build_speed_tables(SpeedTables& speed, std::int32_t screen_width, std::int32_t screen_height);

}  // namespace kolvane
