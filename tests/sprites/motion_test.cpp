// Tests of the motion pass: the motion kinds, edge tests, animation, stars, launch timing, freed rectangles.
#include <cmath>
#include <limits>

#include "scene/sprites/launcher.h"
#include "scene/sprites/motion.h"
#include "tests/sprites/sprite_fixture.h"

namespace kolvane::testing {
namespace {

// Launch attempts far away, so a test controls the table.
constexpr std::int32_t no_launch = 1000000;

// Every slot but the given ones is taken by a still, unanimated picture, so no star can appear.
void occupy_others(SpriteScene& scene, std::initializer_list<std::int32_t> keep_free) {
    for (std::int32_t i = 1; i <= 25; ++i) {
        bool free = false;
        for (std::int32_t k : keep_free) free = free || k == i;
        if (free) continue;
        SpriteSlot& s = scene.slot(i);
        s.active = 1;
        s.kind = 5;
        s.frame = 7;
        s.x = 100;
        s.y = 100;
        s.motion = kolvane::Motion::none;
    }
}

// Puts an object of the given motion into slot i.
SpriteSlot& place(SpriteScene& scene, std::int32_t i, kolvane::Motion motion, std::int32_t frame, double x, double y,
                  std::int16_t kind = 3) {
    SpriteSlot& s = scene.slot(i);
    s.active = 1;
    s.kind = kind;
    s.motion = motion;
    s.frame = frame;
    s.x = x;
    s.y = y;
    ++scene.app.scene.sprites.kind_count[kind];
    return s;
}

class Motion : public ::testing::Test {
protected:
    SpriteScene scene{800, 600, no_launch};
    void SetUp() override { occupy_others(scene, {1, 2, 3}); }
};

TEST_F(Motion, OrbiterGainsSpeedInItsOwnDirection) {
    SpriteSlot& right = place(scene, 1, kolvane::Motion::speeding_up, 11, 100, 200);
    right.vx = 2.0;
    right.vy = 0.5;
    SpriteSlot& left = place(scene, 2, kolvane::Motion::speeding_up, 12, 500, 200);
    left.vx = -2.0;
    SpriteSlot& still = place(scene, 3, kolvane::Motion::speeding_up, 12, 300, 300);
    still.vx = 0;
    move_sprites(scene.app.scene);
    EXPECT_DOUBLE_EQ(right.x, 102.0);
    EXPECT_DOUBLE_EQ(right.y, 200.5);
    EXPECT_DOUBLE_EQ(right.vx, 2.0 + 0.08);  // 800 / 2500 / 4
    EXPECT_DOUBLE_EQ(left.x, 498.0);
    EXPECT_DOUBLE_EQ(left.vx, -2.08);
    EXPECT_DOUBLE_EQ(still.x, 300.0);
    EXPECT_DOUBLE_EQ(still.vx, -0.08);
    move_sprites(scene.app.scene);
    EXPECT_DOUBLE_EQ(right.x, 104.08);
    EXPECT_DOUBLE_EQ(right.vx, 2.16);
}

TEST_F(Motion, RocketClimbsFasterEveryFrameUntilItLeavesAtTheTop) {
    SpriteSlot& rocket = place(scene, 1, kolvane::Motion::climbing, 16, 300, 600, 2);
    rocket.vx = 0.1;
    rocket.vy = -scene.sy(3);
    int frames = 0;
    double last_vy = rocket.vy;
    while (rocket.active == 1 && frames < 10000) {
        move_sprites(scene.app.scene);
        ++frames;
        if (rocket.active == 1) {
            EXPECT_DOUBLE_EQ(rocket.vy, last_vy - scene.sy(1) / 4);
            last_vy = rocket.vy;
        }
    }
    ASSERT_EQ(rocket.active, 0);
    EXPECT_LT(rocket.y + 166, -8);
    const double y_before = rocket.y - (rocket.vy + scene.sy(1) / 4);
    EXPECT_GE(y_before + 166, -8);  // still within the margin the frame before
    EXPECT_EQ(scene.app.scene.sprites.kind_count[2], 0);
}

TEST_F(Motion, StraightFlightKeepsItsVelocity) {
    SpriteSlot& s = place(scene, 2, kolvane::Motion::straight, 10, 10, 20);
    s.vx = 1.25;
    s.vy = -0.75;
    s.ax = 5;  // not used by this kind
    for (int n = 0; n < 4; ++n) move_sprites(scene.app.scene);
    EXPECT_DOUBLE_EQ(s.x, 15.0);
    EXPECT_DOUBLE_EQ(s.y, 17.0);
    EXPECT_DOUBLE_EQ(s.vx, 1.25);
}

TEST_F(Motion, SatelliteMovesThenAccelerates) {
    SpriteSlot& s = place(scene, 3, kolvane::Motion::accelerating, 1, 100, 100, 4);
    s.vx = 10;
    s.vy = 1;
    s.ax = -0.5;
    move_sprites(scene.app.scene);
    EXPECT_DOUBLE_EQ(s.x, 110);
    EXPECT_DOUBLE_EQ(s.vx, 9.5);
    move_sprites(scene.app.scene);
    EXPECT_DOUBLE_EQ(s.x, 119.5);
    EXPECT_DOUBLE_EQ(s.y, 102);
}

TEST_F(Motion, StarsAndUnknownMotionsStayPut) {
    SpriteSlot& s = place(scene, 1, kolvane::Motion::none, 7, 40, 50);
    s.vx = 3;
    SpriteSlot& odd = place(scene, 2, static_cast<kolvane::Motion>(9), 7, 60, 70);
    odd.vx = 3;
    move_sprites(scene.app.scene);
    EXPECT_EQ(s.x, 40);
    EXPECT_EQ(odd.x, 60);
    EXPECT_EQ(odd.active, 1);
}

// Every push on the saucer's accelerations acts against its present direction, in whole speed steps.
TEST_F(Motion, SaucerIsPushedAgainstItsDirectionOfTravel) {
    int vertical_pushes = 0;
    int horizontal_pushes = 0;
    for (int n = 0; n < 4000; ++n) {
        SpriteSlot& s = place(scene, 1, kolvane::Motion::wandering, 6, 400, 300, 6);
        s.wander_vx = (n % 2) ? 0.5 : -0.5;
        s.wander_vy = (n % 4 < 2) ? 0.25 : 0.0;
        s.wander_ax = 0.125;
        s.wander_ay = 0;
        const double vx_after = s.wander_vx + 0.125;
        const double vy_after = s.wander_vy;
        scene.fake.clock_ms += 45;
        move_sprites(scene.app.scene);
        EXPECT_DOUBLE_EQ(s.x, 400 + vx_after);
        EXPECT_DOUBLE_EQ(s.y, 300 + vy_after);
        if (s.wander_ay != 0) {
            ++vertical_pushes;
            EXPECT_TRUE(one_of(s.wander_ay, speeds(scene.app.scene.speed.y.data(), 1, 10, vy_after > 0 ? -0.125 : 0.125)));
        }
        if (s.wander_ax != 0.125) {
            ++horizontal_pushes;
            const double push = s.wander_ax - 0.125;
            EXPECT_TRUE(one_of(push, speeds(scene.app.scene.speed.x.data(), 1, 10, vx_after > 0 ? -1.0 / 16 : 1.0 / 16)));
        }
        sprite_off(scene.app.scene, 1);
    }
    EXPECT_NEAR(vertical_pushes / 4000.0, 0.499, 0.04);
    EXPECT_NEAR(horizontal_pushes / 4000.0, 0.049, 0.015);
}

TEST_F(Motion, ObjectsAtTheirEntryPointsAreNotFreed) {
    place(scene, 1, kolvane::Motion::straight, 11, -144, 300);
    place(scene, 2, kolvane::Motion::straight, 11, 808, 608);
    place(scene, 3, kolvane::Motion::straight, 11, -152, -68);  // exactly at the margin on both axes
    move_sprites(scene.app.scene);
    for (std::int32_t i : {1, 2, 3}) EXPECT_EQ(scene.slot(i).active, 1) << i;
}

TEST_F(Motion, AnObjectIsFreedOnceItIsWhollyBeyondTheMargin) {
    struct Case {
        double x, y;
    };
    // Frame 11 is 144 by 60.
    const Case gone[] = {{-152.001, 300}, {808.001, 300}, {300, -68.001}, {300, 608.001}};
    for (const Case& c : gone) {
        place(scene, 1, kolvane::Motion::straight, 11, c.x, c.y);
        move_sprites(scene.app.scene);
        EXPECT_EQ(scene.slot(1).active, 0) << c.x << ", " << c.y;
        EXPECT_EQ(scene.app.scene.sprites.kind_count[3], 0);
    }
}

// Leaving across a corner runs both edge tests; the kind's counter still drops only once.
TEST_F(Motion, ACornerExitLowersTheCounterOnce) {
    place(scene, 1, kolvane::Motion::straight, 11, 900, 700);
    place(scene, 2, kolvane::Motion::straight, 11, 100, 100);
    move_sprites(scene.app.scene);
    EXPECT_EQ(scene.slot(1).active, 0);
    EXPECT_EQ(scene.app.scene.sprites.kind_count[3], 1);
    EXPECT_EQ(scene.app.scene.sprites.freed_count, 1);
}

TEST_F(Motion, AsteroidTumblesThroughItsSequenceAndLoops) {
    SpriteSlot& s = place(scene, 1, kolvane::Motion::straight, 20, 300, 300, 10);
    setsprite_anim(scene.app.scene, 1, 1);
    for (std::int32_t step = 1; step <= 24; ++step) {
        move_sprites(scene.app.scene);
        EXPECT_EQ(s.anim_step, step);
        EXPECT_EQ(s.frame, 19 + step);
    }
    move_sprites(scene.app.scene);
    EXPECT_EQ(s.anim_step, 1);
    EXPECT_EQ(s.frame, 20);
    EXPECT_EQ(s.active, 1);
}

TEST_F(Motion, AnObjectFreedAtAnEdgeIsNotAnimated) {
    SpriteSlot& s = place(scene, 1, kolvane::Motion::straight, 44, 900, 300, 11);
    setsprite_anim(scene.app.scene, 1, 2);
    move_sprites(scene.app.scene);
    EXPECT_EQ(s.active, 0);
    EXPECT_EQ(s.frame, 0);
    EXPECT_EQ(s.anim_step, 0);
}

// A star shows each frame of its sequence for one frame and is freed in the frame after the last.
TEST_F(Motion, StarsLiveAsLongAsTheirSequence) {
    occupy_others(scene, {1});
    const std::int32_t first_frame[] = {0, 0, 0, 68, 69, 70};
    for (std::int32_t sequence = 3; sequence <= 5; ++sequence) {
        SpriteSlot& s = scene.slot(1);
        do_star(scene.app.scene, 1);
        setsprite_anim(scene.app.scene, 1, sequence);
        std::int32_t drawn = 0;
        for (std::int32_t frame = first_frame[sequence]; frame <= 73; ++frame) {
            move_sprites(scene.app.scene);
            ASSERT_EQ(s.active, 1) << "sequence " << sequence;
            EXPECT_EQ(s.frame, frame);
            ++drawn;
        }
        move_sprites(scene.app.scene);
        EXPECT_EQ(s.active, 0);
        EXPECT_EQ(drawn, 9 - sequence);
        EXPECT_EQ(scene.app.scene.sprites.kind_count[12], 0);
    }
}

TEST_F(Motion, AStarIsPlacedOnTheSceneWithAShortSequence) {
    int sequences[6] = {};
    for (int n = 0; n < 600; ++n) {
        do_star(scene.app.scene, 2);
        const SpriteSlot& s = scene.slot(2);
        EXPECT_EQ(s.active, 1);
        EXPECT_EQ(s.kind, 12);
        EXPECT_EQ(s.motion, kolvane::Motion::none);
        EXPECT_EQ(s.masked, 0);
        EXPECT_EQ(s.anim_end, 1);
        EXPECT_EQ(s.anim_step, 0);
        ASSERT_GE(s.anim, 3);
        ASSERT_LE(s.anim, 5);
        ++sequences[s.anim];
        EXPECT_EQ(s.frame, scene.app.scene.sprites.anim_table[s.anim][1]);
        EXPECT_TRUE(is_whole(s.x) && s.x >= 1 && s.x <= 800);
        EXPECT_TRUE(is_whole(s.y) && s.y >= 1 && s.y <= 600);
        EXPECT_EQ(scene.app.scene.sprites.kind_count[12], 1);
        sprite_off(scene.app.scene, 2);
    }
    EXPECT_GT(sequences[3] * sequences[4] * sequences[5], 0);
}

// A slot last used by an orbiter that is gone; the other orbiter is still alive.
TEST_F(Motion, AStarInAnOldOrbiterSlotLeavesTheOrbiterCountAlone) {
    place(scene, 1, kolvane::Motion::speeding_up, 11, 100, 100, 1);
    place(scene, 2, kolvane::Motion::speeding_up, 12, 200, 200, 1);
    sprite_off(scene.app.scene, 1);
    ASSERT_EQ(scene.app.scene.sprites.kind_count[1], 1);
    do_star(scene.app.scene, 1);
    EXPECT_EQ(scene.app.scene.sprites.kind_count[1], 1);
    EXPECT_EQ(scene.app.scene.sprites.kind_count[12], 1);
}

TEST(MotionStars, AStarAppearsInAboutOneFrameInTenWhenItsSlotIsFree) {
    SpriteScene scene(800, 600, no_launch);
    int stars = 0;
    constexpr int frames = 20000;
    for (int n = 0; n < frames; ++n) {
        scene.fake.clock_ms += 45;
        move_sprites(scene.app.scene);
        for (std::int32_t i = 1; i <= 25; ++i) stars += scene.slot(i).active;
        sprites_reset(scene.app.scene);
    }
    EXPECT_NEAR(static_cast<double>(stars) / frames, 0.099, 0.01);
}

TEST(MotionCrowded, WithEverySlotBusyNothingIsPlaced) {
    SpriteScene scene(800, 600, 1);
    occupy_others(scene, {});
    scene.app.scene.sprites.launch_countdown = 0;
    for (int n = 0; n < 2000; ++n) {
        scene.fake.clock_ms += 45;
        move_sprites(scene.app.scene);
    }
    for (std::int32_t i = 1; i <= 25; ++i) {
        EXPECT_EQ(scene.slot(i).kind, 5);
        EXPECT_EQ(scene.slot(i).frame, 7);
    }
    for (std::int32_t k = 1; k <= 12; ++k) EXPECT_EQ(scene.app.scene.sprites.kind_count[k], 0) << k;
}

TEST(LaunchTiming, TheFirstAttemptFallsInTheTenthFrameThenEveryInterval) {
    SpriteScene scene(800, 600, 24);
    for (int frame = 1; frame <= 9; ++frame) {
        move_sprites(scene.app.scene);
        EXPECT_EQ(scene.app.scene.sprites.launch_countdown, 14 + frame);
    }
    move_sprites(scene.app.scene);
    EXPECT_EQ(scene.app.scene.sprites.launch_countdown, 0);
    for (int frame = 1; frame <= 23; ++frame) move_sprites(scene.app.scene);
    EXPECT_EQ(scene.app.scene.sprites.launch_countdown, 23);
    move_sprites(scene.app.scene);
    EXPECT_EQ(scene.app.scene.sprites.launch_countdown, 0);
}

TEST(LaunchTiming, AnIntervalOfZeroOrLessGivesOnlyTheTenthFrameAttempt) {
    // The lowest intervals start the count below the range of its type; it wraps (no overflow) to come round in frame 10.
    const std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    for (std::int32_t interval : {0, -5, lowest + 9, lowest}) {
        SpriteScene scene(800, 600, interval);
        int resets = 0;
        for (int frame = 1; frame <= 3000; ++frame) {
            move_sprites(scene.app.scene);
            if (scene.app.scene.sprites.launch_countdown == 0) ++resets;
            if (frame == 10) {
                EXPECT_EQ(scene.app.scene.sprites.launch_countdown, 0) << interval;
            }
        }
        EXPECT_EQ(resets, 1) << interval;
    }
}

// The drawn slot is free unless a star took it, so nearly every scene offers a kind in frame 10.
TEST(LaunchTiming, TheTenthFrameOffersTheNextKind) {
    int offered = 0;
    for (std::uint64_t seed = 1; seed <= 50; ++seed) {
        SpriteScene scene(800, 600, 8, seed);
        const std::int32_t before = scene.app.scene.sprites.next_kind;
        for (int frame = 1; frame <= 9; ++frame) move_sprites(scene.app.scene);
        ASSERT_EQ(scene.app.scene.sprites.next_kind, before);
        move_sprites(scene.app.scene);
        offered += scene.app.scene.sprites.next_kind != before;
    }
    EXPECT_GE(offered, 40);
}

// The background change is a step of the frame of its own; a pass that ran it too would change
// the picture twice as often.
TEST(MotionRotation, ThePassLeavesTheBackgroundToTheFrame) {
    SpriteScene scene(800, 600, 8);
    render_log().clear_every = 1;
    int launched = 0;
    for (int n = 0; n < 300; ++n) {
        move_sprites(scene.app.scene);
        for (std::int32_t i = 1; i <= 25; ++i) launched += scene.slot(i).active;
    }
    EXPECT_EQ(render_log().rotation_calls, 0);
    EXPECT_GT(launched, 0);
}

// Where a freed slot was last shown is handed to the compositor, rounded as it rounds.
TEST_F(Motion, AFreedSlotLeavesTheRectangleItWasLastShownIn) {
    occupy_others(scene, {1, 2});
    SpriteSlot& s = place(scene, 1, kolvane::Motion::straight, 11, 804.5, 300);  // frame 11 is 144 by 60
    s.vx = 4.5;
    s.old_x = 804.5;
    s.old_y = 299.5;
    SpriteSlot& other = place(scene, 2, kolvane::Motion::straight, 9, 200.5, 200);
    other.old_x = 200.5;
    move_sprites(scene.app.scene);
    ASSERT_EQ(s.active, 0);
    ASSERT_EQ(scene.app.scene.sprites.freed_count, 1);
    const FreedRect& r = scene.app.scene.sprites.freed_rects[0];
    EXPECT_EQ(r.left, 804);
    EXPECT_EQ(r.top, 300);
    EXPECT_EQ(r.width, 144);
    EXPECT_EQ(r.height, 60);
}

TEST_F(Motion, AStarAtItsEndLeavesItsLastFrameRectangle) {
    occupy_others(scene, {1});
    do_star(scene.app.scene, 1);
    setsprite_anim(scene.app.scene, 1, 5);
    SpriteSlot& s = scene.slot(1);
    s.old_x = 13.5;
    s.old_y = 7.5;
    for (int n = 0; n < 4; ++n) move_sprites(scene.app.scene);
    EXPECT_EQ(scene.app.scene.sprites.freed_count, 0);
    move_sprites(scene.app.scene);
    ASSERT_EQ(s.active, 0);
    ASSERT_EQ(scene.app.scene.sprites.freed_count, 1);
    EXPECT_EQ(scene.app.scene.sprites.freed_rects[0].left, 14);
    EXPECT_EQ(scene.app.scene.sprites.freed_rects[0].top, 8);
    EXPECT_EQ(scene.app.scene.sprites.freed_rects[0].width, 9);
}

}  // namespace
}  // namespace kolvane::testing

namespace kolvane::testing {
namespace {

// On a very tall scene some objects are launched and leave again in the same frame. They were never
// shown, so they must not hand the compositor a rectangle at the slot's stale old position.
TEST(MotionFreedRects, AnObjectGoneInTheFrameItEntersLeavesNothingToRestore) {
    SpriteScene scene(800, 10000000, 1);
    int gone_at_once = 0;
    for (int frame = 0; frame < 40000; ++frame) {
        sprites_reset(scene.app.scene);
        for (std::int32_t i = 1; i <= 25; ++i) {
            scene.slot(i).kind = 0;
            scene.slot(i).old_x = 5;
            scene.slot(i).old_y = 5;
        }
        scene.app.scene.sprites.freed_count = 0;
        scene.fake.clock_ms += 45;
        move_sprites(scene.app.scene);
        for (std::int32_t i = 1; i <= 25; ++i) {
            if (scene.slot(i).kind == 0 || scene.slot(i).active != 0) continue;
            ++gone_at_once;
            ASSERT_EQ(scene.app.scene.sprites.freed_count, 0) << "frame " << frame;
        }
    }
    EXPECT_GT(gone_at_once, 5);
}

}  // namespace
}  // namespace kolvane::testing
