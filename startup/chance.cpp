// Chance helpers and speed tables.
#include "startup/chance.h"

#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane {

namespace {
double reseeded_draw(Random& random, SystemApi& system) {
    random.reseed_from_clock(static_cast<std::uint32_t>(get_ticks(system)));
    return random.next();
}

bool draw_below_per_mille(Random& random, SystemApi& system, int limit) {
    const double r = int_floor(reseeded_draw(random, system) * 1000.0 + 1.0);
    return r < limit;
}
}  // namespace

bool chance_half(Random& random, SystemApi& system) { return draw_below_per_mille(random, system, 500); }
bool chance_fifth(Random& random, SystemApi& system) { return draw_below_per_mille(random, system, 200); }
bool chance_twentieth(Random& random, SystemApi& system) { return draw_below_per_mille(random, system, 50); }

bool chance_below(Random& random, SystemApi& system, double range, double limit) {
    const double r = int_floor(range * reseeded_draw(random, system) + 1.0);
    return r < limit;
}

void build_speed_tables(SpeedTables& speed, std::int32_t screen_width, std::int32_t screen_height) {
    double d = 2500.0;
    for (std::size_t i = 1; i <= 20; ++i) {
        speed.x[i] = screen_width / d;
        speed.y[i] = screen_height / d;
        d -= 100.0;
    }
}

}  // namespace kolvane
