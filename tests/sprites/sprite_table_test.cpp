// Tests of the sprite table: the built tables, freeing slots, starting animations and the depth pass.
#include <algorithm>
#include <limits>
#include <numeric>

#include "scene/sprites/launcher.h"
#include "tests/sprites/sprite_fixture.h"

namespace kolvane::testing {
namespace {

TEST(SpriteTableInit, EmptiesTheTableAndNumbersTheDrawingOrder) {
    SpriteScene scene(640, 480);
    SpriteTable& table = scene.app.scene.sprites;
    EXPECT_EQ(table.max_sprites, 25);
    for (std::int32_t i = 1; i <= 25; ++i) {
        EXPECT_EQ(table.slot[i].active, 0) << i;
        EXPECT_EQ(table.slot[i].frame, 0) << i;
        EXPECT_EQ(table.slot[i].masked, 1) << i;
        EXPECT_EQ(table.draw_order[i], i);
    }
    for (std::int16_t count : table.kind_count) EXPECT_EQ(count, 0);
    EXPECT_GE(table.next_kind, 1);
    EXPECT_LE(table.next_kind, 11);
    EXPECT_EQ(table.freed_count, 0);
}

TEST(SpriteTableInit, StartsTheLaunchCountTenFramesAheadAndResetsTheCaptionLine) {
    SpriteScene scene(800, 600, 40);
    scene.app.scene.run.scroller_period = 500;
    scene.app.scene.scroller = {2, 7, 33};
    init_sprites(scene.app.scene);
    EXPECT_EQ(scene.app.scene.sprites.launch_countdown, 30);
    EXPECT_EQ(scene.app.scene.scroller.scroller_phase, 0);
    EXPECT_EQ(scene.app.scene.scroller.scroller_countdown, 500);
    EXPECT_EQ(scene.app.scene.scroller.caption_index, 0);
    EXPECT_DOUBLE_EQ(scene.sx(1), 800.0 / 2500);
    EXPECT_DOUBLE_EQ(scene.sy(20), 600.0 / 600);
}

TEST(SpriteTableInit, TheLowestIntervalsStartTheLaunchCountWrappedRound) {
    // launch_interval - 10 is below the range of a 32-bit count for these; it wraps as the count itself does.
    const std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(SpriteScene(800, 600, lowest).app.scene.sprites.launch_countdown, std::numeric_limits<std::int32_t>::max() - 9);
    EXPECT_EQ(SpriteScene(800, 600, lowest + 9).app.scene.sprites.launch_countdown, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(SpriteScene(800, 600, lowest + 10).app.scene.sprites.launch_countdown, lowest);
}

TEST(SpriteTableInit, NextKindCoversEveryKindOverManySeeds) {
    std::array<int, 12> seen{};
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        SpriteScene scene(640, 480, 80, seed);
        ASSERT_GE(scene.app.scene.sprites.next_kind, 1);
        ASSERT_LE(scene.app.scene.sprites.next_kind, 11);
        ++seen[scene.app.scene.sprites.next_kind];
    }
    for (int k = 1; k <= 11; ++k) EXPECT_GT(seen[k], 10) << "kind " << k;
}

TEST(FrameTable, HoldsTheSheetRectanglesAndDepths) {
    SpriteScene scene(640, 480);
    const FrameRect& astronaut = scene.frame(13);
    EXPECT_EQ(astronaut.sheet_x, 265);
    EXPECT_EQ(astronaut.sheet_y, 81);
    EXPECT_EQ(astronaut.width, 125);
    EXPECT_EQ(astronaut.height, 144);
    EXPECT_EQ(astronaut.depth, 21);
    EXPECT_EQ(scene.frame(0).depth, -1);
    EXPECT_EQ(scene.frame(0).width, 0);
    // Grid cells: row r, column c.
    EXPECT_EQ(scene.frame(20 + 6 * 2 + 3).sheet_x, 90);
    EXPECT_EQ(scene.frame(20 + 6 * 2 + 3).sheet_y, 540);
    EXPECT_EQ(scene.frame(43).width, 30);
    EXPECT_EQ(scene.frame(44 + 6 * 3 + 5).sheet_x, 660);
    EXPECT_EQ(scene.frame(44 + 6 * 3 + 5).sheet_y, 420);
    EXPECT_EQ(scene.frame(67).height, 60);
    EXPECT_EQ(scene.frame(73).sheet_x, 400);
    EXPECT_EQ(scene.frame(73).sheet_y, 516);
    EXPECT_EQ(scene.frame(73).width, 9);
    for (std::int32_t f = 74; f <= 80; ++f) {
        const FrameRect& r = scene.frame(f);
        EXPECT_EQ(r.sheet_x + r.sheet_y + r.width + r.height + r.depth, 0) << f;
    }
}

TEST(FrameTable, DepthsRunFromBackToFrontInTheListedOrder) {
    SpriteScene scene(640, 480);
    const std::int32_t back_to_front[] = {0, 68, 9, 8, 7, 6, 16, 1, 2, 3, 4, 5, 20, 12, 11, 10, 44, 19, 18, 17, 15, 14, 13};
    for (std::size_t i = 1; i < std::size(back_to_front); ++i) {
        EXPECT_LT(scene.frame(back_to_front[i - 1]).depth, scene.frame(back_to_front[i]).depth)
            << back_to_front[i - 1] << " before " << back_to_front[i];
    }
    for (std::int32_t f = 20; f <= 43; ++f) EXPECT_EQ(scene.frame(f).depth, 11) << f;
    for (std::int32_t f = 44; f <= 67; ++f) EXPECT_EQ(scene.frame(f).depth, 15) << f;
    for (std::int32_t f = 68; f <= 73; ++f) EXPECT_EQ(scene.frame(f).depth, 0) << f;
}

// The artwork contract: every frame lies on the sheet and no two frames share a pixel.
TEST(FrameTable, RectanglesLieOnTheSheetAndNeverOverlap) {
    SpriteScene scene(640, 480);
    for (std::int32_t a = 1; a <= 73; ++a) {
        const FrameRect& r = scene.frame(a);
        ASSERT_GT(r.width, 0) << a;
        EXPECT_GE(r.sheet_x, 0) << a;
        EXPECT_LE(r.sheet_x + r.width, 720) << a;
        EXPECT_LE(r.sheet_y + r.height, 600) << a;
        for (std::int32_t b = a + 1; b <= 73; ++b) {
            const FrameRect& q = scene.frame(b);
            const bool apart = r.sheet_x + r.width <= q.sheet_x || q.sheet_x + q.width <= r.sheet_x ||
                               r.sheet_y + r.height <= q.sheet_y || q.sheet_y + q.height <= r.sheet_y;
            EXPECT_TRUE(apart) << "frames " << a << " and " << b;
        }
    }
}

TEST(AnimTable, HoldsTheFiveSequencesWithTheirEndMarkers) {
    SpriteScene scene(640, 480);
    const auto& anim = scene.app.scene.sprites.anim_table;
    const std::int32_t fourth[] = {69, 70, 71, 72, 73, -1};
    for (std::int32_t step = 1; step <= 6; ++step) EXPECT_EQ(anim[4][step], fourth[step - 1]) << step;
    for (std::int32_t step = 1; step <= 24; ++step) {
        EXPECT_EQ(anim[1][step], 19 + step);
        EXPECT_EQ(anim[2][step], 43 + step);
    }
    EXPECT_EQ(anim[1][25], -1);
    EXPECT_EQ(anim[2][25], -1);
    EXPECT_EQ(anim[3][1], 68);
    EXPECT_EQ(anim[3][7], -1);
    EXPECT_EQ(anim[5][1], 70);
    EXPECT_EQ(anim[5][5], -1);
    for (std::int32_t seq : {0, 6, 10}) EXPECT_EQ(anim[seq][1], 0) << seq;
    for (std::int32_t seq = 0; seq <= 10; ++seq) EXPECT_EQ(anim[seq][0], 0) << seq;
}

// A live slot with some of every field set.
void fill_live(SpriteScene& scene, std::int32_t i, std::int16_t kind) {
    SpriteSlot& s = scene.slot(i);
    s = SpriteSlot{1, kind, 17, 12.5, -3.0, 11.0, -2.0, 1.5, -0.5, 0.25, 0.75, 0.125, -0.125, 0.5, Motion::wandering, 0, 2, 9, 1};
    ++scene.app.scene.sprites.kind_count[kind];
}

TEST(SpriteOff, ClearsTheMotionFieldsAndKeepsPositionSpeedAndKind) {
    SpriteScene scene(640, 480);
    fill_live(scene, 7, 3);
    sprite_off(scene.app.scene, 7);
    const SpriteSlot& s = scene.slot(7);
    EXPECT_EQ(s.active, 0);
    EXPECT_EQ(s.frame, 0);
    EXPECT_EQ(s.anim, 0);
    EXPECT_EQ(s.anim_step, 0);
    EXPECT_EQ(s.anim_end, 0);
    EXPECT_EQ(s.motion, Motion::none);
    EXPECT_EQ(s.masked, 1);
    EXPECT_EQ(s.ax, 0);
    EXPECT_EQ(s.wander_vx, 0);
    EXPECT_EQ(s.wander_vy, 0);
    EXPECT_EQ(s.wander_ax, 0);
    EXPECT_EQ(s.wander_ay, 0);
    EXPECT_EQ(s.kind, 3);
    EXPECT_EQ(s.x, 12.5);
    EXPECT_EQ(s.y, -3.0);
    EXPECT_EQ(s.old_x, 11.0);
    EXPECT_EQ(s.old_y, -2.0);
    EXPECT_EQ(s.vx, 1.5);
    EXPECT_EQ(s.vy, -0.5);
}

TEST(SpriteOff, LowersTheCounterOfALiveSlotUnlessToldToKeepIt) {
    SpriteScene scene(640, 480);
    fill_live(scene, 2, 5);
    fill_live(scene, 3, 5);
    sprite_off(scene.app.scene, 2, true);
    EXPECT_EQ(scene.app.scene.sprites.kind_count[5], 2);
    sprite_off(scene.app.scene, 3);
    EXPECT_EQ(scene.app.scene.sprites.kind_count[5], 1);
}

// A free slot's recorded kind belongs to an object that is gone; the live count must not drop.
TEST(SpriteOff, FreeingAFreeSlotLeavesTheCountersAlone) {
    SpriteScene scene(640, 480);
    fill_live(scene, 4, 1);
    sprite_off(scene.app.scene, 4);
    fill_live(scene, 9, 1);  // another orbiter, still alive
    sprite_off(scene.app.scene, 4);
    sprite_off(scene.app.scene, 4);
    EXPECT_EQ(scene.app.scene.sprites.kind_count[1], 1);
    scene.app.scene.sprites.kind_count[2] = 0;
    scene.slot(5).kind = 2;
    sprite_off(scene.app.scene, 5);
    EXPECT_EQ(scene.app.scene.sprites.kind_count[2], 0);
}

TEST(SetspriteAnim, ShowsTheFirstFrameAtOnceAndStartsBeforeStepOne) {
    SpriteScene scene(640, 480);
    scene.slot(6).anim_step = 9;
    setsprite_anim(scene.app.scene, 6, 3);
    EXPECT_EQ(scene.slot(6).frame, 68);
    EXPECT_EQ(scene.slot(6).anim, 3);
    EXPECT_EQ(scene.slot(6).anim_step, 0);
    setsprite_anim(scene.app.scene, 6, 2);
    EXPECT_EQ(scene.slot(6).frame, 44);
}

TEST(SpritesReset, FreesEverySlotZeroesCountersAndKeepsTheOrder) {
    SpriteScene scene(640, 480);
    for (std::int32_t i = 1; i <= 25; ++i) fill_live(scene, i, static_cast<std::int16_t>(1 + i % 12));
    std::reverse(scene.app.scene.sprites.draw_order.begin() + 1, scene.app.scene.sprites.draw_order.begin() + 26);
    const auto order = scene.app.scene.sprites.draw_order;
    scene.app.scene.sprites.next_kind = 7;
    scene.app.scene.sprites.launch_countdown = 33;
    sprites_reset(scene.app.scene);
    for (std::int32_t i = 1; i <= 25; ++i) EXPECT_EQ(scene.slot(i).active, 0);
    for (std::int16_t count : scene.app.scene.sprites.kind_count) EXPECT_EQ(count, 0);
    EXPECT_EQ(scene.app.scene.sprites.draw_order, order);
    EXPECT_EQ(scene.app.scene.sprites.next_kind, 7);
    EXPECT_EQ(scene.app.scene.sprites.launch_countdown, 33);
}

// Gives slot i a frame of the wanted depth.
void show(SpriteScene& scene, std::int32_t i, std::int32_t frame) { scene.slot(i).frame = frame; }

std::vector<std::int16_t> order_of(const SpriteScene& scene) {
    return {scene.app.scene.sprites.draw_order.begin() + 1, scene.app.scene.sprites.draw_order.begin() + 26};
}

TEST(SortSprites, EqualDepthsNeverSwap) {
    SpriteScene scene(640, 480);
    std::reverse(scene.app.scene.sprites.draw_order.begin() + 1, scene.app.scene.sprites.draw_order.begin() + 26);
    for (std::int32_t i = 1; i <= 25; ++i) show(scene, i, 20 + (i % 24));  // every one depth 11
    const auto before = order_of(scene);
    sort_sprites(scene.app.scene);
    EXPECT_EQ(order_of(scene), before);
}

TEST(SortSprites, TheDeepestFirstEntryTravelsToTheEndInOnePass) {
    SpriteScene scene(640, 480);
    show(scene, 1, 13);  // depth 21, all others free (-1)
    sort_sprites(scene.app.scene);
    const auto order = order_of(scene);
    EXPECT_EQ(order.back(), 1);
    for (std::size_t k = 0; k + 1 < order.size(); ++k) EXPECT_EQ(order[k], k + 2);
}

TEST(SortSprites, TheShallowestLastEntryMovesUpOnePlacePerPass) {
    SpriteScene scene(640, 480);
    for (std::int32_t i = 1; i <= 24; ++i) show(scene, i, 16);  // depth 5
    show(scene, 25, 68);                                        // depth 0
    sort_sprites(scene.app.scene);
    EXPECT_EQ(scene.app.scene.sprites.draw_order[24], 25);
    EXPECT_EQ(scene.app.scene.sprites.draw_order[25], 24);
    sort_sprites(scene.app.scene);
    EXPECT_EQ(scene.app.scene.sprites.draw_order[23], 25);
}

TEST(SortSprites, SettlesIntoAscendingDepthAsAPermutation) {
    SpriteScene scene(640, 480);
    for (std::int32_t i = 1; i <= 25; ++i) show(scene, i, (i * 7) % 20);  // frames 0 to 19, mixed depths
    for (int pass = 0; pass < 24; ++pass) sort_sprites(scene.app.scene);
    auto order = order_of(scene);
    for (std::size_t k = 1; k < order.size(); ++k) {
        EXPECT_LE(scene.frame(scene.slot(order[k - 1]).frame).depth, scene.frame(scene.slot(order[k]).frame).depth);
    }
    std::sort(order.begin(), order.end());
    std::vector<std::int16_t> all(25);
    std::iota(all.begin(), all.end(), std::int16_t{1});
    EXPECT_EQ(order, all);
}

}  // namespace
}  // namespace kolvane::testing
