// What a running scene keeps true in every frame: the sprite table's books and a screen without stale pixels.
#pragma once
#include <array>
#include <string>

#include "app/app.h"
#include "scene/render/surface.h"
#include "scene/sprites/sprite_table.h"

namespace kolvane::testing {

// How many objects of each kind (1 to 11, 12 for stars) may be on the screen at once.
inline constexpr std::array<int, 13> kind_limit{0, 2, 1, 3, 5, 6, 1, 1, 1, 1, 5, 5, 1000};

// Empty when the draw order, the slots, the per-kind counts and the current picture agree; otherwise
// what is wrong.
std::string sprite_table_fault(const App& app);

using DrawOrder = decltype(SpriteTable::draw_order);

// Empty when `shown` is the clean background with every active sprite drawn in `drawn_order`, the draw
// order as the frame began (its sorting pass comes after the drawing); otherwise how many pixels differ.
// `expected` is the caller's scratch surface, reused so that a check allocates only the first time.
std::string stale_pixels_fault(const App& app, const DrawOrder& drawn_order, const Surface& shown, Surface& expected);

}  // namespace kolvane::testing
