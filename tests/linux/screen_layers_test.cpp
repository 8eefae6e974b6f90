// The window's picture: scene rectangles copied as presented, boxes above them, scene pixels back where boxes leave.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <memory>

#include "platform/sdl/screen_layers.h"
#include "scene/render/surface.h"

namespace kolvane::sdl {
namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

SurfacePtr make_target(int w, int h, Uint32 format = SDL_PIXELFORMAT_RGB888) {
    return SurfacePtr(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, format));
}

std::uint32_t rgb_at(const SDL_Surface* s, int x, int y) {
    Uint32 pixel = 0;
    const auto* p = static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    std::memcpy(&pixel, p, s->format->BytesPerPixel);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(pixel, s->format, &r, &g, &b);
    return (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

// A scene picture where every pixel tells its own place.
Surface patterned_scene(int w, int h) {
    Surface scene(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) scene.at(x, y) = static_cast<std::uint32_t>((x * 7 + y * 131) & 0xFFFFFF);
    return scene;
}

SDL_Surface* solid_layer(ScreenLayers& layers, Layer layer, int x, int y, int w, int h, std::uint32_t rgb) {
    SDL_Surface* picture = layers.layer_picture(layer, w, h);
    SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, static_cast<Uint8>(rgb >> 16),
                                              static_cast<Uint8>(rgb >> 8), static_cast<Uint8>(rgb)));
    layers.move_layer(layer, x, y);
    layers.layer_redrawn(layer);
    return picture;
}

int dirty_count(ScreenLayers& layers) {
    const SDL_Rect* rects = nullptr;
    return layers.take_dirty(rects);
}

TEST(ScreenLayers, PresentCopiesExactlyTheRectangleAndMarksIt) {
    auto target = make_target(64, 48);
    SDL_FillRect(target.get(), nullptr, SDL_MapRGB(target->format, 1, 2, 3));
    ScreenLayers layers;
    layers.attach(target.get());
    dirty_count(layers);
    const Surface scene = patterned_scene(64, 48);
    layers.present(scene, 10, 5, 20, 8);
    const SDL_Rect* rects = nullptr;
    ASSERT_EQ(layers.take_dirty(rects), 1);
    EXPECT_EQ(rects[0].x, 10);
    EXPECT_EQ(rects[0].y, 5);
    EXPECT_EQ(rects[0].w, 20);
    EXPECT_EQ(rects[0].h, 8);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool inside = x >= 10 && x < 30 && y >= 5 && y < 13;
            // Before attach the whole window was drawn from no scene at all: black.
            ASSERT_EQ(rgb_at(target.get(), x, y), inside ? scene.at(x, y) : 0u) << x << "," << y;
        }
}

TEST(ScreenLayers, BoxesStayAboveAndNeverReachTheScenePicture) {
    auto target = make_target(64, 48);
    ScreenLayers layers;
    layers.attach(target.get());
    Surface scene = patterned_scene(64, 48);
    const Surface untouched = scene;
    layers.present(scene, 0, 0, 64, 48);
    solid_layer(layers, Layer::clock, 40, 0, 24, 10, 0xFFFF00u);
    layers.show_layer(Layer::clock, true);
    // The scene is presented again under the box: the box stays on top.
    layers.present(scene, 30, 0, 34, 20);
    EXPECT_EQ(rgb_at(target.get(), 50, 5), 0xFFFF00u);
    EXPECT_EQ(rgb_at(target.get(), 35, 5), scene.at(35, 5));
    EXPECT_EQ(rgb_at(target.get(), 50, 15), scene.at(50, 15));
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(scene.at(x, y), untouched.at(x, y));
}

TEST(ScreenLayers, MovingOrHidingABoxBringsTheScenePixelsBack) {
    auto target = make_target(80, 60);
    ScreenLayers layers;
    layers.attach(target.get());
    const Surface scene = patterned_scene(80, 60);
    layers.present(scene, 0, 0, 80, 60);
    solid_layer(layers, Layer::caption, 0, 60, 80, 10, 0x000080u);
    layers.show_layer(Layer::caption, true);
    dirty_count(layers);
    // Rising one pixel at a time from below the edge, as the caption line does.
    for (int top = 59; top >= 50; --top) layers.move_layer(Layer::caption, 0, top);
    EXPECT_GT(dirty_count(layers), 0);
    for (int x = 0; x < 80; ++x) {
        EXPECT_EQ(rgb_at(target.get(), x, 49), scene.at(x, 49));
        EXPECT_EQ(rgb_at(target.get(), x, 50), 0x000080u);
        EXPECT_EQ(rgb_at(target.get(), x, 59), 0x000080u);
    }
    layers.move_layer(Layer::caption, 0, 55);  // sinking: the row it leaves is scene again
    EXPECT_EQ(rgb_at(target.get(), 3, 54), scene.at(3, 54));
    layers.show_layer(Layer::caption, false);
    for (int y = 50; y < 60; ++y) EXPECT_EQ(rgb_at(target.get(), 7, y), scene.at(7, y));
}

TEST(ScreenLayers, LaterLayersLieOnTopOfEarlierOnes) {
    auto target = make_target(40, 40);
    ScreenLayers layers;
    layers.attach(target.get());
    const Surface scene(40, 40, 0x102030u);
    layers.present(scene, 0, 0, 40, 40);
    solid_layer(layers, Layer::message, 10, 10, 10, 10, 0xC0C0C0u);
    solid_layer(layers, Layer::clock, 5, 5, 20, 20, 0xFFFF00u);
    layers.show_layer(Layer::clock, true);
    layers.show_layer(Layer::message, true);
    layers.present(scene, 0, 0, 40, 40);
    EXPECT_EQ(rgb_at(target.get(), 15, 15), 0xC0C0C0u);
    EXPECT_EQ(rgb_at(target.get(), 6, 6), 0xFFFF00u);
    EXPECT_EQ(rgb_at(target.get(), 30, 30), 0x102030u);
}

