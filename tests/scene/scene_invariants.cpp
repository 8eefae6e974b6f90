// The invariants of a running scene, shared by the long-run test and the soak.
#include "tests/scene/scene_invariants.h"

#include <cstring>

#include "scene/render/compositor.h"

namespace kolvane::testing {

namespace {

std::string fault(const char* what, int at, int value) {
    return std::string(what) + " (at " + std::to_string(at) + ": " + std::to_string(value) + ")";
}

bool outside(int value, int low, int high) { return value < low || value > high; }

}  // namespace

std::string sprite_table_fault(const App& app) {
    const SpriteTable& t = app.scene.sprites;
    if (t.max_sprites != 25) return fault("max_sprites is not 25", 0, t.max_sprites);
    std::array<int, 26> seen{};
    for (int i = 1; i <= 25; ++i) {
        const int s = t.draw_order[static_cast<std::size_t>(i)];
        if (outside(s, 1, 25)) return fault("draw_order names no slot", i, s);
        if (seen[static_cast<std::size_t>(s)]++ != 0) return fault("a slot twice in draw_order", i, s);
    }
    std::array<int, 13> live{};
    for (int s = 1; s <= 25; ++s) {
        const SpriteSlot& slot = t.slot[static_cast<std::size_t>(s)];
        if (slot.active == 0) continue;
        if (outside(slot.kind, 1, 12)) return fault("an active slot of no kind", s, slot.kind);
        if (outside(slot.frame, 0, 73)) return fault("a frame outside the frame table", s, slot.frame);
        if (outside(slot.anim, 0, 10)) return fault("an animation outside the table", s, slot.anim);
        if (outside(slot.anim_step, 0, 100)) return fault("an animation step outside its sequence", s, slot.anim_step);
        ++live[static_cast<std::size_t>(slot.kind)];
    }
    for (int k = 1; k <= 12; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (t.kind_count[i] != live[i]) return fault("kind_count differs from the active slots of the kind", k, t.kind_count[i]);
        if (live[i] > kind_limit[i]) return fault("more objects of a kind than its limit", k, live[i]);
    }
    const int picture = app.scene.rotation.current_picture;
    if (outside(picture, 0, 9)) return fault("current_picture is not a background", 0, picture);
    return {};
}

std::string stale_pixels_fault(const App& app, const DrawOrder& drawn_order, const Surface& shown, Surface& expected) {
    expected.assign(app.scene.surfaces.background_copy);
    for (int k = 1; k <= app.scene.sprites.max_sprites; ++k) {
        const int s = drawn_order[static_cast<std::size_t>(k)];
        if (app.scene.sprites.slot[static_cast<std::size_t>(s)].active == 0) continue;
        const SlotPicture p = slot_picture(app.scene, s);
        if (p.masked)
            bit_blt(expected, p.x, p.y, p.width, p.height, app.scene.surfaces.sheet_mask(), p.sheet_x, p.sheet_y,
                    RasterOp::srcand);
        bit_blt(expected, p.x, p.y, p.width, p.height, app.scene.surfaces.sheet(), p.sheet_x, p.sheet_y,
                RasterOp::srcpaint);
    }
    if (shown.width() != expected.width() || shown.height() != expected.height())
        return fault("the screen is not the scene's size", shown.width(), shown.height());
    const auto row_bytes = static_cast<std::size_t>(shown.width()) * sizeof(std::uint32_t);
    long differing = 0;
    for (int y = 0; y < shown.height(); ++y) {
        // Whole rows first: the pixels are only counted in a row that differs.
        if (std::memcmp(shown.row(y), expected.row(y), row_bytes) == 0) continue;
        for (int x = 0; x < shown.width(); ++x) differing += shown.at(x, y) != expected.at(x, y) ? 1 : 0;
    }
    if (differing != 0) return "stale pixels on the screen: " + std::to_string(differing);
    return {};
}

}  // namespace kolvane::testing
