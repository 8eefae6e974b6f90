// The whole scene at the object scales and with the large backgrounds: choices by screen size, the
// trace's entry and exit rules at every scale, pictures scaled with their own shape, decoded one at a time.
#include <gtest/gtest.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "scene/render/compositor.h"
#include "scene/render/picture_codec.h"
#include "scene/scene_window.h"
#include "startup/numeric.h"
#include "tests/scene/scene_fixture.h"

namespace kolvane {
namespace {

using testing::SceneRig;

struct SizeCase {
    int width, height;
    int scale;   // the automatic object scale
    bool large;  // whether the large backgrounds are used
};

TEST(SceneScale, AutomaticScaleAndLargeBackgroundsFollowTheScreenSize) {
    const SizeCase cases[] = {{640, 480, 1, false},   {1024, 768, 1, false},  {1280, 1024, 1, true},
                              {1599, 900, 1, true},   {1600, 900, 2, true},   {1920, 1080, 2, true},
                              {3200, 1800, 2, true},  {3201, 1800, 3, true}};
    for (const SizeCase& c : cases) {
        SceneRig rig(c.width, c.height);
        rig.start();
        const Scene& scene = rig.app->scene;
        EXPECT_EQ(scene.run.object_scale, c.scale) << c.width;
        EXPECT_EQ(scene.surfaces.large_backgrounds, c.large) << c.width;
        EXPECT_EQ(scene.sprites.frame_table[13].width, 125 * c.scale) << c.width;
        EXPECT_EQ(scene.surfaces.sheet().width(), sheet_width * c.scale) << c.width;
        EXPECT_EQ(scene.surfaces.sheet_mask().height(), sheet_height * c.scale) << c.width;
    }
}

TEST(SceneScale, ChosenScaleAndBackgroundsOverrideTheScreenSize) {
    SceneRig rig(3840, 2160);
    rig.store.set("object_scale", "1");
    rig.store.set("large_backgrounds", "0");
    rig.start();
    EXPECT_EQ(rig.app->scene.run.object_scale, 1);
    EXPECT_FALSE(rig.app->scene.surfaces.large_backgrounds);
    EXPECT_EQ(rig.app->scene.surfaces.sheet().width(), sheet_width);
    SceneRig small(800, 600);
    small.store.set("object_scale", "3");
    small.start();
    EXPECT_EQ(small.app->scene.run.object_scale, 3);
    EXPECT_EQ(small.app->scene.sprites.frame_table[1].sheet_x, 9);
}

// Without a stored larger sheet, the plain one is enlarged pixel by pixel: each sheet pixel a square.
TEST(SceneScale, AMissingLargerSheetIsThePlainOneEnlarged) {
    SceneRig rig(1920, 1080);
    rig.start();
    const SceneSurfaces& s = rig.app->scene.surfaces;
    for (int y = 0; y < sheet_height; y += 37)
        for (int x = 0; x < sheet_width; x += 41) {
            EXPECT_EQ(s.sheet().at(2 * x + 1, 2 * y + 1), s.sprite.at(x, y));
            EXPECT_EQ(s.sheet_mask().at(2 * x, 2 * y + 1), s.mask.at(x, y));
        }
}

// How far a slot moved in the frame it was last moved in, from its velocities after the move.
void step_of(const SpriteSlot& s, double sx1, double sy1, double& dx, double& dy) {
    dx = s.vx;
    dy = s.vy;
    switch (s.motion) {
        case Motion::speeding_up: dx = s.vx > 0 ? s.vx - sx1 / 4 : s.vx + sx1 / 4; break;
        case Motion::climbing: dy = s.vy + sy1 / 4; break;
        case Motion::accelerating: dx = s.vx - s.ax; break;
        case Motion::wandering: dx = s.wander_vx; dy = s.wander_vy; break;
        default: break;
    }
}

// At every scale: each launched object started just outside an edge (its frame touching the screen
// from outside), and each object that disappeared outside a background change lay wholly beyond an
// edge by more than the scaled margin, on the side it was heading to.
TEST(SceneScale, TracesEnterJustOutsideAndLeaveBeyondTheFarEdgeAtEveryScale) {
    const SizeCase cases[] = {{1280, 1024, 1, true}, {1920, 1080, 2, true}, {3840, 2160, 3, true}};
    for (const SizeCase& c : cases) {
        SceneRig rig(c.width, c.height);
        rig.store.set("object_frequency", "1");
        rig.store.set("scroller_active", "0");
        rig.start();
        Scene& scene = rig.app->scene;
        ASSERT_EQ(scene.run.object_scale, c.scale);
        const double W = c.width, H = c.height, margin = 8.0 * c.scale;
        const double sx1 = scene.speed.x[1], sy1 = scene.speed.y[1];
        std::array<SpriteSlot, sprite_slot_capacity> before{};
        std::array<FrameRect, sprite_slot_capacity> shown{};
        int entries = 0, exits = 0;
        for (int frame = 1; frame <= 3000; ++frame) {
            const int picture = scene.rotation.current_picture;
            scene.run.frame_start = static_cast<std::int32_t>(rig.system.clock_ms);
            frame_work(scene);
            rig.system.clock_ms += 45;
            const bool changed = scene.rotation.current_picture != picture;
            for (int i = 1; i <= 25; ++i) {
                const SpriteSlot& s = scene.sprites.slot[static_cast<std::size_t>(i)];
                const SpriteSlot& was = before[static_cast<std::size_t>(i)];
                if (s.active && !was.active && s.kind != object_kind::star && !changed) {
                    const FrameRect& f = scene.sprites.frame_table[static_cast<std::size_t>(s.frame)];
                    double dx = 0, dy = 0;
                    step_of(s, sx1, sy1, dx, dy);
                    const double x0 = s.x - dx, y0 = s.y - dy;
                    const bool at_edge = std::fabs(x0 + f.width) < 1e-6 || std::fabs(x0 - W) < 1e-6 ||
                                         std::fabs(y0 - H) < 1e-6;
                    EXPECT_TRUE(at_edge) << c.width << ": kind " << s.kind << " entered at " << x0 << ", " << y0;
                    ++entries;
                }
                if (!s.active && was.active && was.kind != object_kind::star && !changed) {
                    const FrameRect& f = shown[static_cast<std::size_t>(i)];
                    // Position and velocity stay in a freed slot: its last step is where it is less where it was.
                    const double dx = s.x - was.x, dy = s.y - was.y;
                    const bool left = s.x + f.width < -margin && dx < 0, right = s.x > W + margin && dx > 0;
                    const bool top = s.y + f.height < -margin && dy < 0, bottom = s.y > H + margin && dy > 0;
                    EXPECT_TRUE(left || right || top || bottom)
                        << c.width << ": kind " << was.kind << " left at " << s.x << ", " << s.y;
                    ++exits;
                }
                before[static_cast<std::size_t>(i)] = s;
                shown[static_cast<std::size_t>(i)] = scene.sprites.frame_table[static_cast<std::size_t>(s.frame)];
            }
            end_of_frame(scene);
        }
        EXPECT_GT(entries, 40) << c.width;
        EXPECT_GT(exits, 20) << c.width;
        std::printf("%dx%d at scale %d: %d entries and %d exits checked\n", c.width, c.height, c.scale, entries, exits);
    }
}

// A folder with the plain pictures and the larger ones, as the program's data folder holds them.
struct PictureFolder {
    testing::TempDir dir;
    std::filesystem::path root() const { return dir.path(); }

