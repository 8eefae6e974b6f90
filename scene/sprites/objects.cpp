// The draws and speeds shared by the launcher and the motion pass.
#include "scene/sprites/objects.h"

#include "scene/scene.h"
#include "startup/chance.h"
#include "startup/numeric.h"

namespace kolvane {

std::int32_t pick(Scene& scene, std::int32_t n) { return scene.random.pick(n); }
double whole_draw(Scene& scene, double n) { return int_floor(n * scene.random.next() + 1.0); }
double sx(const Scene& scene, std::int32_t step) { return scene.speed.x[static_cast<std::size_t>(step)]; }
double sy(const Scene& scene, std::int32_t step) { return scene.speed.y[static_cast<std::size_t>(step)]; }

bool chance_half(Scene& scene) { return chance_half(scene.random, scene.platform.system); }
bool chance_fifth(Scene& scene) { return chance_fifth(scene.random, scene.platform.system); }
bool chance_twentieth(Scene& scene) { return chance_twentieth(scene.random, scene.platform.system); }
bool chance_below(Scene& scene, double range, double limit) {
    return chance_below(scene.random, scene.platform.system, range, limit);
}

}  // namespace kolvane
