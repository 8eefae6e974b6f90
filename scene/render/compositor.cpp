// The compositor: per-frame erase, draw and show of the sprites, the surface set-up and the transitions.
#include "scene/render/compositor.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "ports/display.h"
#include "scene/render/overlays.h"
#include "scene/scene.h"
#include "scene/scene_pictures.h"
#include "scene/timers.h"
#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane {

namespace {

void show(Display* display, const Surface& source, const PixelRect& r) {
    if (display && !r.empty()) display->present(source, r.left, r.top, r.width, r.height);
}

// The part of (x, y, width, height) inside both the screen and the source.
PixelRect clip_to(const ScreenPicture& screen, const Surface& source, int x, int y, int width, int height) {
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min({x + width, screen.width, source.width()});
    const int bottom = std::min({y + height, screen.height, source.height()});
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

PixelRect draw_into(ScreenPicture& screen, Display* display, int x, int y, int width, int height,
                    const Surface& source, int source_x, int source_y, RasterOp op) {
    if (screen.persistent_drawing) {
        const PixelRect r = bit_blt(*screen.persistent, x, y, width, height, source, source_x, source_y, op);
        show(display, *screen.persistent, r);
        return r;
    }
    // Straight onto the screen: the display takes the pixels from where they were composed, so
    // they are copied once on their way to the window.
    assert(op == RasterOp::srccopy && source_x == x && source_y == y);
    (void)op;
    (void)source_x;
    (void)source_y;
    const PixelRect r = clip_to(screen, source, x, y, width, height);
    show(display, source, r);
    return r;
}

// The slot numbers in drawing order, skipping free slots.
template <typename Visit>
void for_each_active_slot(Scene& scene, Visit visit) {
    const SpriteTable& table = scene.sprites;
    const int last = std::min(table.max_sprites, sprite_slot_capacity - 1);
    for (int k = 1; k <= last; ++k) {
        const int s = table.draw_order[static_cast<std::size_t>(k)];
        if (table.slot[static_cast<std::size_t>(s)].active == 0) continue;
        visit(s);
    }
}

constexpr int block_grid = 40;  // mode 1 cuts the screen into 40 x 40 blocks
constexpr int block_count = block_grid * block_grid;

void random_blocks(Scene& scene, const Surface& source, ScreenPicture& destination) {
    const double cw = scene.run.screen_width / static_cast<double>(block_grid);
    const double ch = scene.run.screen_height / static_cast<double>(block_grid);
    struct Origin {
        double x, y;
    };
    std::array<Origin, block_count + 1> origins{};  // entry 0 unused
    int n = 1;
    for (int row = 0; row < block_grid; ++row)
        for (int column = 0; column < block_grid; ++column) origins[static_cast<std::size_t>(n++)] = {column * cw, row * ch};
    for (int i = 1; i <= block_count; ++i) {
        const auto r = static_cast<int>(int_floor(block_count * scene.random.next() + 1));
        std::swap(origins[static_cast<std::size_t>(i)], origins[static_cast<std::size_t>(r)]);
    }
    // One pixel larger than a block: the rounded origins then leave no gap.
    const int block_w = to_pixel(cw + 1), block_h = to_pixel(ch + 1);
    for (int i = 1; i <= block_count; ++i) {
        const int x = to_pixel(origins[static_cast<std::size_t>(i)].x);
        const int y = to_pixel(origins[static_cast<std::size_t>(i)].y);
        draw_into(destination, scene.platform.display, x, y, block_w, block_h, source, x, y, RasterOp::srccopy);
        pause_with_timers(scene, 1);
    }
}

// The odd lines are brought in from the far edge: the last odd line is size - 1 for an even size
// and size - 2 for an odd one, so every line is copied exactly once either way.
int last_odd_line(int size) { return size % 2 == 0 ? size - 1 : size - 2; }

void rows_from_both_edges(Scene& scene, const Surface& source, ScreenPicture& destination) {
    const int w = scene.run.screen_width, h = scene.run.screen_height;
    Display* display = scene.platform.display;
    for (int i = 0; i <= h; i += 2) {
        const int from_top = i;
        const int from_bottom = last_odd_line(h) - i;
        draw_into(destination, display, 0, from_top, w, 1, source, 0, from_top, RasterOp::srccopy);
        draw_into(destination, display, 0, from_bottom, w, 1, source, 0, from_bottom, RasterOp::srccopy);
        pause_with_timers(scene, 6);
    }
}

void columns_from_both_edges(Scene& scene, const Surface& source, ScreenPicture& destination) {
    const int w = scene.run.screen_width, h = scene.run.screen_height;
    Display* display = scene.platform.display;
    for (int i = 0; i <= w; i += 2) {
        const int from_left = i;
        const int from_right = last_odd_line(w) - i;
        draw_into(destination, display, from_left, 0, 1, h, source, from_left, 0, RasterOp::srccopy);
        draw_into(destination, display, from_right, 0, 1, h, source, from_right, 0, RasterOp::srccopy);
        pause_with_timers(scene, 4);
    }
}

}  // namespace

PixelRect draw_to_screen(Scene& scene, int x, int y, int width, int height, const Surface& source, int source_x,
                         int source_y, RasterOp op) {
    return draw_into(scene.surfaces.ascreen, scene.platform.display, x, y, width, height, source, source_x, source_y,
                     op);
}

PixelRect draw_background(Scene& scene, Surface& dest) {
    const PixelRect area = background_area(scene);
    return stretch_blt(dest, area.left, area.top, area.width, area.height, scene.surfaces.background_main,
                       scene.surfaces.stretch);
}

void stretch_to_screen(Scene& scene) {
    ScreenPicture& screen = scene.surfaces.ascreen;
    assert(screen.persistent_drawing);
    show(scene.platform.display, *screen.persistent, draw_background(scene, *screen.persistent));
}

void set_persistent_drawing(Scene& scene, bool on) { scene.surfaces.ascreen.persistent_drawing = on; }

FlickerSpan flicker_free_span(double old_position, double position, int size) {
    if (old_position < position) {
        const int start = to_pixel(old_position);
        return {start, to_pixel(position - start + 1 + size)};
    }
    if (old_position > position) {
        const int start = to_pixel(position);
        return {start, to_pixel(old_position - start + 1 + size)};
    }
    return {to_pixel(position), size};
}

SlotPicture slot_picture(const Scene& scene, int slot) {
    const SpriteSlot& s = scene.sprites.slot[static_cast<std::size_t>(slot)];
    const FrameRect& f = scene.sprites.frame_table[static_cast<std::size_t>(s.frame)];
    return {to_pixel(s.x), to_pixel(s.y), f.width, f.height, f.sheet_x, f.sheet_y, s.masked != 0};
}

void blit_old_sprites(Scene& scene) {
    SceneSurfaces& surfaces = scene.surfaces;
    for_each_active_slot(scene, [&](int s) {
        const SlotPicture p = slot_picture(scene, s);
        // A masked frame changed only its runs' pixels; the rest of its rectangle is clean already.
        if (p.masked && surfaces.sheet_runs.fits(surfaces.sheet_mask(), surfaces.sheet()))
            erase_runs(surfaces.background_work, p.x, p.y, p.width, p.height, surfaces.background_copy, p.sheet_x,
                       p.sheet_y, surfaces.sheet_runs);
        else
            bit_blt(surfaces.background_work, p.x, p.y, p.width, p.height, surfaces.background_copy, p.x, p.y,
                    RasterOp::srccopy);
        SpriteSlot& slot = scene.sprites.slot[static_cast<std::size_t>(s)];
        slot.old_x = slot.x;
        slot.old_y = slot.y;
        slot.old_frame = slot.frame;
    });
}

void blit_new_sprites(Scene& scene) {
    if (scene.run.repaint_request == 1) return;
    SceneSurfaces& surfaces = scene.surfaces;
    for_each_active_slot(scene, [&](int s) {
        const SlotPicture p = slot_picture(scene, s);
        if (p.masked)
            mask_and_paint_runs(surfaces.background_work, p.x, p.y, p.width, p.height, surfaces.sheet_mask(),
                                surfaces.sheet(), p.sheet_x, p.sheet_y, surfaces.sheet_runs);
        else
            bit_blt(surfaces.background_work, p.x, p.y, p.width, p.height, surfaces.sheet(), p.sheet_x, p.sheet_y,
                    RasterOp::srcpaint);
    });
}

void blit_flicker_free(Scene& scene) {
    SceneSurfaces& surfaces = scene.surfaces;
    // Slots freed during the motion step are drawn no more, but their last picture is still on
    // the screen; background_work is already clean there, with any live sprite drawn over it.
    SpriteTable& table = scene.sprites;
    const int freed = std::clamp(table.freed_count, 0, freed_rect_capacity);
    for (int i = 0; i < freed; ++i) {
        const FreedRect& r = table.freed_rects[static_cast<std::size_t>(i)];
        draw_to_screen(scene, r.left, r.top, r.width, r.height, surfaces.background_work, r.left, r.top,
                       RasterOp::srccopy);
    }
    table.freed_count = 0;

    const bool boxes = surfaces.frame_boxes_scale == scene.run.object_scale &&
                       surfaces.frame_boxes.size() == table.frame_table.size() &&
                       surfaces.sheet_runs.fits(surfaces.sheet_mask(), surfaces.sheet());
    for_each_active_slot(scene, [&](int s) {
        const SpriteSlot& slot = table.slot[static_cast<std::size_t>(s)];
        if (slot.masked && boxes && slot.old_frame >= 0 &&
            static_cast<std::size_t>(slot.old_frame) < surfaces.frame_boxes.size()) {
            // Only the pixels the erase and the draw changed: the box of the frame erased where it was
            // and of the frame drawn where it is.
            PixelRect was = surfaces.frame_boxes[static_cast<std::size_t>(slot.old_frame)];
            PixelRect is = surfaces.frame_boxes[static_cast<std::size_t>(slot.frame)];
            was.left += to_pixel(slot.old_x);
            was.top += to_pixel(slot.old_y);
            is.left += to_pixel(slot.x);
            is.top += to_pixel(slot.y);
            const PixelRect both = bounding_rect(was, is);
            if (!both.empty())
                draw_to_screen(scene, both.left, both.top, both.width, both.height, surfaces.background_work,
                               both.left, both.top, RasterOp::srccopy);
            return;
        }
        const FrameRect& f = table.frame_table[static_cast<std::size_t>(slot.frame)];
        const FlickerSpan h = flicker_free_span(slot.old_x, slot.x, f.width);
        const FlickerSpan v = flicker_free_span(slot.old_y, slot.y, f.height);
        draw_to_screen(scene, h.start, v.start, h.length, v.length, surfaces.background_work, h.start, v.start,
                       RasterOp::srccopy);
    });
}

void fit_frame_boxes(Scene& scene) {
    SceneSurfaces& surfaces = scene.surfaces;
    const SheetRuns& runs = surfaces.sheet_runs;
    const auto& frames = scene.sprites.frame_table;
    surfaces.frame_boxes.assign(frames.size(), PixelRect{});
    surfaces.frame_boxes_scale = 0;
    if (!runs.fits(surfaces.sheet_mask(), surfaces.sheet())) return;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const FrameRect& f = frames[i];
        const int to = f.sheet_x + f.width;
        int left = f.width, right = 0, top = f.height, bottom = 0;
        for (int j = 0; j < f.height; ++j) {
            runs.for_each_in(f.sheet_y + j, f.sheet_x, to, [&](int a, int b, bool) {
                left = std::min(left, a - f.sheet_x);
                right = std::max(right, b - f.sheet_x);
                top = std::min(top, j);
                bottom = j + 1;
            });
        }
        if (right > left && bottom > top) surfaces.frame_boxes[i] = {left, top, right - left, bottom - top};
    }
    surfaces.frame_boxes_scale = scene.run.object_scale;
}

