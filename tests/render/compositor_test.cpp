// The compositor: set-up, the per-frame erase, draw and show, the flicker-free rectangle, freed slots.
#include <gtest/gtest.h>

#include "render_fixture.h"
#include "scene/render/compositor.h"

namespace kolvane {
namespace {

using testing::RenderScene;
using testing::same_pixels;

// The clean background with the active slots drawn, worked out pixel by pixel from the artwork.
Surface expected_frame(const App& app) {
    Surface out = app.scene.surfaces.background_copy;
    for (int k = 1; k <= app.scene.sprites.max_sprites; ++k) {
        const int s = app.scene.sprites.draw_order[static_cast<std::size_t>(k)];
        const SpriteSlot& slot = app.scene.sprites.slot[static_cast<std::size_t>(s)];
        if (slot.active == 0) continue;
        const FrameRect& f = app.scene.sprites.frame_table[static_cast<std::size_t>(slot.frame)];
        const int left = to_pixel(slot.x), top = to_pixel(slot.y);
        for (int j = 0; j < f.height; ++j) {
            for (int i = 0; i < f.width; ++i) {
                const int x = left + i, y = top + j;
                if (x < 0 || y < 0 || x >= out.width() || y >= out.height()) continue;
                const std::uint32_t figure = app.scene.surfaces.sprite.at(f.sheet_x + i, f.sheet_y + j);
                const bool hole = slot.masked != 0 && testing::figure_opaque(f.sheet_x + i, f.sheet_y + j);
                out.at(x, y) = (hole ? 0u : out.at(x, y)) | figure;
            }
        }
    }
    return out;
}

TEST(FlickerFreeRectangle, CoversOldAndNewPlaceOnePixelLongerTowardsTheMovement) {
    // 10.4 to 13.6 with a frame 30 wide: left 10, width round(13.6 - 10 + 1 + 30) = 35.
    FlickerSpan s = flicker_free_span(10.4, 13.6, 30);
    EXPECT_EQ(s.start, 10);
    EXPECT_EQ(s.length, 35);
    // Moving the other way starts at the new place.
    s = flicker_free_span(13.6, 10.4, 30);
    EXPECT_EQ(s.start, 10);
    EXPECT_EQ(s.length, 35);
    // Not moved: exactly the frame.
    s = flicker_free_span(7.5, 7.5, 30);
    EXPECT_EQ(s.start, 8);
    EXPECT_EQ(s.length, 30);
    // Halves go to the even neighbour: 2.5 -> 2, 33.5 -> 34.
    s = flicker_free_span(2.5, 4.5, 30);
    EXPECT_EQ(s.start, 2);
    EXPECT_EQ(s.length, 34);
}

TEST(FlickerFreeRectangle, AlwaysHoldsBothDrawnRectangles) {
    for (double old_x = -3.0; old_x <= 3.0; old_x += 0.25) {
        for (double x = -3.0; x <= 3.0; x += 0.25) {
            const FlickerSpan s = flicker_free_span(old_x, x, 9);
            for (const double p : {old_x, x}) {
                EXPECT_LE(s.start, to_pixel(p)) << old_x << " " << x;
                EXPECT_GE(s.start + s.length, to_pixel(p) + 9) << old_x << " " << x;
            }
        }
    }
}

TEST(SurfaceSetUp, EveryScreenPictureHoldsTheStretchedBackground) {
    RenderScene scene(97, 61, 4);
    const SceneSurfaces& s = scene.app.scene.surfaces;
    EXPECT_EQ(s.ascreen.width, 97);
    EXPECT_EQ(s.ascreen.height, 61);
    EXPECT_FALSE(s.ascreen.persistent_drawing);
    EXPECT_TRUE(same_pixels(s.background_main, s.pictures[4]));
    Surface stretched(97, 61);
    StretchPlan plan;
    stretch_blt(stretched, 0, 0, 97, 61, s.pictures[4], plan);
    EXPECT_TRUE(same_pixels(s.background_copy, stretched));
    EXPECT_TRUE(same_pixels(s.background_work, s.background_copy));
    EXPECT_TRUE(same_pixels(*s.ascreen.persistent, s.background_copy));
    EXPECT_TRUE(same_pixels(scene.display.screen, s.background_copy));
    EXPECT_EQ(scene.display.repaint_picture, s.ascreen.persistent);
    // The clock sits in the top right corner, both boxes hidden until they get text.
    EXPECT_FLOAT_EQ(scene.overlays.clock.left, 97 * 15 - 1035.0f);
    EXPECT_FLOAT_EQ(scene.overlays.clock.top, 0.0f);
    EXPECT_FALSE(scene.overlays.clock.visible);
    EXPECT_FALSE(scene.overlays.caption.visible);
}

// A background change first erases every live sprite from the composed frame, then frees the slots.
TEST(Compositor, ClearingTheSpritesErasesThemBeforeFreeingThem) {
    RenderScene scene(120, 90);
    App& app = scene.app;
    scene.place(1, 44, 10.0, 12.0);
    scene.place(2, 20, 60.0, 40.0);
    app.scene.sprites.slot[1].kind = 4;
    app.scene.sprites.slot[2].kind = 10;
    app.scene.sprites.kind_count[4] = 1;
    app.scene.sprites.kind_count[10] = 1;
    scene.frame([] {});
    ASSERT_FALSE(same_pixels(app.scene.surfaces.background_work, app.scene.surfaces.background_copy));
    sprites_clear(app.scene);
    EXPECT_TRUE(same_pixels(app.scene.surfaces.background_work, app.scene.surfaces.background_copy));
    EXPECT_EQ(app.scene.sprites.slot[1].active + app.scene.sprites.slot[2].active, 0);
    EXPECT_EQ(app.scene.sprites.kind_count[4] + app.scene.sprites.kind_count[10], 0);
}

TEST(Compositor, ScreenShowsTheComposedFrameAfterEveryFrame) {
    RenderScene scene(120, 90);
    App& app = scene.app;
    scene.place(1, 44, 10.0, 12.0);
    scene.place(2, 20, 40.4, 30.6);
    scene.place(3, 68, 70.0, 5.0, false);
    scene.place(4, 20, 100.0, 70.0);  // hangs over the bottom-right edge
    scene.place(5, 44, 30.0, 20.0);   // overlaps slot 1 and is drawn after it
    for (int frame = 0; frame < 30; ++frame) {
        scene.frame([&] {
            app.scene.sprites.slot[1].x += 1.7;
            app.scene.sprites.slot[2].x -= 2.3;
            app.scene.sprites.slot[2].y += 0.9;
            app.scene.sprites.slot[4].x += 0.5;
            app.scene.sprites.slot[5].y -= 1.1;
        });
        const Surface expected = expected_frame(app);
        ASSERT_TRUE(same_pixels(app.scene.surfaces.background_work, expected)) << "frame " << frame;
        ASSERT_TRUE(same_pixels(scene.display.screen, expected)) << "frame " << frame;
    }
    // The persistent image is never drawn on during frames.
    EXPECT_TRUE(same_pixels(*app.scene.surfaces.ascreen.persistent, app.scene.surfaces.background_copy));
}

TEST(Compositor, OnlyTheSpriteRectanglesReachTheScreen) {
    RenderScene scene(120, 90);
    App& app = scene.app;
    scene.place(1, 20, 10.0, 10.0);
    scene.place(2, 68, 60.0, 60.0, false);
    scene.frame([] {});
    scene.display.count_presents(120, 90);
    const int presents_before = scene.display.presents;
    scene.frame([&] { app.scene.sprites.slot[2].x = 62.4; });
    EXPECT_EQ(scene.display.presents - presents_before, 2);
    int touched = 0;
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < 120; ++x) {
            const std::uint32_t n = scene.display.present_counts[static_cast<std::size_t>(y * 120 + x)];
            touched += n != 0;
            const bool unmoved = x >= 10 && x < 40 && y >= 10 && y < 40;
            // Moved from 60 to 62.4: left 60, width round(62.4 - 60 + 1 + 9) = 12.
            const bool moved = x >= 60 && x < 72 && y >= 60 && y < 69;
            EXPECT_EQ(n, unmoved || moved ? 1u : 0u) << x << "," << y;
        }
    }
    EXPECT_EQ(touched, 30 * 30 + 12 * 9);
}

