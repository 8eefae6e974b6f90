// The headless scene used by the render tests.
#include "render_fixture.h"

#include "scene/render/compositor.h"

namespace kolvane::testing {

namespace {

struct TestFrame {
    int frame, sheet_x, sheet_y, size, depth;
};
constexpr TestFrame test_frames[] = {
    {20, 0, 480, 30, 11},
    {44, 360, 240, 60, 15},
    {68, 340, 516, 9, 0},
};

}  // namespace

std::uint32_t picture_pixel(int picture, int x, int y) {
    const auto r = static_cast<std::uint32_t>(x * 255 / 639);
    const auto g = static_cast<std::uint32_t>(y * 255 / 479);
    const auto b = static_cast<std::uint32_t>(20 + picture * 23);
    return (r << 16) | (g << 8) | b;
}

bool figure_opaque(int sheet_x, int sheet_y) {
    for (const TestFrame& f : test_frames) {
        const int dx = 2 * (sheet_x - f.sheet_x) + 1 - f.size, dy = 2 * (sheet_y - f.sheet_y) + 1 - f.size;
        if (sheet_x < f.sheet_x || sheet_y < f.sheet_y || sheet_x >= f.sheet_x + f.size || sheet_y >= f.sheet_y + f.size)
            continue;
        return dx * dx + dy * dy <= f.size * f.size;  // a disc filling the cell
    }
    return false;
}

void load_test_artwork(App& app) {
    SceneSurfaces& s = app.scene.surfaces;
    for (int p = 0; p < background_picture_count; ++p) {
        Surface& picture = s.pictures[static_cast<std::size_t>(p)];
        picture.resize(background_picture_width, background_picture_height);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) picture.at(x, y) = picture_pixel(p, x, y);
    }
    s.sprite.resize(sheet_width, sheet_height);
    s.mask.resize(sheet_width, sheet_height);
    s.mask.fill(white);
    for (int y = 0; y < sheet_height; ++y) {
        for (int x = 0; x < sheet_width; ++x) {
            if (!figure_opaque(x, y)) continue;
            s.sprite.at(x, y) = 0x102030u + static_cast<std::uint32_t>((x * 7 + y * 3) % 200) * 0x010101u;
            s.mask.at(x, y) = black;
        }
    }
}

void fill_test_frames(App& app) {
    for (const TestFrame& f : test_frames)
        app.scene.sprites.frame_table[static_cast<std::size_t>(f.frame)] = {f.sheet_x, f.sheet_y, f.size, f.size, f.depth};
    app.scene.sprites.frame_table[0] = {0, 0, 0, 0, -1};
}

RenderScene::RenderScene(int width, int height, int picture) {
    system.screen_twips_w = static_cast<float>(width * 15);
    system.screen_twips_h = static_cast<float>(height * 15);
    app.scene.run.screen_width = width;
    app.scene.run.screen_height = height;
    app.scene.rotation.current_picture = picture;
    app.scene.sprites.max_sprites = 25;
    for (int i = 1; i <= 25; ++i) app.scene.sprites.draw_order[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i);
    load_test_artwork(app);
    fill_test_frames(app);
    setup_surfaces(app.scene);
}

void RenderScene::place(int slot, int frame, double x, double y, bool masked) {
    SpriteSlot& s = app.scene.sprites.slot[static_cast<std::size_t>(slot)];
    s.active = 1;
    s.frame = frame;
    s.x = x;
    s.y = y;
    s.masked = masked ? 1 : 0;
}

void RenderScene::blit_old_sprites_step() { blit_old_sprites(app.scene); }

void RenderScene::draw_and_show_step() {
    blit_new_sprites(app.scene);
    blit_flicker_free(app.scene);
}

bool same_pixels(const Surface& a, const Surface& b, int x, int y, int width, int height) {
    for (int j = y; j < y + height; ++j) {
        for (int i = x; i < x + width; ++i) {
            if (i < 0 || j < 0 || i >= a.width() || j >= a.height() || i >= b.width() || j >= b.height()) continue;
            if (a.at(i, j) != b.at(i, j)) return false;
        }
    }
    return true;
}

bool same_pixels(const Surface& a, const Surface& b) {
    return a.width() == b.width() && a.height() == b.height() && same_pixels(a, b, 0, 0, a.width(), a.height());
}

}  // namespace kolvane::testing