    // Ten solid plain backgrounds; ten large ones, black with a white disc of the given radius at the
    // centre and picture i's number of grey dots in the top-left corner region.
    explicit PictureFolder(int radius = 300) {
        std::filesystem::create_directories(root() / "backgrounds" / "large");
        testing::SyntheticPictures synthetic;
        for (const char* name : {"sprite", "mask"})
            write_bmp((root() / (std::string(name) + ".bmp")).string(), *synthetic.picture(name));
        for (int i = 0; i < background_picture_count; ++i) {
            const std::string name = "bg" + std::to_string(i);
            write_bmp((root() / "backgrounds" / (name + ".bmp")).string(), *synthetic.picture(name));
            std::vector<std::uint8_t> rgb(std::size_t{large_background_width} * large_background_height * 3, 0);
            for (int y = 0; y < large_background_height; ++y)
                for (int x = 0; x < large_background_width; ++x) {
                    const double dx = x + 0.5 - large_background_width / 2.0;
                    const double dy = y + 0.5 - large_background_height / 2.0;
                    const auto at = (std::size_t{0} + y * large_background_width + x) * 3;
                    const bool inside = dx * dx + dy * dy <= radius * radius;
                    const auto level = static_cast<std::uint8_t>(inside ? 255 : 10 * i);
                    rgb[at] = rgb[at + 1] = rgb[at + 2] = level;
                }
            const auto path = (root() / "backgrounds" / "large" / (name + ".jpg")).string();
            EXPECT_NE(stbi_write_jpg(path.c_str(), large_background_width, large_background_height, 3, rgb.data(), 95), 0);
        }
        // The larger sheets: the plain ones enlarged, as PNG.
        for (int scale = 2; scale <= 3; ++scale)
            for (const char* name : {"sprite", "mask"}) {
                const Image plain = *synthetic.picture(name);
                std::vector<std::uint8_t> rgb;
                for (int y = 0; y < plain.height * scale; ++y)
                    for (int x = 0; x < plain.width * scale; ++x) {
                        const std::uint32_t p = plain.at(x / scale, y / scale);
                        rgb.push_back(static_cast<std::uint8_t>(p >> 16));
                        rgb.push_back(static_cast<std::uint8_t>(p >> 8));
                        rgb.push_back(static_cast<std::uint8_t>(p));
                    }
                const auto path = (root() / (std::string(name) + "-" + std::to_string(scale) + "x.png")).string();
                EXPECT_NE(stbi_write_png(path.c_str(), plain.width * scale, plain.height * scale, 3, rgb.data(),
                                         plain.width * scale * 3), 0);
            }
    }
};

// A scene of the given size with the folder's pictures loaded, not yet started.
struct FolderScene {
    FolderPictures pictures;
    SceneRig rig;
    FolderScene(const PictureFolder& folder, int width, int height)
        : pictures(folder.root().string()), rig(width, height) {
        load_scene_pictures(rig.app->scene, pictures);
    }
};

// The white disc's extent on the clean background: its widest row and tallest column.
std::pair<int, int> disc_extent(const Surface& s) {
    int min_x = s.width(), max_x = -1, min_y = s.height(), max_y = -1;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (((s.at(x, y) >> 8) & 0xFFu) > 128) {
                min_x = std::min(min_x, x);
                max_x = std::max(max_x, x);
                min_y = std::min(min_y, y);
                max_y = std::max(max_y, y);
            }
    return {max_x - min_x + 1, max_y - min_y + 1};
}

// Round stays round: the large picture covers the screen with its own shape (cut evenly), where the
// plain picture is stretched.
TEST(LargeBackgrounds, CoverTheScreenWithTheirOwnShapeCutEvenly) {
    PictureFolder folder;
    FolderPictures pictures(folder.root().string());
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1280, 1024}, {1920, 1080}, {2560, 1080}, {3440, 1440}}) {
        SceneRig rig(w, h);
        ASSERT_TRUE(load_scene_pictures(rig.app->scene, pictures));
        rig.start();
        const SceneSurfaces& s = rig.app->scene.surfaces;
        ASSERT_TRUE(s.main_is_large) << w;
        const double scale = std::max(w / 1920.0, h / 1080.0);
        const auto [dw, dh] = disc_extent(s.background_copy);
        EXPECT_NEAR(dw, 600 * scale, 4) << w << "x" << h;
        EXPECT_NEAR(dh, 600 * scale, 4) << w << "x" << h;
        EXPECT_LE(std::abs(dw - dh), 2) << w << "x" << h << ": the disc is not round";
        // Centred: as far from the left edge as from the right.
        int first = -1, last = -1;
        for (int x = 0; x < w; ++x)
            if (((s.background_copy.at(x, h / 2) >> 8) & 0xFFu) > 128) {
                if (first < 0) first = x;
                last = x;
            }
        EXPECT_LE(std::abs(first - (w - 1 - last)), 2) << w;
    }
}