// The scene drawing through the sheet's runs and showing only the frames' boxes, as the program does
// once its pictures are chosen. Frame 45 is frame 44's disc with 10 see-through pixels left of and above it.
void draw_through_runs(RenderScene& scene) {
    SceneSurfaces& surfaces = scene.app.scene.surfaces;
    scene.app.scene.sprites.frame_table[45] = {350, 230, 70, 70, 15};
    surfaces.sheet_runs.build(surfaces.mask, surfaces.sprite);
    fit_frame_boxes(scene.app.scene);
}

TEST(FrameBoxes, HoldExactlyThePixelsAMaskedDrawChanges) {
    RenderScene scene(120, 90);
    draw_through_runs(scene);
    const auto& boxes = scene.app.scene.surfaces.frame_boxes;
    const auto box = [&](int frame) { return boxes[static_cast<std::size_t>(frame)]; };
    EXPECT_EQ(box(44).left, 0);
    EXPECT_EQ(box(44).width, 60);
    EXPECT_EQ(box(45).left, 10);
    EXPECT_EQ(box(45).top, 10);
    EXPECT_EQ(box(45).width, 60);
    EXPECT_EQ(box(45).height, 60);
    EXPECT_TRUE(box(0).empty());
}

TEST(FrameBoxes, TheScreenShowsTheComposedFrameWhileSpritesMoveAndChangeFrames) {
    RenderScene scene(120, 90);
    draw_through_runs(scene);
    App& app = scene.app;
    scene.place(1, 45, 10.0, 12.0);
    scene.place(2, 20, 40.4, 30.6);
    scene.place(3, 68, 70.0, 5.0, false);
    scene.place(4, 45, 90.0, 60.0);  // hangs over the bottom-right edge
    scene.place(5, 44, -20.0, 20.0); // hangs over the left edge and overlaps slot 1
    for (int frame = 0; frame < 40; ++frame) {
        scene.frame([&] {
            SpriteTable& t = app.scene.sprites;
            t.slot[1].x += 1.7;
            t.slot[2].x -= 2.3;
            t.slot[2].y += 0.9;
            t.slot[4].x -= 0.5;
            t.slot[5].y -= 1.1;
            // Frames of other sizes and boxes in turn, as an animation steps.
            t.slot[1].frame = frame % 3 == 0 ? 44 : 45;
            t.slot[2].frame = frame % 4 == 0 ? 45 : 20;
        });
        const Surface expected = expected_frame(app);
        ASSERT_TRUE(same_pixels(app.scene.surfaces.background_work, expected)) << "frame " << frame;
        ASSERT_TRUE(same_pixels(scene.display.screen, expected)) << "frame " << frame;
    }
}

