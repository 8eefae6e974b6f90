// Rendering costs: the background stretch against a plain copy, a masked sprite against a plain copy of it,
// and a frame's compositing against a full redraw.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "app/app.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_platform.h"
#include "scene/render/compositor.h"
#include "scene/scene_pictures.h"
#include "scene/scene_window.h"
#include "scene/sprites/sprite_table.h"

namespace kolvane {
namespace {

// A headless scene of a given size with plain artwork, set up as the first activation does.
struct BenchScene {
    headless::FakeSystem system;
    headless::MemoryStore store;
    headless::MemoryRegistry registry;
    headless::HeadlessDisplay display;
    headless::HeadlessOverlays overlays;
    headless::FixedClock clock;
    std::unique_ptr<App> app;

    // `object_scale` as the setting takes it: 0 chooses by the width, 1 is the plain sheet. With
    // `own_pictures` the program's own sheets and backgrounds are drawn, at the chosen scale.
    BenchScene(int width, int height, int object_scale = 1, bool own_pictures = false) {
        system.screen_twips_w = static_cast<float>(width * 15);
        system.screen_twips_h = static_cast<float>(height * 15);
        app = std::make_unique<App>(Platform{system, store, registry, &display, &overlays, &clock});
        App& a = *app;
        a.scene.run.screen_width = width;
        a.scene.run.screen_height = height;
        for (int p = 0; p < background_picture_count; ++p) {
            Surface& picture = a.scene.surfaces.pictures[static_cast<std::size_t>(p)];
            picture.resize(background_picture_width, background_picture_height);
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    picture.at(x, y) = static_cast<std::uint32_t>((x << 16) ^ (y << 8) ^ (p * 25)) & white;
        }
        a.scene.surfaces.sprite = Surface(sheet_width, sheet_height, 0x00406080u);
        a.scene.surfaces.mask = Surface(sheet_width, sheet_height, white);
        a.scene.rotation.current_picture = 0;
        a.settings.object_scale = object_scale;
        if (own_pictures) {
            FolderPictures pictures(KOLVANE_ASSETS_DIR);
            if (!load_scene_pictures(a.scene, pictures)) std::abort();
        }
        choose_scene_pictures(a.scene);
        setup_surfaces(a.scene);
        init_sprites(a.scene);
        fit_frame_boxes(a.scene);
    }
};

// The figures of a busy scene: stars, small and large rocks and the larger objects.
constexpr int busy_scene_frames[25] = {68, 68, 68, 68, 68, 69, 70, 71, 20, 25, 30, 44, 50,
                                       1,  2,  3,  4,  5,  6,  10, 11, 13, 16, 17, 18};

// Puts all 25 slots on the scene, spread out and each moving at its own speed.
void fill_slots(App& app) {
    for (int slot = 1; slot <= 25; ++slot) {
        SpriteSlot& s = app.scene.sprites.slot[static_cast<std::size_t>(slot)];
        s.active = 1;
        s.frame = busy_scene_frames[slot - 1];
        s.masked = s.frame >= 68 ? 0 : 1;
        s.x = (slot * 7919) % app.scene.run.screen_width;
        s.y = (slot * 104729) % app.scene.run.screen_height;
        s.vx = 0.5 + (slot % 5) * 0.7;
        s.vy = 0.3 + (slot % 3) * 0.4;
    }
}

// Straight flight, bouncing off the edges, so that every slot stays active.
void move_within_screen(App& app) {
    for (int slot = 1; slot <= 25; ++slot) {
        SpriteSlot& s = app.scene.sprites.slot[static_cast<std::size_t>(slot)];
        s.x += s.vx;
        s.y += s.vy;
        if (s.x < 0 || s.x > app.scene.run.screen_width) s.vx = -s.vx;
        if (s.y < 0 || s.y > app.scene.run.screen_height) s.vy = -s.vy;
    }
}

void BM_StretchBackground(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const Surface picture(background_picture_width, background_picture_height, 0x00336699u);
    Surface screen(w, h);
    StretchPlan plan;
    stretch_blt(screen, 0, 0, w, h, picture, plan);
    for (auto _ : state) {
        stretch_blt(screen, 0, 0, w, h, picture, plan);
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{w} * h * 4);
}

// The same number of bytes written by a plain full-screen copy.
void BM_PlainScreenCopy(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const Surface source(w, h, 0x00336699u);
    Surface screen(w, h);
    for (auto _ : state) {
        bit_blt(screen, 0, 0, w, h, source, 0, 0, RasterOp::srccopy);
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{w} * h * 4);
}

// A sprite rectangle of the sheet and the screen places it is drawn at: every column alignment, the
// middle and the corners, so no one cache line or alignment decides the figure.
constexpr int sprite_w = 100, sprite_h = 80, sprite_sheet_x = 137, sprite_sheet_y = 211;
constexpr int sprite_places[8][2] = {{0, 0},      {413, 97},  {958, 501}, {1501, 233},
                                     {1817, 999}, {7, 760},   {1210, 3},  {666, 666}};

// A sheet and mask with the sprite's rectangle varied pixel by pixel, as drawn figures are.
struct SpriteSheets {
    Surface figure{sheet_width, sheet_height};
    Surface mask{sheet_width, sheet_height, white};
    SpriteSheets() {
        for (int y = 0; y < sheet_height; ++y) {
            for (int x = 0; x < sheet_width; ++x) {
                if ((x * 7 + y * 3) % 5 == 0) continue;
                mask.at(x, y) = black;
                figure.at(x, y) = static_cast<std::uint32_t>(x * 2654435761u + y) & white;
            }
        }
    }
};

// One masked sprite (mask ANDed, figure ORed in one pass) per place, onto a 1920x1080 frame.
void BM_MaskedSprite(benchmark::State& state) {
    const SpriteSheets sheets;
    Surface screen(1920, 1080, 0x00336699u);
    for (auto _ : state) {
        for (const auto& place : sprite_places)
            mask_and_paint(screen, place[0], place[1], sprite_w, sprite_h, sheets.mask, sheets.figure,
                           sprite_sheet_x, sprite_sheet_y);
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 8);
}

// The same rectangles drawn with the two raster copies a masked sprite used to take (AND, then OR).
void BM_MaskThenPaintSprite(benchmark::State& state) {
    const SpriteSheets sheets;
    Surface screen(1920, 1080, 0x00336699u);
    for (auto _ : state) {
        for (const auto& place : sprite_places) {
            bit_blt(screen, place[0], place[1], sprite_w, sprite_h, sheets.mask, sprite_sheet_x, sprite_sheet_y,
                    RasterOp::srcand);
            bit_blt(screen, place[0], place[1], sprite_w, sprite_h, sheets.figure, sprite_sheet_x, sprite_sheet_y,
                    RasterOp::srcpaint);
        }
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 8);
}

// The same rectangles copied plainly: the floor a masked sprite is measured against.
void BM_PlainSpriteCopy(benchmark::State& state) {
    const SpriteSheets sheets;
    Surface screen(1920, 1080, 0x00336699u);
    for (auto _ : state) {
        for (const auto& place : sprite_places)
            bit_blt(screen, place[0], place[1], sprite_w, sprite_h, sheets.figure, sprite_sheet_x, sprite_sheet_y,
                    RasterOp::srccopy);
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 8);
}

// One frame's compositing with 25 active sprites: erase, move, draw, show, depth pass.
void BM_FrameCompositing(benchmark::State& state) {
    BenchScene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    App& app = *scene.app;
    fill_slots(app);
    app.scene.run.repaint_request = 0;
    // A first frame shows each slot from the origin; the measured frames are the steady ones.
    blit_old_sprites(app.scene);
    blit_new_sprites(app.scene);
    blit_flicker_free(app.scene);
    scene.display.pixels_presented = 0;
    for (auto _ : state) {
        blit_old_sprites(app.scene);
        move_within_screen(app);
        blit_new_sprites(app.scene);
        blit_flicker_free(app.scene);
        sort_sprites(app.scene);
    }
    state.counters["pixels_shown"] =
        benchmark::Counter(static_cast<double>(scene.display.pixels_presented), benchmark::Counter::kAvgIterations);
}

// The scene's own frame work (motion, launches, compositing, sort, clock, caption), once the
// launcher has filled the scene. The background change is kept out: it is a transition, not a frame.
// The third argument is the object scale (0: chosen by the width, as the default settings do); the
// program's own pictures are drawn, since how much of a frame is see-through decides its cost.
void BM_SceneFrame(benchmark::State& state) {
    BenchScene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                     static_cast<int>(state.range(2)), true);
    App& app = *scene.app;
    app.settings.scroller_active = 0;
    app.scene.run.rotation_period = 1 << 30;
    app.scene.run.launch_interval = 8;
    app.scene.run.repaint_request = 0;
    for (int frame = 0; frame < 2000; ++frame) frame_work(app.scene);
    double active = 0;
    for (auto _ : state) {
        frame_work(app.scene);
        for (int slot = 1; slot <= app.scene.sprites.max_sprites; ++slot)
            active += app.scene.sprites.slot[static_cast<std::size_t>(slot)].active;
    }
    state.counters["active_sprites"] = benchmark::Counter(active, benchmark::Counter::kAvgIterations);
}

// Drawing the whole frame anew: the clean background, every sprite, and the whole screen shown.
void BM_FullFrameRedraw(benchmark::State& state) {
    BenchScene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    App& app = *scene.app;
    fill_slots(app);
    app.scene.run.repaint_request = 0;
    const int w = app.scene.run.screen_width, h = app.scene.run.screen_height;
    for (auto _ : state) {
        bit_blt(app.scene.surfaces.background_work, 0, 0, w, h, app.scene.surfaces.background_copy, 0, 0, RasterOp::srccopy);
        move_within_screen(app);
        blit_new_sprites(app.scene);
        draw_to_screen(app.scene, 0, 0, w, h, app.scene.surfaces.background_work, 0, 0, RasterOp::srccopy);
    }
}

#define SCREEN_SIZES Args({1920, 1080})->Args({3840, 2160})
BENCHMARK(BM_StretchBackground)->SCREEN_SIZES->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainScreenCopy)->SCREEN_SIZES->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MaskedSprite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MaskThenPaintSprite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainSpriteCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameCompositing)->SCREEN_SIZES->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SceneFrame)
    ->Args({1920, 1080, 1})
    ->Args({1920, 1080, 0})
    ->Args({3840, 2160, 1})
    ->Args({3840, 2160, 0})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullFrameRedraw)->SCREEN_SIZES->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kolvane