TEST(ScreenLayers, OverlappingBoxesKeepTheScenesNewPixelsBeneathThem) {
    auto target = make_target(60, 40);
    ScreenLayers layers;
    layers.attach(target.get());
    const Surface first = patterned_scene(60, 40);
    layers.present(first, 0, 0, 60, 40);
    solid_layer(layers, Layer::caption, 10, 10, 30, 10, 0x000080u);
    solid_layer(layers, Layer::prompt, 20, 5, 20, 20, 0xC0C0C0u);
    layers.show_layer(Layer::caption, true);
    layers.show_layer(Layer::prompt, true);
    // The scene changes beneath both boxes while they are up: the boxes stay, the scene beneath
    // them is the new one when they go.
    Surface second(60, 40, 0x00FF00u);
    layers.present(second, 0, 0, 60, 40);
    EXPECT_EQ(rgb_at(target.get(), 12, 12), 0x000080u);
    EXPECT_EQ(rgb_at(target.get(), 25, 12), 0xC0C0C0u);
    layers.move_layer(Layer::caption, 10, 28);  // from under the prompt to below it
    EXPECT_EQ(rgb_at(target.get(), 12, 12), 0x00FF00u);
    EXPECT_EQ(rgb_at(target.get(), 25, 12), 0xC0C0C0u);
    EXPECT_EQ(rgb_at(target.get(), 12, 30), 0x000080u);
    layers.show_layer(Layer::prompt, false);
    layers.show_layer(Layer::caption, false);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(rgb_at(target.get(), x, y), 0x00FF00u) << x << "," << y;
}

TEST(ScreenLayers, ANewWindowPictureStartsFromTheRepaintPictureWithTheBoxesAbove) {
    auto first = make_target(40, 30);
    ScreenLayers layers;
    const Surface repaint = patterned_scene(40, 30);
    layers.set_repaint_picture(repaint);
    layers.attach(first.get());
    solid_layer(layers, Layer::clock, 30, 0, 10, 8, 0xFFFF00u);
    layers.show_layer(Layer::clock, true);
    auto second = make_target(40, 30);
    layers.attach(second.get());
    EXPECT_EQ(rgb_at(second.get(), 5, 20), repaint.at(5, 20));
    EXPECT_EQ(rgb_at(second.get(), 35, 4), 0xFFFF00u);
    layers.show_layer(Layer::clock, false);
    EXPECT_EQ(rgb_at(second.get(), 35, 4), repaint.at(35, 4));
    const SDL_Rect* rects = nullptr;
    ASSERT_GT(layers.take_dirty(rects), 0);
    EXPECT_EQ(rects[0].w, 40);
    EXPECT_EQ(rects[0].h, 30);
}

TEST(ScreenLayers, AWindowLargerThanTheSceneShowsBlackBeyondIt) {
    auto target = make_target(50, 30);
    SDL_FillRect(target.get(), nullptr, SDL_MapRGB(target->format, 9, 9, 9));
    ScreenLayers layers;
    layers.attach(target.get());
    const Surface scene(40, 20, 0xABCDEFu);
    layers.present(scene, 0, 0, 40, 20);
    layers.redraw_all();
    EXPECT_EQ(rgb_at(target.get(), 39, 19), 0xABCDEFu);
    EXPECT_EQ(rgb_at(target.get(), 45, 10), 0u);
    EXPECT_EQ(rgb_at(target.get(), 10, 25), 0u);
}

TEST(ScreenLayers, OtherPixelLayoutsGetTheSameColours) {
    for (const Uint32 format : {SDL_PIXELFORMAT_BGR888, SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_RGB565}) {
        auto target = make_target(16, 16, format);
        ScreenLayers layers;
        layers.attach(target.get());
        Surface scene(16, 16, 0x000000u);
        scene.at(3, 4) = 0xFF0000u;
        scene.at(5, 6) = 0x00FF00u;
        scene.at(7, 8) = 0x0000FFu;
        layers.present(scene, 0, 0, 16, 16);
        EXPECT_EQ(rgb_at(target.get(), 3, 4), 0xFF0000u) << SDL_GetPixelFormatName(format);
        EXPECT_EQ(rgb_at(target.get(), 5, 6), 0x00FF00u) << SDL_GetPixelFormatName(format);
        EXPECT_EQ(rgb_at(target.get(), 7, 8), 0x0000FFu) << SDL_GetPixelFormatName(format);
    }
}

TEST(ScreenLayers, ManySmallUpdatesAreAllCoveredByTheDirtyList) {
    auto target = make_target(300, 10);
    ScreenLayers layers;
    layers.attach(target.get());
    dirty_count(layers);
    const Surface scene(300, 10, 0x123456u);
    for (int x = 0; x < 300; ++x) layers.present(scene, x, x % 10, 1, 1);
    const SDL_Rect* rects = nullptr;
    const int count = layers.take_dirty(rects);
    ASSERT_GT(count, 0);
    ASSERT_LE(count, 300);
    for (int x = 0; x < 300; ++x) {
        const SDL_Point p{x, x % 10};
        bool covered = false;
        for (int i = 0; i < count; ++i) covered |= SDL_PointInRect(&p, &rects[i]) == SDL_TRUE;
        ASSERT_TRUE(covered) << x;
    }
    EXPECT_FALSE(layers.has_dirty());
}

}  // namespace
}  // namespace kolvane::sdl
