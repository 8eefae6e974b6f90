// Objects at every object scale: frame rectangles, entry points just outside an edge and edge tests grow with it.
#include <cmath>

#include "scene/sprites/launcher.h"
#include "scene/sprites/motion.h"
#include "tests/sprites/sprite_fixture.h"

namespace kolvane::testing {
namespace {

constexpr std::int32_t launch_slot = 5;

// A fresh sprite table at 1920 x 1080 built for the given object scale.
struct ScaledScene : SpriteScene {
    explicit ScaledScene(std::int32_t scale, std::int32_t launch_interval = 80) : SpriteScene(1920, 1080, launch_interval) {
        app.scene.run.object_scale = scale;
        init_sprites(app.scene);
    }
};

// Offers `kind` to a free slot with none of it alive until one is launched; returns the slot.
SpriteSlot launch_one(SpriteScene& scene, std::int32_t kind) {
    for (int attempt = 0; attempt < 100000; ++attempt) {
        sprite_off(scene.app.scene, launch_slot);
        scene.app.scene.sprites.kind_count[kind] = 0;
        scene.fake.clock_ms += 7;
        scene.app.scene.sprites.next_kind = kind == 1 ? 11 : kind - 1;
        launch_object(scene.app.scene, launch_slot);
        if (scene.slot(launch_slot).active == 1) return scene.slot(launch_slot);
    }
    ADD_FAILURE() << "kind " << kind << " never launched";
    return {};
}

class ObjectScale : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(ObjectScale, EveryFrameRectangleIsThatOfScaleOneTimesTheScale) {
    const std::int32_t scale = GetParam();
    SpriteScene plain(1920, 1080);
    ScaledScene scaled(scale);
    for (std::int32_t f = 0; f < frame_count; ++f) {
        const FrameRect& a = plain.frame(f);
        const FrameRect& b = scaled.frame(f);
        EXPECT_EQ(b.sheet_x, a.sheet_x * scale) << f;
        EXPECT_EQ(b.sheet_y, a.sheet_y * scale) << f;
        EXPECT_EQ(b.width, a.width * scale) << f;
        EXPECT_EQ(b.height, a.height * scale) << f;
        EXPECT_EQ(b.depth, a.depth) << f;
    }
    EXPECT_EQ(scaled.frame(13).width, 125 * scale);
}

// Horizontal entries start with the frame's right edge at 0 or its left edge at W; the rocket starts
// with its top at H. Either way the whole frame lies outside the screen and touches it.
TEST_P(ObjectScale, EveryKindEntersJustOutsideAnEdge) {
    const std::int32_t scale = GetParam();
    ScaledScene scene(scale);
    for (std::int32_t kind = 1; kind <= launchable_kinds; ++kind) {
        for (int n = 0; n < 40; ++n) {
            const SpriteSlot s = launch_one(scene, kind);
            const FrameRect& f = scene.frame(s.frame);
            const bool left = s.x == -f.width, right = s.x == scene.width(), below = s.y == scene.height();
            EXPECT_TRUE(kind == object_kind::rocket ? below : left || right) << "kind " << kind << " x " << s.x;
            const bool outside = s.x + f.width <= 0 || s.x >= scene.width() || s.y >= scene.height();
            EXPECT_TRUE(outside) << "kind " << kind << " starts on the screen at scale " << scale;
        }
    }
}

// The margin beyond an edge is 8 pixels times the scale: an object exactly at it stays, one beyond it goes.
TEST_P(ObjectScale, ObjectsLeaveOnlyWhollyBeyondTheScaledMargin) {
    const std::int32_t scale = GetParam();
    ScaledScene scene(scale, 1000000);
    const double w = scene.frame(11).width, h = scene.frame(11).height;
    const double margin = 8.0 * scale, W = scene.width(), H = scene.height();
    struct Case {
        double x, y;
        bool stays;
    };
    const Case cases[] = {
        {-w - margin, 300, true},          {-w - margin - 0.001, 300, false}, {W + margin, 300, true},
        {W + margin + 0.001, 300, false},  {300, -h - margin, true},          {300, -h - margin - 0.001, false},
        {300, H + margin, true},           {300, H + margin + 0.001, false},  {-w, 300, true},
    };
    for (const Case& c : cases) {
        for (std::int32_t i = 1; i <= 25; ++i) {  // every other slot busy and still, so nothing else happens
            SpriteSlot& other = scene.slot(i);
            other.active = 1;
            other.kind = 5;
            other.frame = 7;
            other.x = other.y = 100;
            other.motion = kolvane::Motion::none;
        }
        SpriteSlot& s = scene.slot(1);
        s.kind = 3;
        s.frame = 11;
        s.motion = kolvane::Motion::straight;
        s.vx = s.vy = 0;
        s.x = c.x;
        s.y = c.y;
        move_sprites(scene.app.scene);
        EXPECT_EQ(scene.slot(1).active, c.stays ? 1 : 0) << "scale " << scale << " at " << c.x << ", " << c.y;
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ObjectScale, ::testing::Values(1, 2, 3));

}  // namespace
}  // namespace kolvane::testing
