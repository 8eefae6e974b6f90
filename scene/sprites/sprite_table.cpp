// The sprite table's procedures: building the constant tables, freeing slots, animation start, depth pass.
#include "scene/sprites/sprite_table.h"

#include <algorithm>
#include <utility>

#include "scene/scene.h"

namespace kolvane {

namespace {

// Frames 1 to 19: the single pictures of the sheet.
constexpr FrameRect single_frames[] = {
    {3, 2, 94, 82, 6},       {103, 1, 89, 89, 7},     {196, 2, 70, 59, 8},     {272, 2, 89, 66, 9},
    {367, 1, 80, 60, 10},    {449, 1, 71, 28, 4},     {521, 3, 21, 15, 3},     {545, 4, 18, 15, 2},
    {570, 2, 17, 13, 1},     {3, 96, 96, 151, 14},    {110, 97, 144, 60, 13},  {110, 162, 144, 60, 12},
    {265, 81, 125, 144, 21}, {401, 118, 59, 69, 20},  {469, 112, 30, 35, 19},  {560, 60, 28, 166, 5},
    {592, 40, 128, 158, 18}, {3, 262, 126, 167, 17},  {170, 263, 126, 168, 16},
};

// A grid of equal cells, row by row, each row left to right.
void fill_grid(SpriteTable& table, std::int32_t first_frame, std::int32_t left, std::int32_t top,
               std::int32_t cell, std::int32_t rows, std::int32_t columns, std::int32_t depth) {
    std::int32_t frame = first_frame;
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t column = 0; column < columns; ++column) {
            table.frame_table[frame] = {left + cell * column, top + cell * row, cell, cell, depth};
            ++frame;
        }
    }
}

// The sheets drawn at a larger object scale keep every frame at the same relative place.
void fill_frame_table(SpriteTable& table, std::int32_t scale) {
    table.frame_table.fill(FrameRect{});
    table.frame_table[0].depth = -1;
    for (std::int32_t f = 1; f <= 19; ++f) table.frame_table[f] = single_frames[f - 1];
    fill_grid(table, 20, 0, 480, 30, 4, 6, 11);   // small asteroid
    fill_grid(table, 44, 360, 240, 60, 4, 6, 15);  // large asteroid
    // The star row: 9-pixel cells 12 pixels apart.
    for (std::int32_t k = 0; k < 6; ++k) table.frame_table[68 + k] = {340 + 12 * k, 516, 9, 9, 0};
    for (FrameRect& f : table.frame_table) {
        f.sheet_x *= scale;
        f.sheet_y *= scale;
        f.width *= scale;
        f.height *= scale;
    }
}

// Steps 1, 2, ... show first_frame to last_frame; the step after them ends the sequence.
void fill_sequence(SpriteTable& table, std::int32_t sequence, std::int32_t first_frame,
                   std::int32_t last_frame) {
    std::int32_t step = 1;
    for (std::int32_t frame = first_frame; frame <= last_frame; ++frame) table.anim_table[sequence][step++] = frame;
    table.anim_table[sequence][step] = end_of_sequence;
}

void fill_anim_table(SpriteTable& table) {
    for (auto& sequence : table.anim_table) sequence.fill(0);
    fill_sequence(table, 1, 20, 43);
    fill_sequence(table, 2, 44, 67);
    fill_sequence(table, 3, 68, 73);
    fill_sequence(table, 4, 69, 73);
    fill_sequence(table, 5, 70, 73);
}

std::int32_t depth_of(const SpriteTable& table, std::int16_t slot) {
    return table.frame_table[table.slot[slot].frame].depth;
}

}  // namespace

void init_sprites(Scene& scene) {
    scene.scroller.caption_index = 0;
    scene.scroller.scroller_countdown = scene.run.scroller_period;
    scene.scroller.scroller_phase = 0;
    build_speed_tables(scene.speed, scene.run.screen_width, scene.run.screen_height);
    SpriteTable& table = scene.sprites;
    // Wraps as the motion pass's count does, so the attempt of the 10th frame comes whatever the interval.
    table.launch_countdown = static_cast<std::int32_t>(static_cast<std::uint32_t>(scene.run.launch_interval) - 10u);
    fill_frame_table(table, std::clamp<std::int32_t>(scene.run.object_scale, 1, 3));
    fill_anim_table(table);
    table.max_sprites = sprite_count;
    sprites_reset(scene);
    for (std::int32_t i = 1; i <= sprite_count; ++i) table.draw_order[i] = static_cast<std::int16_t>(i);
    table.freed_count = 0;
    table.next_kind = scene.random.pick(launchable_kinds);
}

void sprites_reset(Scene& scene) {
    SpriteTable& table = scene.sprites;
    for (std::int32_t i = 1; i <= table.max_sprites; ++i) sprite_off(scene, i);
    for (std::int32_t k = 1; k < kind_capacity; ++k) table.kind_count[k] = 0;
}

void sprite_off(Scene& scene, std::int32_t slot, bool keep_count) {
    SpriteSlot& s = scene.sprites.slot[slot];
    // Only a live sprite is counted, so freeing a free slot must not lower its old kind's counter.
    const bool was_live = s.active != 0;
    s.frame = 0;
    s.active = 0;
    s.anim = 0;
    s.anim_end = 0;
    s.anim_step = 0;
    s.motion = Motion::none;
    s.wander_vy = 0;
    s.wander_vx = 0;
    s.wander_ax = 0;
    s.wander_ay = 0;
    s.ax = 0;
    s.masked = 1;
    if (keep_count || !was_live) return;
    std::int16_t& count = scene.sprites.kind_count[s.kind];
    count = static_cast<std::int16_t>(count - 1);
    if (count < 1) count = 0;
}

void setsprite_anim(Scene& scene, std::int32_t slot, std::int32_t sequence) {
    SpriteSlot& s = scene.sprites.slot[slot];
    s.anim = sequence;
    s.anim_step = 0;
    s.frame = scene.sprites.anim_table[sequence][1];
}

void sort_sprites(Scene& scene) {
    SpriteTable& table = scene.sprites;
    for (std::int32_t i = 2; i <= table.max_sprites; ++i) {
        std::int16_t& a = table.draw_order[i - 1];
        std::int16_t& b = table.draw_order[i];
        if (depth_of(table, a) > depth_of(table, b)) std::swap(a, b);
    }
}

}  // namespace kolvane
