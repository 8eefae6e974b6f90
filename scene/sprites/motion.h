// The motion pass: stars, launch timing, movement, edge tests and animation of every slot.
#pragma once
#include <cstdint>

namespace kolvane {

struct Scene;

// The once-per-frame simulation step: stars, the launch attempt, then every slot's move and animation.
void move_sprites(Scene& scene);

// Places a twinkling star in a free slot.
void do_star(Scene& scene, std::int32_t slot);

}  // namespace kolvane
