// The object launcher: puts the next due space object into a free slot at an edge of the scene.
#pragma once
#include <cstdint>

#include "scene/sprites/objects.h"

namespace kolvane {

struct Scene;

// Most live objects of a kind; the launcher refuses the kind while its counter is at this.
std::int32_t kind_limit(std::int32_t kind);

// Offers the next kind in turn; launches it into `slot` (which must be free) when under its
// limit and its odds hold, otherwise changes nothing but the turn.
void launch_object(Scene& scene, std::int32_t slot);

}  // namespace kolvane
