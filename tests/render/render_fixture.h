// A scene on the headless backend with a display, overlay boxes, a fixed clock and test artwork.
#pragma once
#include <cstdint>

#include "app/app.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_platform.h"

namespace kolvane::testing {

struct RenderScene {
    headless::FakeSystem system;
    headless::MemoryStore store;
    headless::MemoryRegistry registry;
    headless::HeadlessDisplay display;
    headless::HeadlessOverlays overlays;
    headless::FixedClock clock;
    App app{Platform{system, store, registry, &display, &overlays, &clock}};

    // A screen of width x height pixels at 15 twips per pixel, the test pictures loaded, set up
    // with picture `picture`; sprite frames of the given sizes are cut from the test sheet.
    explicit RenderScene(int width = 96, int height = 64, int picture = 0);
    // Puts slot `slot` on the scene showing `frame` at (x, y); draw_order is 1 to 25.
    void place(int slot, int frame, double x, double y, bool masked = true);
    // The frame's steps in the main loop's order, with the motion step in between.
    template <typename Motion>
    void frame(Motion motion) {
        blit_old_sprites_step();
        motion();
        draw_and_show_step();
    }
    void blit_old_sprites_step();
    void draw_and_show_step();
};

// Test artwork: every background picture has its own smooth pattern; the sheet has coloured
// figures with black surrounds, and the mask is black exactly under each figure's opaque part.
std::uint32_t picture_pixel(int picture, int x, int y);
void load_test_artwork(App& app);
// Frames used by the tests: a 30 x 30 figure (frame 20), a 60 x 60 one (44), a 9 x 9 star (68).
void fill_test_frames(App& app);
// Whether a sheet pixel of the test artwork is an opaque part of a figure.
bool figure_opaque(int sheet_x, int sheet_y);

// True when two surfaces agree inside the rectangle (clipped to both).
bool same_pixels(const Surface& a, const Surface& b, int x, int y, int width, int height);
bool same_pixels(const Surface& a, const Surface& b);

}  // namespace kolvane::testing
