// The sprite table: per-slot state, kind counters, drawing order, and the frame and animation tables.
#pragma once
#include <array>
#include <cstdint>

#include "scene/sprites/objects.h"

namespace kolvane {

struct Scene;

inline constexpr int sprite_slot_capacity = 501;  // slots 0 to 500; the scene uses 1 to max_sprites
inline constexpr int frame_count = 81;             // frames 0 to 80
inline constexpr int kind_capacity = 13;           // kinds 0 to 12; 12 is a star
inline constexpr int anim_sequence_capacity = 11;  // sequences 0 to 10
inline constexpr int anim_step_capacity = 101;     // steps 0 to 100

struct SpriteSlot {
    std::int32_t active = 0;
    std::int16_t kind = 0;
    std::int32_t frame = 0;
    double x = 0, y = 0;
    double old_x = 0, old_y = 0;
    double vx = 0, vy = 0;
    double ax = 0;
    double wander_vx = 0, wander_vy = 0;
    double wander_ax = 0, wander_ay = 0;
    Motion motion = Motion::none;
    std::int32_t masked = 0;
    std::int32_t anim = 0;
    std::int32_t anim_step = 0;
    std::int32_t anim_end = 0;
    std::int32_t old_frame = 0;  // the frame erased at old_x, old_y
};

struct FrameRect {
    std::int32_t sheet_x = 0, sheet_y = 0, width = 0, height = 0, depth = 0;
};

// A screen rectangle in whole pixels.
struct FreedRect {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
};

// Room for every slot once: a slot is recorded at most once per frame.
inline constexpr int freed_rect_capacity = sprite_slot_capacity;

struct SpriteTable {
    std::array<SpriteSlot, sprite_slot_capacity> slot{};
    std::array<std::int16_t, kind_capacity> kind_count{};
    std::array<std::int16_t, sprite_slot_capacity> draw_order{};
    std::array<FrameRect, frame_count> frame_table{};
    std::array<std::array<std::int32_t, anim_step_capacity>, anim_sequence_capacity> anim_table{};
    std::int32_t max_sprites = 25;
    std::int32_t next_kind = 0;         // the launcher's last considered kind
    std::int32_t launch_countdown = 0;  // frames towards the next launch attempt

    // Slots freed by move_sprites this frame are no longer drawn nor shown, but their last picture
    // is still on the screen. Each entry is where such a slot was last shown: left and top are
    // old_x and old_y rounded ties to even (as the compositor rounds them), width and height those
    // of the frame it showed. blit_flicker_free copies each rectangle to ascreen from
    // background_work (already erased there, live sprites intact), then sets freed_count to 0.
    std::array<FreedRect, freed_rect_capacity> freed_rects{};
    std::int32_t freed_count = 0;
};

// Builds the frame and animation tables, empties the table and readies the launch counters.
void init_sprites(Scene& scene);
// Frees every slot and zeroes the per-kind counters; draw_order stays.
void sprites_reset(Scene& scene);
// Frees one slot; keep_count leaves the kind's counter alone (the launcher reuses the slot at once).
void sprite_off(Scene& scene, std::int32_t slot, bool keep_count = false);
// Starts an animation sequence on a slot, showing its first frame at once.
void setsprite_anim(Scene& scene, std::int32_t slot, std::int32_t sequence);
// One bubble pass of draw_order by the depth of each slot's current frame.
void sort_sprites(Scene& scene);

}  // namespace kolvane
