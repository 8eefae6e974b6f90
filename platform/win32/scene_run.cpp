// The scene on its window with the Windows channels and clock, from the first load to the stop.
#include "platform/win32/scene_run.h"

#include "app/app.h"
#include "platform/win32/mci_channel.h"
#include "platform/win32/resource_pictures.h"
#include "platform/win32/scene_view.h"
#include "scene/scene_pictures.h"
#include "scene/scene_window.h"

namespace kolvane::win32 {

int run_scene_on_screen(App& app, Win32System& system, HINSTANCE instance) {
    ResourcePictures pictures;
    load_scene_pictures(app.scene, pictures);
    SceneView view(system, instance);
    MciChannel midi("kolvane_midi");
    MciChannel wav("kolvane_wav");
    Win32LocalClock clock;
    app.platform.display = &view;
    app.platform.overlays = &view;
    app.platform.scene_window = &view;
    app.platform.local_clock = &clock;
    app.platform.midi = &midi;
    app.platform.wav = &wav;
    int result = 1;
    if (view.create(app)) {
        Form_Load(app.scene);
        view.show();
        Form_Activate(app.scene);
        // Events go on being delivered until the scene has stopped.
        while (app.scene.run.saver_running) system.pump_events(50);
        result = 0;
    }
    // The ports die with this call; nothing may reach them afterwards.
    app.platform.display = nullptr;
    app.platform.overlays = nullptr;
    app.platform.scene_window = nullptr;
    app.platform.local_clock = nullptr;
    app.platform.midi = nullptr;
    app.platform.wav = nullptr;
    return result;
}

}  // namespace kolvane::win32