void sprites_clear(Scene& scene) {
    blit_old_sprites(scene);
    sprites_reset(scene);
}

void blit_effect(Scene& scene, const Surface& source, ScreenPicture& destination, int mode) {
    scene.random.reseed_from_clock(scene.platform.system.time_get_time());
    switch (mode) {
    case 1:
        random_blocks(scene, source, destination);
        break;
    case 2:
        rows_from_both_edges(scene, source, destination);
        break;
    case 3:
        columns_from_both_edges(scene, source, destination);
        break;
    default:
        break;
    }
}

void setup_surfaces(Scene& scene) {
    SceneSurfaces& surfaces = scene.surfaces;
    hide_overlays(scene);
    const int w = scene.run.screen_width, h = scene.run.screen_height;
    surfaces.ascreen.width = w;
    surfaces.ascreen.height = h;
    surfaces.background_copy.resize(w, h);
    set_persistent_drawing(scene, true);
    place_time_box(scene);

    load_background(scene, scene.rotation.current_picture);
    const PixelRect area = background_area(scene);
    surfaces.stretch.prepare(surfaces.background_main.width(), surfaces.background_main.height(), area.width,
                             area.height);
    stretch_to_screen(scene);

    surfaces.background_work.resize(w, h);
    // The clean background already holds the picture: it is the persistent image just drawn.
    bit_blt(surfaces.background_work, 0, 0, w, h, surfaces.background_copy, 0, 0, RasterOp::srccopy);
    set_persistent_drawing(scene, false);
    if (scene.platform.display) scene.platform.display->set_repaint_picture(*surfaces.ascreen.persistent);
    surfaces.next_picture_due = surfaces.large_backgrounds;
}

void repaint_screen(Scene& scene) {
    draw_to_screen(scene, 0, 0, scene.run.screen_width, scene.run.screen_height, scene.surfaces.background_copy, 0, 0,
                   RasterOp::srccopy);
}

}  // namespace kolvane
