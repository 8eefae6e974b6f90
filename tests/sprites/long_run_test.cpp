// Long random runs of the motion pass: the table's invariants, reproducibility and no allocation.
#include <algorithm>

#include "scene/render/compositor.h"
#include "scene/render/rotation.h"
#include "scene/sprites/launcher.h"
#include "scene/sprites/motion.h"
#include "startup/numeric.h"
#include "tests/allocation_counter.h"
#include "tests/sprites/sprite_fixture.h"

namespace kolvane::testing {
namespace {

// Where each live slot was shown before the motion step, as the compositor sees it.
struct Shown {
    bool live = false;
    FreedRect rect;
};

std::array<Shown, 26> shown_before_motion(const SpriteScene& scene) {
    std::array<Shown, 26> shown{};
    for (std::int32_t i = 1; i <= 25; ++i) {
        const SpriteSlot& s = scene.app.scene.sprites.slot[i];
        if (s.active == 0) continue;
        const FrameRect& f = scene.frame(s.frame);
        shown[i] = {true,
                    {static_cast<std::int32_t>(round_half_even(s.old_x)),
                     static_cast<std::int32_t>(round_half_even(s.old_y)), f.width, f.height}};
    }
    return shown;
}

bool same_rect(const FreedRect& a, const FreedRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// Every slot freed by the motion step left exactly the rectangle it was shown in, and nothing else did.
void expect_freed_rects_match(const SpriteScene& scene, const std::array<Shown, 26>& before, long frame) {
    const SpriteTable& table = scene.app.scene.sprites;
    std::int32_t freed = 0;
    for (std::int32_t i = 1; i <= 25; ++i) {
        if (!before[i].live || table.slot[i].active != 0) continue;
        ++freed;
        const auto* end = table.freed_rects.begin() + table.freed_count;
        const bool recorded = std::any_of(table.freed_rects.begin(), end,
                                          [&](const FreedRect& r) { return same_rect(r, before[i].rect); });
        ASSERT_TRUE(recorded) << "slot " << i << " in frame " << frame;
    }
    ASSERT_EQ(table.freed_count, freed) << "frame " << frame;
}

struct Tally {
    std::array<int, 13> most_alive{};
};

void expect_table_sound(const SpriteScene& scene, Tally& tally, long frame) {
    const SpriteTable& table = scene.app.scene.sprites;
    std::array<int, 13> alive{};
    for (std::int32_t i = 1; i <= 25; ++i) {
        const SpriteSlot& s = table.slot[i];
        ASSERT_TRUE(s.active == 0 || s.active == 1) << frame;
        ASSERT_TRUE(s.frame >= 0 && s.frame <= 73) << frame;
        ASSERT_TRUE(s.anim >= 0 && s.anim <= 5 && s.anim_step >= 0 && s.anim_step <= 24) << frame;
        ASSERT_TRUE(s.motion >= Motion::none && s.motion <= Motion::wandering) << frame;
        if (s.active == 0) continue;
        ASSERT_TRUE(s.kind >= 1 && s.kind <= 12) << frame;
        ASSERT_GT(s.frame, 0) << "a live slot shows nothing, frame " << frame;
        ++alive[s.kind];
    }
    for (std::int32_t k = 1; k <= 12; ++k) {
        ASSERT_EQ(table.kind_count[k], alive[k]) << "kind " << k << " in frame " << frame;
        ASSERT_LE(alive[k], kind_limit(k)) << "kind " << k << " in frame " << frame;
        tally.most_alive[k] = std::max(tally.most_alive[k], alive[k]);
    }
    std::array<bool, 26> seen{};
    for (std::int32_t k = 1; k <= 25; ++k) {
        const std::int16_t s = table.draw_order[k];
        ASSERT_TRUE(s >= 1 && s <= 25 && !seen[s]) << "draw_order in frame " << frame;
        seen[s] = true;
    }
}

// One frame as the main loop runs it, with the compositor's bookkeeping of the freed list.
void run_frame(SpriteScene& scene) {
    scene.fake.clock_ms += 45;
    blit_old_sprites(scene.app.scene);
    move_sprites(scene.app.scene);
    handle_picture_rotation(scene.app.scene);
    scene.app.scene.sprites.freed_count = 0;
    sort_sprites(scene.app.scene);
}

TEST(LongRun, TheTableStaysSoundOverAHundredThousandFrames) {
    SpriteScene scene(1920, 1080, 8, 20240607);
    render_log().clear_every = 1041;
    Tally tally;
    constexpr long frames = 100000;
    for (long frame = 1; frame <= frames; ++frame) {
        scene.fake.clock_ms += 45;
        blit_old_sprites(scene.app.scene);
        const auto before = shown_before_motion(scene);
        move_sprites(scene.app.scene);
        expect_freed_rects_match(scene, before, frame);
        handle_picture_rotation(scene.app.scene);
        scene.app.scene.sprites.freed_count = 0;
        sort_sprites(scene.app.scene);
        expect_table_sound(scene, tally, frame);
        if (::testing::Test::HasFatalFailure()) return;
    }
    EXPECT_EQ(render_log().rotation_calls, frames);
    // The limits were actually pressed, not merely never reached.
    for (std::int32_t k : {1, 2, 3, 5, 6, 7, 8, 9}) EXPECT_EQ(tally.most_alive[k], kind_limit(k)) << "kind " << k;
    for (std::int32_t k = 1; k <= 12; ++k) EXPECT_GT(tally.most_alive[k], 0) << "kind " << k << " never appeared";
}

bool same_slot(const SpriteSlot& a, const SpriteSlot& b) {
    return a.active == b.active && a.kind == b.kind && a.frame == b.frame && a.x == b.x && a.y == b.y &&
           a.vx == b.vx && a.vy == b.vy && a.ax == b.ax && a.wander_vx == b.wander_vx &&
           a.wander_vy == b.wander_vy && a.wander_ax == b.wander_ax && a.wander_ay == b.wander_ay &&
           a.motion == b.motion && a.masked == b.masked && a.anim == b.anim && a.anim_step == b.anim_step &&
           a.anim_end == b.anim_end;
}

bool same_tables(const SpriteTable& a, const SpriteTable& b) {
    for (std::int32_t i = 1; i <= 25; ++i) {
        if (!same_slot(a.slot[i], b.slot[i])) return false;
    }
    return a.kind_count == b.kind_count && a.draw_order == b.draw_order && a.next_kind == b.next_kind &&
           a.launch_countdown == b.launch_countdown;
}

TEST(LongRun, ASeedAndAClockReproduceARunFrameForFrame) {
    SpriteScene first(1024, 768, 16, 77);
    SpriteScene second(1024, 768, 16, 77);
    SpriteScene other(1024, 768, 16, 78);
    bool ever_differed = false;
    for (int frame = 1; frame <= 10000; ++frame) {
        run_frame(first);
        run_frame(second);
        run_frame(other);
        ASSERT_TRUE(same_tables(first.app.scene.sprites, second.app.scene.sprites)) << "frame " << frame;
        ever_differed = ever_differed || !same_tables(first.app.scene.sprites, other.app.scene.sprites);
    }
    EXPECT_TRUE(ever_differed);
}

TEST(LongRun, TheFrameStepsAllocateNothing) {
    SpriteScene scene(1920, 1080, 8, 5);
    render_log().clear_every = 500;
    const std::int64_t before = allocation_count();
    for (int frame = 0; frame < 20000; ++frame) run_frame(scene);
    const std::int64_t after = allocation_count();
    EXPECT_EQ(after - before, 0u);
    EXPECT_GT(render_log().rotation_calls, 0);
}

}  // namespace
}  // namespace kolvane::testing
