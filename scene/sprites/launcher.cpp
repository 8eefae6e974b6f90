// The object launcher: the catalogue of launchable kinds, their entry points, speeds, limits and odds.
#include "scene/sprites/launcher.h"

#include <limits>

#include "startup/app.h"
#include "startup/chance.h"
#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane {

namespace {

constexpr std::int32_t launchable_kinds = 11;
constexpr std::int32_t always = 0;  // odds of a kind that has no chance step

struct KindRule {
    std::int32_t limit;   // refused while this many are alive
    std::int32_t odds;    // goes ahead when chance_below(1000, odds) holds
    std::int32_t motion;  // motion kind of the launched object
};

constexpr KindRule kind_rules[launchable_kinds + 1] = {
    {0, 0, 0},        // unused
    {2, 800, 1},      // orbiter
    {1, 600, 2},      // rocket
    {3, 700, 3},      // astronaut
    {5, always, 4},   // satellite
    {6, 900, 3},      // debris
    {1, 30, 5},       // saucer
    {1, 300, 3},      // orbiter_top
    {1, 100, 3},      // launch_stack
    {1, 100, 3},      // dish_satellite
    {5, 800, 3},      // small_asteroid
    {5, 700, 3},      // large_asteroid
};

// R(n): a whole number 1 to n.
std::int32_t pick(App& app, std::int32_t n) { return app.random.pick(n); }

// Int(n * r + 1) for a real n, such as half the scene height.
double whole_draw(App& app, double n) { return int_floor(n * app.random.next() + 1.0); }

double sx(const App& app, std::int32_t step) { return app.speed.x[step]; }
double sy(const App& app, std::int32_t step) { return app.speed.y[step]; }

double sign_of(bool positive) { return positive ? 1.0 : -1.0; }

// Just outside the left edge (the frame's width to the left of 0) or just outside the right edge.
void enter_horizontally(App& app, SpriteSlot& s, bool from_the_left) {
    s.x = from_the_left ? -app.sprites.frame_table[s.frame].width : app.run.screen_width;
}

double upper_half(App& app) { return whole_draw(app, app.run.screen_height / 2.0); }
double lower_half(App& app) { return app.run.screen_height - whole_draw(app, app.run.screen_height / 2.0); }
double anywhere(App& app) { return whole_draw(app, app.run.screen_height); }

// From the left in the upper half, or from the right in the lower half; the sign of travel.
double enter_diagonally(App& app, SpriteSlot& s, bool from_the_left) {
    enter_horizontally(app, s, from_the_left);
    s.y = from_the_left ? upper_half(app) : lower_half(app);
    return sign_of(from_the_left);
}

void launch_orbiter(App& app, std::int32_t slot) {
    SpriteSlot& s = app.sprites.slot[slot];
    const bool to_the_left = chance_half(app);
    s.frame = to_the_left ? 12 : 11;
    enter_horizontally(app, s, !to_the_left);
    s.vx = sign_of(!to_the_left) * sx(app, pick(app, 10));
    s.y = anywhere(app);
    const bool down = chance_fifth(app);
    s.vy = sign_of(down) * sy(app, pick(app, 20));
}

void launch_rocket(App& app, std::int32_t slot) {
    SpriteSlot& s = app.sprites.slot[slot];
    s.frame = 16;
    s.x = whole_draw(app, app.run.screen_width);
    s.y = app.run.screen_height;
    const bool right = chance_fifth(app);
    s.vx = sign_of(right) * sx(app, pick(app, 5));
    s.vy = -sy(app, pick(app, 5));
}

void launch_astronaut(App& app, std::int32_t slot) {
    SpriteSlot& s = app.sprites.slot[slot];
    const std::int32_t size = pick(app, 3);  // 1 is the largest picture, and the fastest
    s.frame = 12 + size;
    const double sign = enter_diagonally(app, s, chance_half(app));
    s.vx = sign * (4 - size) * sx(app, pick(app, 3) + 8);
    s.vy = sign * sy(app, pick(app, 5));
}

void launch_satellite(App& app, std::int32_t slot) {
    SpriteSlot& s = app.sprites.slot[slot];
    s.frame = pick(app, 5);
    const double sign = enter_diagonally(app, s, chance_half(app));
    s.vx = sign * 6 * sx(app, pick(app, 10) + 10);
    s.ax = -sign * sx(app, pick(app, 3)) / 16;  // brakes against its flight
    s.vy = sign * sy(app, pick(app, 15) + 5);
}

void launch_debris(App& app, std::int32_t slot) {
    SpriteSlot& s = app.sprites.slot[slot];
    s.frame = 6 + pick(app, 3);
    const bool from_the_left = chance_half(app);
    enter_horizontally(app, s, from_the_left);
    s.y = anywhere(app);
    s.vx = sign_of(from_the_left) * sx(app, pick(app, 20));
    s.vy = sign_of(from_the_left) * sy(app, pick(app, 3));
}

void launch_saucer(App& app, std::int32_t slot) {
    SpriteSlot& s = app.sprites.slot[slot];
    s.frame = 6;
    const bool from_the_left = !chance_half(app);
    enter_horizontally(app, s, from_the_left);
    s.wander_vx = sign_of(from_the_left) * 16 * sx(app, pick(app, 10));
    s.wander_ax = 0;
    s.y = anywhere(app);
    const bool down = chance_half(app);
    s.wander_vy = sign_of(down) * sy(app, pick(app, 5)) / 4;
    s.wander_ay = 0;
}

void launch_orbiter_top(App& app, std::int32_t slot) {
    SpriteSlot& s = app.sprites.slot[slot];
    s.frame = 10;
    const double sign = enter_diagonally(app, s, chance_half(app));
    s.vx = sign * sx(app, pick(app, 20));
    s.vy = sign * sy(app, pick(app, 5));
}

void launch_launch_stack(App& app, std::int32_t slot) {
    SpriteSlot& s = app.sprites.slot[slot];
    s.y = lower_half(app);
    s.vy = -2 * sy(app, pick(app, 10) + 10);
    const bool from_the_left = chance_half(app);
    s.frame = from_the_left ? 18 : 19;
    enter_horizontally(app, s, from_the_left);
    s.vx = sign_of(from_the_left) * sx(app, pick(app, 10) + 10);
}

void launch_dish_satellite(App& app, std::int32_t slot) {
    SpriteSlot& s = app.sprites.slot[slot];
    s.frame = 17;
    s.y = anywhere(app);
    const bool up = chance_half(app);
    s.vy = sign_of(!up) * 2 * sy(app, pick(app, 10));
    const bool from_the_left = chance_half(app);
    enter_horizontally(app, s, from_the_left);
    s.vx = sign_of(from_the_left) * sx(app, pick(app, 10) + 5);
}

// Both asteroids: a tumbling sequence, y anywhere, a horizontal entry, then a vertical drift.
void launch_asteroid(App& app, std::int32_t slot, std::int32_t sequence, double speed_factor) {
    setsprite_anim(app, slot, sequence);
    SpriteSlot& s = app.sprites.slot[slot];
    s.y = anywhere(app);
    const bool from_the_left = chance_half(app);
    enter_horizontally(app, s, from_the_left);
    s.vx = sign_of(from_the_left) * speed_factor * sx(app, pick(app, 15) + 5);
    const bool down = chance_half(app);
    s.vy = sign_of(down) * sy(app, pick(app, 5));
}

void launch_small_asteroid(App& app, std::int32_t slot) { launch_asteroid(app, slot, 1, 4.0); }
void launch_large_asteroid(App& app, std::int32_t slot) { launch_asteroid(app, slot, 2, 3.0); }

using KindLauncher = void (*)(App&, std::int32_t);

constexpr KindLauncher kind_launchers[launchable_kinds + 1] = {
    nullptr,           launch_orbiter,        launch_rocket,        launch_astronaut,
    launch_satellite,  launch_debris,         launch_saucer,        launch_orbiter_top,
    launch_launch_stack, launch_dish_satellite, launch_small_asteroid, launch_large_asteroid,
};

// Whether kind K may and will appear now; a kind at its limit draws nothing.
bool kind_goes_ahead(App& app, std::int32_t kind) {
    const KindRule& rule = kind_rules[kind];
    if (app.sprites.kind_count[kind] >= rule.limit) return false;
    return rule.odds == always || chance_below(app, 1000, rule.odds);
}

}  // namespace

std::int32_t kind_limit(std::int32_t kind) {
    if (kind >= 1 && kind <= launchable_kinds) return kind_rules[kind].limit;
    return std::numeric_limits<std::int32_t>::max();
}

void launch_object(App& app, std::int32_t slot) {
    app.random.reseed_from_clock(static_cast<std::uint32_t>(get_ticks(app.platform.system)));
    SpriteTable& table = app.sprites;
    if (++table.next_kind > launchable_kinds) table.next_kind = 1;
    const std::int32_t kind = table.next_kind;
    if (!kind_goes_ahead(app, kind)) return;
    sprite_off(app, slot, true);
    kind_launchers[kind](app, slot);
    SpriteSlot& s = table.slot[slot];
    s.motion = kind_rules[kind].motion;
    s.active = 1;
    s.kind = static_cast<std::int16_t>(kind);
    ++table.kind_count[kind];
}

}  // namespace kolvane
