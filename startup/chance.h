// Chance helpers with fixed odds and the screen-scaled speed tables.
#pragma once
#include <array>

namespace kolvane {

struct App;

bool chance_half(App& app);        // 499 in 1000
bool chance_fifth(App& app);       // 199 in 1000
bool chance_twentieth(App& app);   // 49 in 1000
bool chance_below(App& app, double range, double limit);  // (limit - 1) / range

struct SpeedTables {
    std::array<double, 21> x{};  // index 1 to 20 in use
    std::array<double, 21> y{};
};

// Twenty speeds per axis for the current screen size; leaves loop_index at 21.
void build_speed_tables(App& app);

}  // namespace kolvane
