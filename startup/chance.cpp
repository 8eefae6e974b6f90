// Chance helpers and speed tables.
#include "startup/chance.h"

#include "startup/app.h"
#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane {

namespace {
double reseeded_draw(App& app) {
    app.random.reseed_from_clock(static_cast<std::uint32_t>(get_ticks(app.platform.system)));
    return app.random.next();
}

bool draw_below_per_mille(App& app, int limit) {
    const double r = int_floor(reseeded_draw(app) * 1000.0 + 1.0);
    return r < limit;
}
}  // namespace

bool chance_half(App& app) { return draw_below_per_mille(app, 500); }
bool chance_fifth(App& app) { return draw_below_per_mille(app, 200); }
bool chance_twentieth(App& app) { return draw_below_per_mille(app, 50); }

bool chance_below(App& app, double range, double limit) {
    const double r = int_floor(range * reseeded_draw(app) + 1.0);
    return r < limit;
}

void build_speed_tables(App& app) {
    double d = 2500.0;
    for (app.loop_index = 1; app.loop_index <= 20; ++app.loop_index) {
        app.speed.x[app.loop_index] = app.run.screen_width / d;
        app.speed.y[app.loop_index] = app.run.screen_height / d;
        d -= 100.0;
    }
}

}  // namespace kolvane
