// The sprite table: per-slot state, kind counters, drawing order, and the frame and animation tables.
#pragma once
#include <array>
#include <cstdint>

namespace kolvane {

struct App;

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
    std::int32_t motion = 0;
    std::int32_t masked = 0;
    std::int32_t anim = 0;
    std::int32_t anim_step = 0;
    std::int32_t anim_end = 0;
};

struct FrameRect {
    std::int32_t sheet_x = 0, sheet_y = 0, width = 0, height = 0, depth = 0;
};

struct SpriteTable {
    std::array<SpriteSlot, sprite_slot_capacity> slot{};
    std::array<std::int16_t, kind_capacity> kind_count{};
    std::array<std::int16_t, sprite_slot_capacity> draw_order{};
    std::array<FrameRect, frame_count> frame_table{};
    std::array<std::array<std::int32_t, anim_step_capacity>, anim_sequence_capacity> anim_table{};
    std::int32_t max_sprites = 25;
    std::int32_t next_kind = 0;         // the launcher's last considered kind
    std::int32_t launch_countdown = 0;  // frames towards the next launch attempt
};

}  // namespace kolvane