TEST(LargeBackgrounds, AtTheirOwnSizeThePictureIsShownPixelForPixel) {
    PictureFolder folder;
    FolderScene at(folder, 1920, 1080);
    SceneRig& rig = at.rig;
    rig.start();
    Scene& scene = rig.app->scene;
    const auto decoded = decode_picture(
        read_file_bytes((folder.root() / "backgrounds" / "large" /
                         ("bg" + std::to_string(scene.rotation.current_picture) + ".jpg")).string()));
    ASSERT_TRUE(decoded);
    for (int y = 0; y < 1080; y += 7)
        for (int x = 0; x < 1920; x += 11) ASSERT_EQ(scene.surfaces.background_copy.at(x, y), decoded->at(x, y));
    EXPECT_EQ(scene.surfaces.stretch.dest_width(), 1920);
}

// With large_backgrounds 0 the plain picture is stretched as before, and the larger sheet is the stored one.
TEST(LargeBackgrounds, SwitchedOffThePlainPictureIsStretchedOverTheScreen) {
    PictureFolder folder;
    FolderScene at(folder, 2560, 1080);
    SceneRig& rig = at.rig;
    rig.store.set("large_backgrounds", "0");
    rig.start();
    Scene& scene = rig.app->scene;
    EXPECT_FALSE(scene.surfaces.main_is_large);
    Surface stretched(2560, 1080);
    StretchPlan plan;
    stretch_blt(stretched, 0, 0, 2560, 1080, scene.surfaces.pictures[static_cast<std::size_t>(scene.rotation.current_picture)], plan);
    EXPECT_EQ(std::memcmp(stretched.data(), scene.surfaces.background_copy.data(), 2560u * 1080u * 4u), 0);
    EXPECT_EQ(scene.surfaces.sheet().width(), sheet_width * 2);
}

