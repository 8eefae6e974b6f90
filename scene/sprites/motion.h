// The motion pass: stars, launch timing, movement, edge tests and animation of every slot.
#pragma once
#include <cstdint>

namespace kolvane {

struct App;

// The once-per-frame simulation step; ends with the background rotation.
void move_sprites(App& app);

// Places a twinkling star in a free slot.
void do_star(App& app, std::int32_t slot);

}  // namespace kolvane
