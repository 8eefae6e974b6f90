// The object launcher: the catalogue of launchable kinds, their entry points, speeds, limits and odds.
#include "scene/sprites/launcher.h"

#include <limits>

#include "scene/scene.h"
#include "scene/scene.h"
#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane {

namespace {

constexpr std::int32_t always = 0;  // odds of a kind that has no chance step

struct KindRule {
    std::int32_t limit;   // refused while this many are alive
    std::int32_t odds;    // goes ahead when chance_below(1000, odds) holds
    Motion motion;        // how the launched object moves
};

constexpr KindRule kind_rules[launchable_kinds + 1] = {
    {0, 0, Motion::none},               // unused
    {2, 800, Motion::speeding_up},      // orbiter
    {1, 600, Motion::climbing},         // rocket
    {3, 700, Motion::straight},         // astronaut
    {5, always, Motion::accelerating},  // satellite
    {6, 900, Motion::straight},         // debris
    {1, 30, Motion::wandering},         // saucer
    {1, 300, Motion::straight},         // orbiter_top
    {1, 100, Motion::straight},         // launch_stack
    {1, 100, Motion::straight},         // dish_satellite
    {5, 800, Motion::straight},         // small_asteroid
    {5, 700, Motion::straight},         // large_asteroid
};

double sign_of(bool positive) { return positive ? 1.0 : -1.0; }

// Just outside the left edge (the frame's width to the left of 0) or just outside the right edge.
void enter_horizontally(Scene& scene, SpriteSlot& s, bool from_the_left) {
    s.x = from_the_left ? -scene.sprites.frame_table[s.frame].width : scene.run.screen_width;
}

double upper_half(Scene& scene) { return whole_draw(scene, scene.run.screen_height / 2.0); }
double lower_half(Scene& scene) { return scene.run.screen_height - whole_draw(scene, scene.run.screen_height / 2.0); }
double anywhere(Scene& scene) { return whole_draw(scene, scene.run.screen_height); }

// From the left in the upper half, or from the right in the lower half; the sign of travel.
double enter_diagonally(Scene& scene, SpriteSlot& s, bool from_the_left) {
    enter_horizontally(scene, s, from_the_left);
    s.y = from_the_left ? upper_half(scene) : lower_half(scene);
    return sign_of(from_the_left);
}

void launch_orbiter(Scene& scene, std::int32_t slot) {
    SpriteSlot& s = scene.sprites.slot[slot];
    const bool to_the_left = chance_half(scene);
    s.frame = to_the_left ? 12 : 11;
    enter_horizontally(scene, s, !to_the_left);
    s.vx = sign_of(!to_the_left) * sx(scene, pick(scene, 10));
    s.y = anywhere(scene);
    const bool down = chance_fifth(scene);
    s.vy = sign_of(down) * sy(scene, pick(scene, 20));
}

void launch_rocket(Scene& scene, std::int32_t slot) {
    SpriteSlot& s = scene.sprites.slot[slot];
    s.frame = 16;
    s.x = whole_draw(scene, scene.run.screen_width);
    s.y = scene.run.screen_height;
    const bool right = chance_fifth(scene);
    s.vx = sign_of(right) * sx(scene, pick(scene, 5));
    s.vy = -sy(scene, pick(scene, 5));
}

void launch_astronaut(Scene& scene, std::int32_t slot) {
    SpriteSlot& s = scene.sprites.slot[slot];
    const std::int32_t size = pick(scene, 3);  // 1 is the largest picture, and the fastest
    s.frame = 12 + size;
    const double sign = enter_diagonally(scene, s, chance_half(scene));
    s.vx = sign * (4 - size) * sx(scene, pick(scene, 3) + 8);
    s.vy = sign * sy(scene, pick(scene, 5));
}

void launch_satellite(Scene& scene, std::int32_t slot) {
    SpriteSlot& s = scene.sprites.slot[slot];
    s.frame = pick(scene, 5);
    const double sign = enter_diagonally(scene, s, chance_half(scene));
    s.vx = sign * 6 * sx(scene, pick(scene, 10) + 10);
    s.ax = -sign * sx(scene, pick(scene, 3)) / 16;  // brakes against its flight
    s.vy = sign * sy(scene, pick(scene, 15) + 5);
}

void launch_debris(Scene& scene, std::int32_t slot) {
    SpriteSlot& s = scene.sprites.slot[slot];
    s.frame = 6 + pick(scene, 3);
    const bool from_the_left = chance_half(scene);
    enter_horizontally(scene, s, from_the_left);
    s.y = anywhere(scene);
    s.vx = sign_of(from_the_left) * sx(scene, pick(scene, 20));
    s.vy = sign_of(from_the_left) * sy(scene, pick(scene, 3));
}

void launch_saucer(Scene& scene, std::int32_t slot) {
    SpriteSlot& s = scene.sprites.slot[slot];
    s.frame = 6;
    const bool from_the_left = !chance_half(scene);
    enter_horizontally(scene, s, from_the_left);
    s.wander_vx = sign_of(from_the_left) * 16 * sx(scene, pick(scene, 10));
    s.wander_ax = 0;
    s.y = anywhere(scene);
    const bool down = chance_half(scene);
    s.wander_vy = sign_of(down) * sy(scene, pick(scene, 5)) / 4;
    s.wander_ay = 0;
}

void launch_orbiter_top(Scene& scene, std::int32_t slot) {
    SpriteSlot& s = scene.sprites.slot[slot];
    s.frame = 10;
    const double sign = enter_diagonally(scene, s, chance_half(scene));
    s.vx = sign * sx(scene, pick(scene, 20));
    s.vy = sign * sy(scene, pick(scene, 5));
}

void launch_launch_stack(Scene& scene, std::int32_t slot) {
    SpriteSlot& s = scene.sprites.slot[slot];
    s.y = lower_half(scene);
    s.vy = -2 * sy(scene, pick(scene, 10) + 10);
    const bool from_the_left = chance_half(scene);
    s.frame = from_the_left ? 18 : 19;
    enter_horizontally(scene, s, from_the_left);
    s.vx = sign_of(from_the_left) * sx(scene, pick(scene, 10) + 10);
}

void launch_dish_satellite(Scene& scene, std::int32_t slot) {
    SpriteSlot& s = scene.sprites.slot[slot];
    s.frame = 17;
    s.y = anywhere(scene);
    const bool up = chance_half(scene);
    s.vy = sign_of(!up) * 2 * sy(scene, pick(scene, 10));
    const bool from_the_left = chance_half(scene);
    enter_horizontally(scene, s, from_the_left);
    s.vx = sign_of(from_the_left) * sx(scene, pick(scene, 10) + 5);
}

// Both asteroids: a tumbling sequence, y anywhere, a horizontal entry, then a vertical drift.
void launch_asteroid(Scene& scene, std::int32_t slot, std::int32_t sequence, double speed_factor) {
    setsprite_anim(scene, slot, sequence);
    SpriteSlot& s = scene.sprites.slot[slot];
    s.y = anywhere(scene);
    const bool from_the_left = chance_half(scene);
    enter_horizontally(scene, s, from_the_left);
    s.vx = sign_of(from_the_left) * speed_factor * sx(scene, pick(scene, 15) + 5);
    const bool down = chance_half(scene);
    s.vy = sign_of(down) * sy(scene, pick(scene, 5));
}

void launch_small_asteroid(Scene& scene, std::int32_t slot) { launch_asteroid(scene, slot, 1, 4.0); }
void launch_large_asteroid(Scene& scene, std::int32_t slot) { launch_asteroid(scene, slot, 2, 3.0); }

using KindLauncher = void (*)(Scene&, std::int32_t);

constexpr KindLauncher kind_launchers[launchable_kinds + 1] = {
    nullptr,           launch_orbiter,        launch_rocket,        launch_astronaut,
    launch_satellite,  launch_debris,         launch_saucer,        launch_orbiter_top,
    launch_launch_stack, launch_dish_satellite, launch_small_asteroid, launch_large_asteroid,
};

// Whether kind K may and will appear now; a kind at its limit draws nothing.
bool kind_goes_ahead(Scene& scene, std::int32_t kind) {
    const KindRule& rule = kind_rules[kind];
    if (scene.sprites.kind_count[kind] >= rule.limit) return false;
    return rule.odds == always || chance_below(scene, 1000, rule.odds);
}

}  // namespace

std::int32_t kind_limit(std::int32_t kind) {
    if (kind >= 1 && kind <= launchable_kinds) return kind_rules[kind].limit;
    return std::numeric_limits<std::int32_t>::max();
}

void launch_object(Scene& scene, std::int32_t slot) {
    scene.random.reseed_from_clock(static_cast<std::uint32_t>(get_ticks(scene.platform.system)));
    SpriteTable& table = scene.sprites;
    if (++table.next_kind > launchable_kinds) table.next_kind = 1;
    const std::int32_t kind = table.next_kind;
    if (!kind_goes_ahead(scene, kind)) return;
    sprite_off(scene, slot, true);
    kind_launchers[kind](scene, slot);
    SpriteSlot& s = table.slot[slot];
    s.motion = kind_rules[kind].motion;
    s.active = 1;
    s.kind = static_cast<std::int16_t>(kind);
    ++table.kind_count[kind];
}

}  // namespace kolvane