// Only one large picture is decoded at a time: the current one until the screen holds it, then the
// next, decoded in a frame's spare time, which the change then shows without decoding again.
TEST(LargeBackgrounds, TheNextPictureIsDecodedAheadIntoTheOneBuffer) {
    PictureFolder folder;
    FolderScene at(folder, 1920, 1080);
    SceneRig& rig = at.rig;
    rig.store.set("cycle_speed_value", "1");
    rig.store.set("scroller_active", "0");
    rig.start();
    Scene& scene = rig.app->scene;
    const int first = scene.rotation.current_picture;
    EXPECT_EQ(scene.surfaces.main_picture, first);
    EXPECT_TRUE(scene.surfaces.next_picture_due);
    rig.frame();
    EXPECT_EQ(scene.surfaces.main_picture, (first + 1) % 10);
    EXPECT_FALSE(scene.surfaces.next_picture_due);
    int changes = 0;
    for (int frame = 0; frame < 400 && changes < 2; ++frame) {
        const int picture = scene.rotation.current_picture;
        rig.frame();
        if (scene.rotation.current_picture == picture) continue;
        ++changes;
        // The screen shows the new picture: grey level 10 per picture number outside the disc.
        EXPECT_EQ(((scene.surfaces.background_copy.at(5, 5) & 0xFFu) + 5) / 10,
                  static_cast<std::uint32_t>(scene.rotation.current_picture));
        EXPECT_EQ(scene.surfaces.main_picture, (scene.rotation.current_picture + 1) % 10);
    }
    EXPECT_EQ(changes, 2);
}

// The first set-up keeps only what its screen shows: with every large picture there, no plain
// backgrounds; with the larger sheets stored, no plain sheets and no compressed sheets. A restart at
// another size (a resized host window) keeps that choice.
TEST(LargeBackgrounds, TheFirstSetUpLetsGoOfWhatItDoesNotShowAndARestartKeepsItsChoice) {
    PictureFolder folder;
    FolderScene at(folder, 1920, 1080);
    SceneRig& rig = at.rig;
    rig.start();
    Scene& scene = rig.app->scene;
    for (const Surface& plain : scene.surfaces.pictures) EXPECT_TRUE(plain.empty());
    EXPECT_TRUE(scene.surfaces.sprite.empty());
    EXPECT_TRUE(scene.surfaces.mask.empty());
    for (int scale = 0; scale <= 3; ++scale) EXPECT_TRUE(scene.surfaces.encoded.sprite[static_cast<std::size_t>(scale)].empty());
    EXPECT_EQ(scene.surfaces.sheet().width(), 1440);
    for (int n = 0; n < 20; ++n) rig.frame();

    rig.system.screen_twips_w = 800 * 15.0f;
    rig.system.screen_twips_h = 600 * 15.0f;
    scene_setup(scene);
    EXPECT_EQ(scene.run.screen_width, 800);
    EXPECT_EQ(scene.run.object_scale, 2);
    EXPECT_EQ(scene.sprites.frame_table[13].width, 250);
    EXPECT_TRUE(scene.surfaces.main_is_large);
    const auto [dw, dh] = disc_extent(scene.surfaces.background_copy);
    EXPECT_LE(std::abs(dw - dh), 2);
    for (int n = 0; n < 20; ++n) rig.frame();
}

// A large picture that is missing or damaged gives way to the plain one; the scene runs on.
TEST(LargeBackgrounds, AMissingOrDamagedLargePictureFallsBackToThePlainOne) {
    PictureFolder folder;
    for (int i = 0; i < 10; ++i) {
        const auto path = folder.root() / "backgrounds" / "large" / ("bg" + std::to_string(i) + ".jpg");
        if (i % 2) std::filesystem::remove(path);
        else testing::write_file(path, std::string("\xFF\xD8\xFF\xE0 not really a picture", 26));
    }
    FolderScene at(folder, 1920, 1080);
    SceneRig& rig = at.rig;
    rig.start();
    EXPECT_TRUE(rig.app->scene.surfaces.large_backgrounds);
    EXPECT_FALSE(rig.app->scene.surfaces.main_is_large);
    EXPECT_EQ(rig.app->scene.surfaces.background_main.width(), background_picture_width);
    for (int n = 0; n < 50; ++n) rig.frame();
}

}  // namespace
}  // namespace kolvane
