// Small counters of the scene: the background rotation and the caption line.
#pragma once
#include <cstdint>

namespace kolvane {

struct RotationState {
    std::int32_t current_picture = 0;    // 0 to 9
    std::int32_t rotation_count = 0;     // frames since the last change
    std::int32_t transition_effect = 0;  // 0 at start, then 1, 2, 3, 1, ...
};

struct ScrollerState {
    std::int32_t scroller_phase = 0;      // 0 waiting, 1 rising, 2 resting or sinking
    std::int32_t scroller_countdown = 0;  // frames before the caption line acts again
    std::int32_t caption_index = 0;       // caption shown last; 0 before the first
    float scroller_top = 0.0f;            // the caption box's top edge, twips
};

}  // namespace kolvane
