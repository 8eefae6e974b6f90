// Tests of the object launcher: turn order, limits, odds, entry points, speed ranges and draw order.
#include <cmath>

#include "scene/sprites/launcher.h"
#include "startup/numeric.h"
#include "tests/sprites/sprite_fixture.h"

namespace kolvane::testing {
namespace {

constexpr std::int32_t launch_slot = 5;

// Offers exactly `kind` to the launcher once.
void offer(SpriteScene& scene, std::int32_t kind) {
    scene.app.scene.sprites.next_kind = kind == 1 ? 11 : kind - 1;
    launch_object(scene.app.scene, launch_slot);
}

// Offers `kind` to a free slot with no live objects of it until one is launched; returns it.
SpriteSlot launch_one(SpriteScene& scene, std::int32_t kind) {
    for (int attempt = 0; attempt < 100000; ++attempt) {
        sprite_off(scene.app.scene, launch_slot);
        scene.app.scene.sprites.kind_count[kind] = 0;
        scene.fake.clock_ms += 7;
        offer(scene, kind);
        if (scene.slot(launch_slot).active == 1) return scene.slot(launch_slot);
    }
    ADD_FAILURE() << "kind " << kind << " never launched";
    return {};
}

// What every launch leaves in its slot.
void expect_launched_as(SpriteScene& scene, const SpriteSlot& s, std::int32_t kind, Motion motion) {
    EXPECT_EQ(s.active, 1);
    EXPECT_EQ(s.kind, kind);
    EXPECT_EQ(s.motion, motion);
    EXPECT_EQ(scene.app.scene.sprites.kind_count[kind], 1);
    EXPECT_EQ(s.anim_end, 0);
    EXPECT_EQ(s.masked, 1);
    EXPECT_TRUE(is_whole(s.x) && is_whole(s.y));
}

bool from_left(SpriteScene& scene, const SpriteSlot& s) { return s.x == -scene.frame(s.frame).width; }
bool from_right(SpriteScene& scene, const SpriteSlot& s) { return s.x == scene.width(); }
bool in_upper_half(SpriteScene& scene, const SpriteSlot& s) { return s.y >= 1 && s.y <= scene.height() / 2; }
bool in_lower_half(SpriteScene& scene, const SpriteSlot& s) {
    return s.y >= scene.height() - scene.height() / 2 && s.y <= scene.height() - 1;
}
bool anywhere(SpriteScene& scene, const SpriteSlot& s) { return s.y >= 1 && s.y <= scene.height(); }

// Counts of the four combinations of two independent sides of a draw.
struct Branches {
    int counts[2][2] = {};
    void add(bool first, bool second) { ++counts[first][second]; }
    bool all_seen() const { return counts[0][0] && counts[0][1] && counts[1][0] && counts[1][1]; }
    double share_of_second() const {
        const int all = counts[0][0] + counts[0][1] + counts[1][0] + counts[1][1];
        return static_cast<double>(counts[0][1] + counts[1][1]) / all;
    }
};

constexpr int samples = 1500;

class LaunchRules : public ::testing::Test {
protected:
    SpriteScene scene{1920, 1080};
    const double* sx = scene.app.scene.speed.x.data();
    const double* sy = scene.app.scene.speed.y.data();
};

TEST_F(LaunchRules, OrbiterFliesAcrossAndSpeedsUpSideways) {
    Branches branches;
    for (int n = 0; n < samples; ++n) {
        const SpriteSlot s = launch_one(scene, 1);
        expect_launched_as(scene, s, 1, Motion::speeding_up);
        ASSERT_TRUE(s.frame == 11 || s.frame == 12);
        const bool right = s.frame == 11;
        EXPECT_TRUE(right ? from_left(scene, s) : from_right(scene, s));
        EXPECT_TRUE(one_of(s.vx, speeds(sx, 1, 10, right ? 1 : -1))) << s.vx;
        EXPECT_TRUE(anywhere(scene, s));
        EXPECT_TRUE(one_of(std::fabs(s.vy), speeds(sy, 1, 20, 1)));
        branches.add(right, s.vy > 0);
    }
    EXPECT_TRUE(branches.all_seen());
    EXPECT_NEAR(branches.share_of_second(), 0.199, 0.05);  // downwards on a fifth
}

TEST_F(LaunchRules, RocketRisesFromBelowTheBottomEdge) {
    Branches branches;
    for (int n = 0; n < samples; ++n) {
        const SpriteSlot s = launch_one(scene, 2);
        expect_launched_as(scene, s, 2, Motion::climbing);
        EXPECT_EQ(s.frame, 16);
        EXPECT_GE(s.x, 1);
        EXPECT_LE(s.x, scene.width());
        EXPECT_EQ(s.y, scene.height());
        EXPECT_TRUE(one_of(std::fabs(s.vx), speeds(sx, 1, 5, 1)));
        EXPECT_TRUE(one_of(s.vy, speeds(sy, 1, 5, -1)));
        branches.add(s.x > scene.width() / 2, s.vx > 0);
    }
    EXPECT_TRUE(branches.all_seen());
    EXPECT_NEAR(branches.share_of_second(), 0.199, 0.05);
}

TEST_F(LaunchRules, LargerAstronautsMoveFaster) {
    Branches branches;
    int sizes[4] = {};
    for (int n = 0; n < samples; ++n) {
        const SpriteSlot s = launch_one(scene, 3);
        expect_launched_as(scene, s, 3, Motion::straight);
        ASSERT_GE(s.frame, 13);
        ASSERT_LE(s.frame, 15);
        const std::int32_t size = s.frame - 12;
        ++sizes[size];
        const bool left = from_left(scene, s);
        EXPECT_TRUE(left ? in_upper_half(scene, s) : from_right(scene, s) && in_lower_half(scene, s));
        const double sign = left ? 1 : -1;
        EXPECT_TRUE(one_of(s.vx, speeds(sx, 9, 11, sign * (4 - size)))) << size << " " << s.vx;
        EXPECT_TRUE(one_of(s.vy, speeds(sy, 1, 5, sign)));
        branches.add(left, size == 1);
    }
    EXPECT_TRUE(branches.all_seen());
    EXPECT_GT(sizes[1] * sizes[2] * sizes[3], 0);
}

TEST_F(LaunchRules, SatelliteEntersFastAndBrakesAgainstItsFlight) {
    Branches branches;
    for (int n = 0; n < samples; ++n) {
        const SpriteSlot s = launch_one(scene, 4);
        expect_launched_as(scene, s, 4, Motion::accelerating);
        ASSERT_GE(s.frame, 1);
        ASSERT_LE(s.frame, 5);
        const bool left = from_left(scene, s);
        EXPECT_TRUE(left ? in_upper_half(scene, s) : from_right(scene, s) && in_lower_half(scene, s));
        const double sign = left ? 1 : -1;
        EXPECT_TRUE(one_of(s.vx, speeds(sx, 11, 20, 6 * sign)));
        EXPECT_TRUE(one_of(s.ax, speeds(sx, 1, 3, -sign / 16)));
        EXPECT_TRUE(one_of(s.vy, speeds(sy, 6, 20, sign)));
        branches.add(left, s.frame == 1);
    }
    EXPECT_TRUE(branches.all_seen());
}

TEST_F(LaunchRules, DebrisCrossesAtAnyHeight) {
    Branches branches;
    for (int n = 0; n < samples; ++n) {
        const SpriteSlot s = launch_one(scene, 5);
        expect_launched_as(scene, s, 5, Motion::straight);
        ASSERT_GE(s.frame, 7);
        ASSERT_LE(s.frame, 9);
        const bool left = from_left(scene, s);
        EXPECT_TRUE(left || from_right(scene, s));
        EXPECT_TRUE(anywhere(scene, s));
        const double sign = left ? 1 : -1;
        EXPECT_TRUE(one_of(s.vx, speeds(sx, 1, 20, sign)));
        EXPECT_TRUE(one_of(s.vy, speeds(sy, 1, 3, sign)));
        branches.add(left, s.y > scene.height() / 2);
    }
    EXPECT_TRUE(branches.all_seen());
}

TEST_F(LaunchRules, SaucerWandersWithItsOwnVelocity) {
    Branches branches;
    for (int n = 0; n < samples / 10; ++n) {
        scene.slot(launch_slot).vx = 3.25;  // left over from an earlier object; the saucer does not use it
        const SpriteSlot s = launch_one(scene, 6);
        expect_launched_as(scene, s, 6, Motion::wandering);
        EXPECT_EQ(s.frame, 6);
        const bool left = from_left(scene, s);
        EXPECT_TRUE(left || from_right(scene, s));
        EXPECT_TRUE(anywhere(scene, s));
        EXPECT_TRUE(one_of(s.wander_vx, speeds(sx, 1, 10, left ? 16 : -16)));
        EXPECT_TRUE(one_of(std::fabs(s.wander_vy), speeds(sy, 1, 5, 0.25)));
        EXPECT_EQ(s.wander_ax, 0);
        EXPECT_EQ(s.wander_ay, 0);
        EXPECT_EQ(s.vx, 3.25);
        branches.add(left, s.wander_vy > 0);
    }
    EXPECT_TRUE(branches.all_seen());
}

TEST_F(LaunchRules, OrbiterSeenFromAboveCrossesDiagonally) {
    for (int n = 0; n < samples; ++n) {
        const SpriteSlot s = launch_one(scene, 7);
        expect_launched_as(scene, s, 7, Motion::straight);
        EXPECT_EQ(s.frame, 10);
        const bool left = from_left(scene, s);
        EXPECT_TRUE(left ? in_upper_half(scene, s) : from_right(scene, s) && in_lower_half(scene, s));
        EXPECT_TRUE(one_of(s.vx, speeds(sx, 1, 20, left ? 1 : -1)));
        EXPECT_TRUE(one_of(s.vy, speeds(sy, 1, 5, left ? 1 : -1)));
    }
}

TEST_F(LaunchRules, LaunchStackClimbsFromTheLowerHalf) {
    Branches branches;
    for (int n = 0; n < samples / 5; ++n) {
        const SpriteSlot s = launch_one(scene, 8);
        expect_launched_as(scene, s, 8, Motion::straight);
        ASSERT_TRUE(s.frame == 18 || s.frame == 19);
        const bool left = s.frame == 18;
        EXPECT_TRUE(left ? from_left(scene, s) : from_right(scene, s));
        EXPECT_TRUE(in_lower_half(scene, s));
        EXPECT_TRUE(one_of(s.vy, speeds(sy, 11, 20, -2)));
        EXPECT_TRUE(one_of(s.vx, speeds(sx, 11, 20, left ? 1 : -1)));
        branches.add(left, s.y > scene.height() * 3 / 4);
    }
    EXPECT_TRUE(branches.all_seen());
}

TEST_F(LaunchRules, DishSatelliteDriftsUpOrDownIndependentlyOfItsSide) {
    Branches branches;
    for (int n = 0; n < samples / 5; ++n) {
        const SpriteSlot s = launch_one(scene, 9);
        expect_launched_as(scene, s, 9, Motion::straight);
        EXPECT_EQ(s.frame, 17);
        EXPECT_TRUE(anywhere(scene, s));
        const bool left = from_left(scene, s);
        EXPECT_TRUE(left || from_right(scene, s));
        EXPECT_TRUE(one_of(std::fabs(s.vy), speeds(sy, 1, 10, 2)));
        EXPECT_TRUE(one_of(s.vx, speeds(sx, 6, 15, left ? 1 : -1)));
        branches.add(left, s.vy > 0);
    }
    EXPECT_TRUE(branches.all_seen());
}

void expect_asteroid(SpriteScene& scene, std::int32_t kind, std::int32_t sequence, std::int32_t first_frame,
                     double factor) {
    Branches branches;
    for (int n = 0; n < samples; ++n) {
        const SpriteSlot s = launch_one(scene, kind);
        expect_launched_as(scene, s, kind, Motion::straight);
        EXPECT_EQ(s.anim, sequence);
        EXPECT_EQ(s.anim_step, 0);
        EXPECT_EQ(s.frame, first_frame);
        const bool left = s.x == -scene.frame(first_frame).width;
        EXPECT_TRUE(left || from_right(scene, s));
        EXPECT_TRUE(anywhere(scene, s));
        EXPECT_TRUE(one_of(s.vx, speeds(scene.app.scene.speed.x.data(), 6, 20, left ? factor : -factor)));
        EXPECT_TRUE(one_of(std::fabs(s.vy), speeds(scene.app.scene.speed.y.data(), 1, 5, 1)));
        branches.add(left, s.vy > 0);
    }
    EXPECT_TRUE(branches.all_seen());
}

TEST_F(LaunchRules, SmallAsteroidTumblesFromAnEdge) {
    expect_asteroid(scene, 10, 1, 20, 4);
    EXPECT_EQ(-scene.frame(20).width, -30);
}

TEST_F(LaunchRules, LargeAsteroidTumblesFromAnEdge) {
    expect_asteroid(scene, 11, 2, 44, 3);
    EXPECT_EQ(-scene.frame(44).width, -60);
}

TEST(LaunchTurns, KindsAreOfferedStrictlyInTurnWhetherOrNotTheyLaunch) {
    SpriteScene scene(800, 600);
    scene.app.scene.sprites.next_kind = 11;
    for (int call = 0; call < 23; ++call) {
        sprite_off(scene.app.scene, launch_slot);
        launch_object(scene.app.scene, launch_slot);
        EXPECT_EQ(scene.app.scene.sprites.next_kind, call % 11 + 1);
    }
}

TEST(LaunchLimits, AKindAtItsLimitIsRefusedWithoutTouchingTheSlotOrDrawing) {
    for (std::int32_t kind = 1; kind <= 11; ++kind) {
        SpriteScene scene(800, 600);
        scene.app.scene.sprites.kind_count[kind] = static_cast<std::int16_t>(kind_limit(kind));
        scene.slot(launch_slot).kind = 3;
        scene.slot(launch_slot).x = 77;
        const SpriteSlot before = scene.slot(launch_slot);
        Random expected = scene.app.scene.random;
        expected.reseed_from_clock(scene.fake.clock_ms);
        offer(scene, kind);
        EXPECT_EQ(scene.slot(launch_slot).active, 0) << kind;
        EXPECT_EQ(scene.slot(launch_slot).x, before.x);
        EXPECT_EQ(scene.slot(launch_slot).kind, before.kind);
        EXPECT_EQ(scene.slot(launch_slot).masked, before.masked);
        EXPECT_EQ(scene.app.scene.sprites.kind_count[kind], kind_limit(kind));
        EXPECT_EQ(scene.app.scene.random.next(), expected.next()) << "kind " << kind << " drew at its limit";
    }
}

TEST(LaunchLimits, LimitsAreThoseOfTheCatalogue) {
    const std::int32_t limits[] = {0, 2, 1, 3, 5, 6, 1, 1, 1, 1, 5, 5};
    for (std::int32_t kind = 1; kind <= 11; ++kind) EXPECT_EQ(kind_limit(kind), limits[kind]) << kind;
}

TEST(LaunchLimits, OneOrbiterAliveStillLetsASecondLaunch) {
    SpriteScene scene(800, 600);
    bool launched = false;
    for (int attempt = 0; attempt < 200 && !launched; ++attempt) {
        scene.app.scene.sprites.kind_count[1] = 1;
        scene.fake.clock_ms += 3;
        offer(scene, 1);
        launched = scene.slot(launch_slot).active == 1;
    }
    EXPECT_TRUE(launched);
    EXPECT_EQ(scene.app.scene.sprites.kind_count[1], 2);
}

TEST(LaunchLimits, SatellitesLaunchOnEveryTurnBelowTheirLimit) {
    SpriteScene scene(800, 600);
    for (std::int16_t alive = 0; alive < 5; ++alive) {
        for (int n = 0; n < 50; ++n) {
            sprite_off(scene.app.scene, launch_slot, true);
            scene.app.scene.sprites.kind_count[4] = alive;
            scene.fake.clock_ms += 1;
            offer(scene, 4);
            ASSERT_EQ(scene.slot(launch_slot).active, 1) << alive;
            ASSERT_EQ(scene.app.scene.sprites.kind_count[4], alive + 1);
        }
    }
}

// The share of offers that launch, with no object of the kind alive, is (m - 1) / 1000.
TEST(LaunchOdds, EachKindGoesAheadWithItsOwnOdds) {
    const double odds[] = {0, 800, 600, 700, 1001, 900, 30, 300, 100, 100, 800, 700};
    constexpr int offers = 20000;
    for (std::int32_t kind = 1; kind <= 11; ++kind) {
        SpriteScene scene(800, 600, 80, 99 + static_cast<std::uint64_t>(kind));
        int launched = 0;
        for (int n = 0; n < offers; ++n) {
            sprite_off(scene.app.scene, launch_slot, true);
            scene.app.scene.sprites.kind_count[kind] = 0;
            scene.fake.clock_ms += 45;
            offer(scene, kind);
            launched += scene.slot(launch_slot).active;
        }
        const double p = (odds[kind] - 1) / 1000;
        const double sigma = std::sqrt(p * (1 - p) / offers);
        EXPECT_NEAR(static_cast<double>(launched) / offers, p, 4 * sigma + 1e-12) << "kind " << kind;
    }
}

// Replays the generator by hand in the order the rules are written, to pin the order of draws.
struct Replay {
    Random random;
    std::uint32_t clock;
    bool chance(int below) {
        random.reseed_from_clock(clock);
        return std::floor(random.next() * 1000 + 1) < below;
    }
    double whole(double n) { return std::floor(n * random.next() + 1); }
    std::int32_t pick(std::int32_t n) { return random.pick(n); }
};

// Offers `kind` in fresh scenes until `wanted` launches; checks each against the hand replay, and
// that the launcher drew exactly as many numbers as the replay.
template <typename Check>
void for_replayed_launches(std::int32_t kind, int odds, int wanted, Check check) {
    int launched = 0;
    for (std::uint64_t seed = 1; launched < wanted; ++seed) {
        SpriteScene scene(1024, 768, 80, seed);
        Replay replay{scene.app.scene.random, scene.fake.clock_ms};
        replay.random.reseed_from_clock(replay.clock);
        const bool goes = replay.chance(odds);
        offer(scene, kind);
        ASSERT_EQ(scene.slot(launch_slot).active == 1, goes);
        if (!goes) continue;
        ++launched;
        check(scene, replay, scene.slot(launch_slot));
        EXPECT_EQ(scene.app.scene.random.next(), replay.random.next());
    }
}

TEST(LaunchDraws, OrbiterDrawsSideSpeedHeightDirectionThenVerticalSpeed) {
    for_replayed_launches(1, 800, 20, [](SpriteScene& scene, Replay& replay, const SpriteSlot& s) {
        const bool half = replay.chance(500);
        const double vx = scene.sx(replay.pick(10));
        const double y = replay.whole(768);
        const bool fifth = replay.chance(200);
        const double vy = scene.sy(replay.pick(20));
        EXPECT_EQ(s.frame, half ? 12 : 11);
        EXPECT_EQ(s.vx, half ? -vx : vx);
        EXPECT_EQ(s.y, y);
        EXPECT_EQ(s.vy, fifth ? vy : -vy);
    });
}

TEST(LaunchDraws, LaunchStackDrawsHeightAndClimbBeforeItsSide) {
    for_replayed_launches(8, 100, 10, [](SpriteScene& scene, Replay& replay, const SpriteSlot& s) {
        const double y = 768 - replay.whole(384);
        const double vy = -2 * scene.sy(replay.pick(10) + 10);
        const bool half = replay.chance(500);
        const double vx = scene.sx(replay.pick(10) + 10);
        EXPECT_EQ(s.y, y);
        EXPECT_EQ(s.vy, vy);
        EXPECT_EQ(s.frame, half ? 18 : 19);
        EXPECT_EQ(s.x, half ? -126 : 1024);
        EXPECT_EQ(s.vx, half ? vx : -vx);
    });
}

TEST(LaunchDraws, AstronautDrawsItsSizeFirst) {
    for_replayed_launches(3, 700, 10, [](SpriteScene& scene, Replay& replay, const SpriteSlot& s) {
        const std::int32_t size = replay.pick(3);
        const bool half = replay.chance(500);
        const double y = half ? replay.whole(384) : 768 - replay.whole(384);
        const double vx = (4 - size) * scene.sx(replay.pick(3) + 8);
        const double vy = scene.sy(replay.pick(5));
        EXPECT_EQ(s.frame, 12 + size);
        EXPECT_EQ(s.y, y);
        EXPECT_EQ(s.vx, half ? vx : -vx);
        EXPECT_EQ(s.vy, half ? vy : -vy);
    });
}

}  // namespace
}  // namespace kolvane::testing
