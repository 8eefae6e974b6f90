// Background rotation: changes the scene's picture from time to time.
#pragma once

namespace kolvane {

struct Scene;

// Counts the frames in which the caption line is idle and, after rotation_period of them, brings
// the next picture on with the next transition and clears every sprite.
void handle_picture_rotation(Scene& scene);

}  // namespace kolvane
