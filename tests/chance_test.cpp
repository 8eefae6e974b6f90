// Odds of the chance helpers, clock re-seeding, and the speed tables.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "platform/headless/headless_platform.h"
#include "startup/chance.h"
#include "startup/system_services.h"

namespace kolvane {
namespace {

// A generator and the clock it folds in, as the scene holds them.
struct Draws {
    Random random;
    headless::FakeSystem system;
};

// Share of true results over n calls; the clock stands still, as it does within one frame.
template <typename F>
double share(Draws& t, int n, F&& f) {
    int hits = 0;
    for (int i = 0; i < n; ++i) hits += f(t.random, t.system) ? 1 : 0;
    return static_cast<double>(hits) / n;
}

TEST(Chance, HelpersHitTheirOdds) {
    Draws t;
    t.random.seed(12345);
    constexpr int n = 200000;
    // Four standard deviations of a binomial share at n = 200,000 stay below 0.0045.
    EXPECT_NEAR(share(t, n, [](Random& r, SystemApi& s) { return chance_half(r, s); }), 0.499, 0.0045);
    EXPECT_NEAR(share(t, n, [](Random& r, SystemApi& s) { return chance_fifth(r, s); }), 0.199, 0.0036);
    EXPECT_NEAR(share(t, n, [](Random& r, SystemApi& s) { return chance_twentieth(r, s); }), 0.049, 0.002);
    EXPECT_NEAR(share(t, n, [](Random& r, SystemApi& s) { return chance_below(r, s, 1000, 800); }), 0.799, 0.0036);
    EXPECT_EQ(share(t, 5000, [](Random& r, SystemApi& s) { return chance_below(r, s, 1000, 1); }), 0.0);
    EXPECT_EQ(share(t, 5000, [](Random& r, SystemApi& s) { return chance_below(r, s, 1000, 1001); }), 1.0);
}

// Each helper at its edge: a seed whose next draw lands in the last whole number that counts as true,
// and one whose draw lands in the first that does not. A threshold moved by one turns one of the two.
TEST(Chance, EachHelperChangesItsAnswerBetweenItsLastTrueAndFirstFalseDraw) {
    struct Row {
        const char* what;
        std::function<bool(Random&, SystemApi&)> helper;
        double range;
        int first_false;  // the whole number Int(range * u + 1) from which the answer is false
    };
    const std::vector<Row> rows = {
        {"half", [](Random& r, SystemApi& s) { return chance_half(r, s); }, 1000, 500},
        {"fifth", [](Random& r, SystemApi& s) { return chance_fifth(r, s); }, 1000, 200},
        {"twentieth", [](Random& r, SystemApi& s) { return chance_twentieth(r, s); }, 1000, 50},
        {"below 1000, 30", [](Random& r, SystemApi& s) { return chance_below(r, s, 1000, 30); }, 1000, 30},
        {"below 1000, 900", [](Random& r, SystemApi& s) { return chance_below(r, s, 1000, 900); }, 1000, 900},
        {"below 20, 7", [](Random& r, SystemApi& s) { return chance_below(r, s, 20, 7); }, 20, 7},
    };
    Draws t;
    t.system.clock_ms = 4321;
    const auto clock = static_cast<std::uint32_t>(get_ticks(t.system));
    for (const Row& row : rows) {
        for (const int cell : {row.first_false - 1, row.first_false}) {
            SCOPED_TRACE(std::string(row.what) + ", draw " + std::to_string(cell));
            // The draw the helper will make, seen on a copy of the generator.
            const auto draw_after = [&](std::uint64_t seed) {
                Random copy(seed);
                copy.reseed_from_clock(clock);
                return static_cast<int>(std::floor(row.range * copy.next() + 1.0));
            };
            std::uint64_t seed = 0;
            while (seed < 1'000'000 && draw_after(seed) != cell) ++seed;
            ASSERT_LT(seed, 1'000'000u);
            Random random(seed);
            EXPECT_EQ(row.helper(random, t.system), cell < row.first_false);
        }
    }
}

TEST(Chance, ReseedingWithTheSameClockStillGivesIndependentDraws) {
    Draws t;
    t.system.clock_ms = 777;
    int repeats = 0;
    double last = -1;
    for (int i = 0; i < 1000; ++i) {
        t.random.reseed_from_clock(777);
        const double u = t.random.next();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        repeats += u == last ? 1 : 0;
        last = u;
    }
    EXPECT_EQ(repeats, 0);
}

TEST(Chance, SameSeedAndClockGiveTheSameSequence) {
    Draws a, b;
    a.random.seed(9);
    b.random.seed(9);
    for (int i = 0; i < 100; ++i) {
        a.system.clock_ms = b.system.clock_ms = static_cast<std::uint32_t>(i * 45);
        ASSERT_EQ(chance_half(a.random, a.system), chance_half(b.random, b.system));
    }
}

TEST(Chance, PickCoversOneToNEvenly) {
    Draws t;
    t.random.seed(3);
    int counts[12] = {};
    for (int i = 0; i < 110000; ++i) {
        const int k = t.random.pick(11);
        ASSERT_GE(k, 1);
        ASSERT_LE(k, 11);
        ++counts[k];
    }
    for (int k = 1; k <= 11; ++k) EXPECT_NEAR(counts[k], 10000, 450) << k;
}

TEST(SpeedTables, ScaleWithTheScreen) {
    SpeedTables speed;
    build_speed_tables(speed, 640, 480);
    EXPECT_DOUBLE_EQ(speed.x[1], 0.256);
    EXPECT_DOUBLE_EQ(speed.x[20], 640.0 / 600.0);
    EXPECT_DOUBLE_EQ(speed.y[1], 0.192);
    EXPECT_DOUBLE_EQ(speed.y[20], 0.8);
    EXPECT_DOUBLE_EQ(speed.x[2], 640.0 / 2400.0);
    for (int i = 2; i <= 20; ++i) EXPECT_GT(speed.x[i], speed.x[i - 1]);
    build_speed_tables(speed, 1920, 1080);
    EXPECT_DOUBLE_EQ(speed.x[1], 1920.0 / 2500.0);
    EXPECT_DOUBLE_EQ(speed.y[20], 1080.0 / 600.0);
}

}  // namespace
}  // namespace kolvane
