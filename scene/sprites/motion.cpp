// The motion pass: star placement, launch timing, the six motion kinds, edge tests and animation.
#include "scene/sprites/motion.h"

#include "scene/render/rotation.h"
#include "scene/sprites/launcher.h"
#include "startup/app.h"
#include "startup/chance.h"
#include "startup/numeric.h"

namespace kolvane {

namespace {

constexpr std::int32_t end_of_sequence = -1;
constexpr double edge_margin = 8.0;  // pixels beyond an edge before a slot is freed

std::int32_t pick(App& app, std::int32_t n) { return app.random.pick(n); }
double sx(const App& app, std::int32_t step) { return app.speed.x[step]; }
double sy(const App& app, std::int32_t step) { return app.speed.y[step]; }

// Notes where a slot freed now was last shown, so that the compositor can restore the screen there.
void record_freed_rect(SpriteTable& table, const SpriteSlot& s) {
    const FrameRect& f = table.frame_table[s.frame];
    if (f.width <= 0 || f.height <= 0 || table.freed_count >= freed_rect_capacity) return;
    table.freed_rects[table.freed_count++] = {static_cast<std::int32_t>(round_half_even(s.old_x)),
                                              static_cast<std::int32_t>(round_half_even(s.old_y)),
                                              f.width, f.height};
}

// Frees a slot during the pass. A slot placed in this frame was never shown, so it leaves nothing.
void retire_slot(App& app, std::int32_t i, bool placed_this_frame) {
    SpriteTable& table = app.sprites;
    if (table.slot[i].active != 0 && !placed_this_frame) record_freed_rect(table, table.slot[i]);
    sprite_off(app, i);
}

// Frees the slot once its frame lies wholly more than the margin beyond an edge; both tests always run.
void edge_tests(App& app, std::int32_t i, double w, double h, bool placed_this_frame) {
    const SpriteSlot& s = app.sprites.slot[i];
    const double width = app.run.screen_width;
    const double height = app.run.screen_height;
    if (s.x + w < -edge_margin || s.x > width + edge_margin) retire_slot(app, i, placed_this_frame);
    if (s.y + h < -edge_margin || s.y > height + edge_margin) retire_slot(app, i, placed_this_frame);
}

// Random pushes against the present direction of travel, then a step by the wander velocity.
void wander(App& app, SpriteSlot& s) {
    s.wander_vx += s.wander_ax;
    s.wander_vy += s.wander_ay;
    if (chance_half(app)) {
        const std::int32_t k = pick(app, 10);
        if (s.wander_vy > 0) s.wander_ay -= sy(app, k) / 8;
        else s.wander_ay += sy(app, k) / 8;
    }
    if (chance_twentieth(app)) {
        const std::int32_t k = pick(app, 10);
        if (s.wander_vx > 0) s.wander_ax -= sx(app, k) / 16;
        else s.wander_ax += sx(app, k) / 16;
    }
    s.x += s.wander_vx;
    s.y += s.wander_vy;
}

void move_slot(App& app, std::int32_t i, bool placed_this_frame) {
    SpriteSlot& s = app.sprites.slot[i];
    const FrameRect& shown = app.sprites.frame_table[s.frame];
    const double w = shown.width;
    const double h = shown.height;
    switch (s.motion) {
        case 1:  // horizontal flight that speeds up in its own direction
            s.x += s.vx;
            s.y += s.vy;
            edge_tests(app, i, w, h, placed_this_frame);
            if (s.vx > 0) s.vx += sx(app, 1) / 4;
            else s.vx -= sx(app, 1) / 4;
            break;
        case 2:  // climb that speeds up towards the top
            s.x += s.vx;
            s.y += s.vy;
            edge_tests(app, i, w, h, placed_this_frame);
            s.vy -= sy(app, 1) / 4;
            break;
        case 3:  // straight line
            s.x += s.vx;
            s.y += s.vy;
            edge_tests(app, i, w, h, placed_this_frame);
            break;
        case 4:  // straight line with horizontal acceleration
            s.x += s.vx;
            s.y += s.vy;
            edge_tests(app, i, w, h, placed_this_frame);
            s.vx += s.ax;
            break;
        case 5:
            wander(app, s);
            edge_tests(app, i, w, h, placed_this_frame);
            break;
        default:  // stars keep their place
            break;
    }
}

// Advances the slot's sequence; its end either loops to step 1 or frees the slot.
void step_animation(App& app, std::int32_t i, bool placed_this_frame) {
    SpriteTable& table = app.sprites;
    SpriteSlot& s = table.slot[i];
    if (s.anim == 0) return;
    ++s.anim_step;
    if (table.anim_table[s.anim][s.anim_step] == end_of_sequence) {
        if (s.anim_end != 0) {
            retire_slot(app, i, placed_this_frame);
            return;
        }
        s.anim_step = 1;
    }
    s.frame = table.anim_table[s.anim][s.anim_step];
}

// Tries a star in a random slot; the slot placed, or 0. The chance is drawn whether or not the
// slot is free, so the number of draws in a frame does not depend on the table.
std::int32_t star_attempt(App& app) {
    const std::int32_t s = pick(app, app.sprites.max_sprites);
    const bool slot_free = app.sprites.slot[s].active == 0;
    const bool twinkle = chance_below(app, 1000, 100);
    if (!slot_free || !twinkle) return 0;
    do_star(app, s);
    return s;
}

// Counts towards the next launch; on the due frame offers a random slot to the launcher.
// Returns the slot offered, or 0. The count wraps rather than overflowing in an endless scene.
std::int32_t launch_attempt(App& app) {
    SpriteTable& table = app.sprites;
    table.launch_countdown = static_cast<std::int32_t>(static_cast<std::uint32_t>(table.launch_countdown) + 1u);
    if (table.launch_countdown != app.run.launch_interval) return 0;
    table.launch_countdown = 0;
    const std::int32_t s = pick(app, table.max_sprites);
    if (table.slot[s].active != 0) return 0;
    launch_object(app, s);
    return s;
}

}  // namespace

void move_sprites(App& app) {
    SpriteTable& table = app.sprites;
    const std::int32_t star_slot = star_attempt(app);
    const std::int32_t launch_slot = launch_attempt(app);
    for (std::int32_t i = 1; i <= table.max_sprites; ++i) {
        if (table.slot[i].active != 1) continue;
        const bool placed_this_frame = i == star_slot || i == launch_slot;
        move_slot(app, i, placed_this_frame);
        step_animation(app, i, placed_this_frame);
    }
    handle_picture_rotation(app);
}

void do_star(App& app, std::int32_t slot) {
    sprite_off(app, slot);
    SpriteSlot& s = app.sprites.slot[slot];
    s.x = pick(app, app.run.screen_width);
    s.y = pick(app, app.run.screen_height);
    s.anim_end = 1;  // freed when its sequence ends
    s.motion = 0;
    s.masked = 0;    // star frames are ORed straight onto the scene
    setsprite_anim(app, slot, pick(app, 3) + 2);
    s.active = 1;
    s.kind = static_cast<std::int16_t>(object_kind::star);
    ++app.sprites.kind_count[object_kind::star];
}

}  // namespace kolvane