TEST(FrameBoxes, AMovedSpriteShowsOnlyItsBoxWhereItWasAndWhereItIs) {
    RenderScene scene(120, 90);
    draw_through_runs(scene);
    scene.place(1, 45, 10.0, 5.0);
    scene.frame([] {});
    scene.display.count_presents(120, 90);
    scene.frame([&] { scene.app.scene.sprites.slot[1].x = 13.4; });
    int touched = 0;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x)
            touched += scene.display.present_counts[static_cast<std::size_t>(y * 120 + x)] != 0;
    // The disc's box at 20 and at 23, 60 high: 63 x 60, where the whole frames would show 74 x 70.
    EXPECT_EQ(touched, 63 * 60);
}

TEST(Compositor, ErasingRecordsTheUnroundedOldPosition) {
    RenderScene scene;
    scene.place(1, 20, 10.4, -3.6);
    blit_old_sprites(scene.app.scene);
    EXPECT_DOUBLE_EQ(scene.app.scene.sprites.slot[1].old_x, 10.4);
    EXPECT_DOUBLE_EQ(scene.app.scene.sprites.slot[1].old_y, -3.6);
}

TEST(Compositor, RepaintRequestErasesAndCopiesButDrawsNoSprite) {
    RenderScene scene(120, 90);
    App& app = scene.app;
    scene.place(1, 44, 10.0, 12.0);
    scene.frame([] {});
    ASSERT_FALSE(same_pixels(scene.display.screen, app.scene.surfaces.background_copy));
    app.scene.run.repaint_request = 1;
    scene.frame([&] { app.scene.sprites.slot[1].x += 3.0; });
    EXPECT_TRUE(same_pixels(app.scene.surfaces.background_work, app.scene.surfaces.background_copy));
    EXPECT_TRUE(same_pixels(scene.display.screen, app.scene.surfaces.background_copy));
    // The end-of-frame repaint then covers the whole screen with the clean background.
    repaint_screen(app.scene);
    EXPECT_TRUE(same_pixels(scene.display.screen, app.scene.surfaces.background_copy));
}

// What the motion step does when it frees a slot: the slot is drawn and shown no more, and the
// place it was last shown is noted.
void free_slot(App& app, int slot) {
    SpriteSlot& s = app.scene.sprites.slot[static_cast<std::size_t>(slot)];
    const FrameRect& f = app.scene.sprites.frame_table[static_cast<std::size_t>(s.frame)];
    app.scene.sprites.freed_rects[static_cast<std::size_t>(app.scene.sprites.freed_count++)] = {to_pixel(s.old_x),
                                                                                    to_pixel(s.old_y), f.width,
                                                                                    f.height};
    s.active = 0;
    s.frame = 0;
}

TEST(FreedSlots, ASpriteThatLeavesTheSceneLeavesNoPictureBehind) {
    RenderScene scene(120, 90);
    App& app = scene.app;
    // A fast object near the right edge, moving 12 pixels per frame.
    scene.place(1, 44, 50.0, 20.0);
    scene.frame([] {});
    scene.frame([&] { app.scene.sprites.slot[1].x += 12.0; });
    ASSERT_FALSE(same_pixels(scene.display.screen, app.scene.surfaces.background_copy, 62, 20, 58, 60));
    // It jumps more than 8 pixels beyond the edge and is freed in the same motion step.
    scene.frame([&] {
        app.scene.sprites.slot[1].x = 130.0;
        free_slot(app, 1);
    });
    EXPECT_TRUE(same_pixels(scene.display.screen, app.scene.surfaces.background_copy));
    EXPECT_EQ(app.scene.sprites.freed_count, 0);
}

TEST(FreedSlots, RestoringAFreedPlaceKeepsLiveSpritesThatOverlapIt) {
    RenderScene scene(120, 90);
    App& app = scene.app;
    scene.place(1, 44, 20.0, 20.0);
    scene.place(2, 20, 40.0, 30.0);  // drawn over part of slot 1's place
    scene.frame([] {});
    scene.frame([&] { free_slot(app, 1); });
    const Surface expected = expected_frame(app);
    EXPECT_TRUE(same_pixels(scene.display.screen, expected));
    EXPECT_FALSE(same_pixels(scene.display.screen, app.scene.surfaces.background_copy, 40, 30, 30, 30));
}

}  // namespace
}  // namespace kolvane
