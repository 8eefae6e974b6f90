// Compositor: erases, draws and shows the sprites on the scene's surfaces.
#pragma once

namespace kolvane {

struct App;

void blit_old_sprites(App& app);

}  // namespace kolvane
