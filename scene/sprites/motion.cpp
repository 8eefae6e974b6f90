// The motion pass: star placement, launch timing, the six motion kinds, edge tests and animation.
#include "scene/sprites/motion.h"

#include "scene/scene.h"
#include "scene/sprites/launcher.h"
#include "startup/numeric.h"

namespace kolvane {

namespace {

constexpr double edge_margin = 8.0;  // pixels beyond an edge before a slot is freed, at object scale 1

// Notes where a slot freed now was last shown, so that the compositor can restore the screen there.
void record_freed_rect(SpriteTable& table, const SpriteSlot& s) {
    const FrameRect& f = table.frame_table[s.frame];
    if (f.width <= 0 || f.height <= 0 || table.freed_count >= freed_rect_capacity) return;
    table.freed_rects[table.freed_count++] = {static_cast<std::int32_t>(round_half_even(s.old_x)),
                                              static_cast<std::int32_t>(round_half_even(s.old_y)),
                                              f.width, f.height};
}

// Frees a slot during the pass. A slot placed in this frame was never shown, so it leaves nothing.
void retire_slot(Scene& scene, std::int32_t i, bool placed_this_frame) {
    SpriteTable& table = scene.sprites;
    if (table.slot[i].active != 0 && !placed_this_frame) record_freed_rect(table, table.slot[i]);
    sprite_off(scene, i);
}

// Frees the slot once its frame lies wholly more than the margin beyond an edge; both tests always run.
void edge_tests(Scene& scene, std::int32_t i, double w, double h, bool placed_this_frame) {
    const SpriteSlot& s = scene.sprites.slot[i];
    const double width = scene.run.screen_width;
    const double height = scene.run.screen_height;
    // The margin grows with the objects, so a larger (and as fast) object still leaves no remainder.
    const double margin = edge_margin * scene.run.object_scale;
    if (s.x + w < -margin || s.x > width + margin) retire_slot(scene, i, placed_this_frame);
    if (s.y + h < -margin || s.y > height + margin) retire_slot(scene, i, placed_this_frame);
}

// Random pushes against the present direction of travel, then a step by the wander velocity.
void wander(Scene& scene, SpriteSlot& s) {
    s.wander_vx += s.wander_ax;
    s.wander_vy += s.wander_ay;
    if (chance_half(scene)) {
        const std::int32_t k = pick(scene, 10);
        if (s.wander_vy > 0) s.wander_ay -= sy(scene, k) / 8;
        else s.wander_ay += sy(scene, k) / 8;
    }
    if (chance_twentieth(scene)) {
        const std::int32_t k = pick(scene, 10);
        if (s.wander_vx > 0) s.wander_ax -= sx(scene, k) / 16;
        else s.wander_ax += sx(scene, k) / 16;
    }
    s.x += s.wander_vx;
    s.y += s.wander_vy;
}

void move_slot(Scene& scene, std::int32_t i, bool placed_this_frame) {
    SpriteSlot& s = scene.sprites.slot[i];
    const FrameRect& shown = scene.sprites.frame_table[s.frame];
    const double w = shown.width;
    const double h = shown.height;
    switch (s.motion) {
        case Motion::speeding_up:
            s.x += s.vx;
            s.y += s.vy;
            edge_tests(scene, i, w, h, placed_this_frame);
            if (s.vx > 0) s.vx += sx(scene, 1) / 4;
            else s.vx -= sx(scene, 1) / 4;
            break;
        case Motion::climbing:
            s.x += s.vx;
            s.y += s.vy;
            edge_tests(scene, i, w, h, placed_this_frame);
            s.vy -= sy(scene, 1) / 4;
            break;
        case Motion::straight:
            s.x += s.vx;
            s.y += s.vy;
            edge_tests(scene, i, w, h, placed_this_frame);
            break;
        case Motion::accelerating:
            s.x += s.vx;
            s.y += s.vy;
            edge_tests(scene, i, w, h, placed_this_frame);
            s.vx += s.ax;
            break;
        case Motion::wandering:
            wander(scene, s);
            edge_tests(scene, i, w, h, placed_this_frame);
            break;
        case Motion::none:
            break;
    }
}

// Advances the slot's sequence; its end either loops to step 1 or frees the slot.
void step_animation(Scene& scene, std::int32_t i, bool placed_this_frame) {
    SpriteTable& table = scene.sprites;
    SpriteSlot& s = table.slot[i];
    if (s.anim == 0) return;
    ++s.anim_step;
    if (table.anim_table[s.anim][s.anim_step] == end_of_sequence) {
        if (s.anim_end != 0) {
            retire_slot(scene, i, placed_this_frame);
            return;
        }
        s.anim_step = 1;
    }
    s.frame = table.anim_table[s.anim][s.anim_step];
}

// Tries a star in a random slot; the slot placed, or 0. The chance is drawn whether or not the
// slot is free, so the number of draws in a frame does not depend on the table.
std::int32_t star_attempt(Scene& scene) {
    const std::int32_t s = pick(scene, scene.sprites.max_sprites);
    const bool slot_free = scene.sprites.slot[s].active == 0;
    const bool twinkle = chance_below(scene, 1000, 100);
    if (!slot_free || !twinkle) return 0;
    do_star(scene, s);
    return s;
}

// Counts towards the next launch; on the due frame offers a random slot to the launcher.
// Returns the slot offered, or 0. The count wraps rather than overflowing in an endless scene.
std::int32_t launch_attempt(Scene& scene) {
    SpriteTable& table = scene.sprites;
    table.launch_countdown = static_cast<std::int32_t>(static_cast<std::uint32_t>(table.launch_countdown) + 1u);
    if (table.launch_countdown != scene.run.launch_interval) return 0;
    table.launch_countdown = 0;
    const std::int32_t s = pick(scene, table.max_sprites);
    if (table.slot[s].active != 0) return 0;
    launch_object(scene, s);
    return s;
}

}  // namespace

void move_sprites(Scene& scene) {
    SpriteTable& table = scene.sprites;
    const std::int32_t star_slot = star_attempt(scene);
    const std::int32_t launch_slot = launch_attempt(scene);
    for (std::int32_t i = 1; i <= table.max_sprites; ++i) {
        if (table.slot[i].active != 1) continue;
        const bool placed_this_frame = i == star_slot || i == launch_slot;
        move_slot(scene, i, placed_this_frame);
        step_animation(scene, i, placed_this_frame);
    }
}

void do_star(Scene& scene, std::int32_t slot) {
    sprite_off(scene, slot);
    SpriteSlot& s = scene.sprites.slot[slot];
    s.x = pick(scene, scene.run.screen_width);
    s.y = pick(scene, scene.run.screen_height);
    s.anim_end = 1;  // freed when its sequence ends
    s.motion = Motion::none;
    s.masked = 0;    // star frames are ORed straight onto the scene
    setsprite_anim(scene, slot, pick(scene, 3) + 2);
    s.active = 1;
    s.kind = static_cast<std::int16_t>(object_kind::star);
    ++scene.sprites.kind_count[object_kind::star];
}

}  // namespace kolvane
