// A scene with a fresh sprite table on the headless backend, and helpers to read speeds and frames.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/app.h"
#include "platform/headless/headless_platform.h"
#include "scene/sprites/sprite_table.h"
#include "tests/sprites/render_doubles.h"

namespace kolvane::testing {

struct SpriteScene {
    headless::FakeSystem fake;
    headless::MemoryStore store;
    headless::MemoryRegistry registry;
    App app{Platform{fake, store, registry}};

    SpriteScene(std::int32_t width, std::int32_t height, std::int32_t launch_interval = 80,
                std::uint64_t seed = 12345) {
        render_log() = RenderLog{};
        fake.clock_ms = 1000;
        app.scene.random.seed(seed);
        app.scene.run.screen_width = width;
        app.scene.run.screen_height = height;
        app.scene.run.launch_interval = launch_interval;
        init_sprites(app.scene);
    }

    SpriteSlot& slot(std::int32_t i) { return app.scene.sprites.slot[i]; }
    const FrameRect& frame(std::int32_t f) const { return app.scene.sprites.frame_table[f]; }
    double sx(std::int32_t i) const { return app.scene.speed.x[i]; }
    double sy(std::int32_t i) const { return app.scene.speed.y[i]; }
    double width() const { return app.scene.run.screen_width; }
    double height() const { return app.scene.run.screen_height; }
};

// factor * step for every speed step from first to last.
inline std::vector<double> speeds(const double* table, std::int32_t first, std::int32_t last, double factor) {
    std::vector<double> values;
    for (std::int32_t i = first; i <= last; ++i) values.push_back(factor * table[i]);
    return values;
}

inline bool one_of(double value, const std::vector<double>& allowed) {
    for (double a : allowed) {
        if (std::fabs(value - a) <= 1e-9 * std::fabs(a)) return true;
    }
    return false;
}

inline bool is_whole(double value) { return value == std::floor(value); }

}  // namespace kolvane::testing
