// Odds of the chance helpers, clock re-seeding, and the speed tables.
#include <gtest/gtest.h>

#include <cmath>

#include "startup/chance.h"
#include "tests/test_app.h"

namespace kolvane {
namespace {

using testing::TestApp;

// Share of true results over n calls; the clock stands still, as it does within one frame.
template <typename F>
double share(TestApp& t, int n, F&& f) {
    int hits = 0;
    for (int i = 0; i < n; ++i) hits += f(t.app) ? 1 : 0;
    return static_cast<double>(hits) / n;
}

TEST(Chance, HelpersHitTheirOdds) {
    TestApp t;
    t.app.random.seed(12345);
    constexpr int n = 200000;
    // Four standard deviations of a binomial share at n = 200,000 stay below 0.0045.
    EXPECT_NEAR(share(t, n, chance_half), 0.499, 0.0045);
    EXPECT_NEAR(share(t, n, chance_fifth), 0.199, 0.0036);
    EXPECT_NEAR(share(t, n, chance_twentieth), 0.049, 0.002);
    EXPECT_NEAR(share(t, n, [](App& a) { return chance_below(a, 1000, 800); }), 0.799, 0.0036);
    EXPECT_EQ(share(t, 5000, [](App& a) { return chance_below(a, 1000, 1); }), 0.0);
    EXPECT_EQ(share(t, 5000, [](App& a) { return chance_below(a, 1000, 1001); }), 1.0);
}

TEST(Chance, ReseedingWithTheSameClockStillGivesIndependentDraws) {
    TestApp t;
    t.system.clock_ms = 777;
    int repeats = 0;
    double last = -1;
    for (int i = 0; i < 1000; ++i) {
        t.app.random.reseed_from_clock(777);
        const double u = t.app.random.next();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        repeats += u == last ? 1 : 0;
        last = u;
    }
    EXPECT_EQ(repeats, 0);
}

TEST(Chance, SameSeedAndClockGiveTheSameSequence) {
    TestApp a, b;
    a.app.random.seed(9);
    b.app.random.seed(9);
    for (int i = 0; i < 100; ++i) {
        a.system.clock_ms = b.system.clock_ms = static_cast<std::uint32_t>(i * 45);
        ASSERT_EQ(chance_half(a.app), chance_half(b.app));
    }
}

TEST(Chance, PickCoversOneToNEvenly) {
    TestApp t;
    t.app.random.seed(3);
    int counts[12] = {};
    for (int i = 0; i < 110000; ++i) {
        const int k = t.app.random.pick(11);
        ASSERT_GE(k, 1);
        ASSERT_LE(k, 11);
        ++counts[k];
    }
    for (int k = 1; k <= 11; ++k) EXPECT_NEAR(counts[k], 10000, 450) << k;
}

TEST(SpeedTables, ScaleWithTheScreenAndLeaveTheLoopCounterAt21) {
    TestApp t;
    t.app.run.screen_width = 640;
    t.app.run.screen_height = 480;
    t.app.loop_index = 3;
    build_speed_tables(t.app);
    EXPECT_DOUBLE_EQ(t.app.speed.x[1], 0.256);
    EXPECT_DOUBLE_EQ(t.app.speed.x[20], 640.0 / 600.0);
    EXPECT_DOUBLE_EQ(t.app.speed.y[1], 0.192);
    EXPECT_DOUBLE_EQ(t.app.speed.y[20], 0.8);
    EXPECT_DOUBLE_EQ(t.app.speed.x[2], 640.0 / 2400.0);
    EXPECT_EQ(t.app.loop_index, 21);
    for (int i = 2; i <= 20; ++i) EXPECT_GT(t.app.speed.x[i], t.app.speed.x[i - 1]);
}

}  // namespace
}  // namespace kolvane
