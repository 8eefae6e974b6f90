// Background rotation: changes the scene's picture from time to time.
#pragma once

namespace kolvane {

struct App;

void handle_picture_rotation(App& app);

}  // namespace kolvane
