// Entry point of kolvane.scr: the display settings pass /S, /P <hwnd>, /C[:hwnd], /A or nothing.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/app.h"
#include "app/main_dispatch.h"
#include "platform/win32/mci_channel.h"
#include "platform/win32/password_dialogs.h"
#include "platform/win32/preview_window.h"
#include "platform/win32/resource_pictures.h"
#include "platform/win32/scene_view.h"
#include "platform/win32/win32_platform.h"
#include "preview/preview.h"
#include "scene/scene_pictures.h"
#include "scene/scene_window.h"

namespace {

class WindowsModes : public kolvane::ModeEntries {
public:
    WindowsModes(HINSTANCE instance, kolvane::win32::Win32System& system) : instance_(instance), system_(system) {}

    int run_scene(kolvane::App& app) override {
        using namespace kolvane;
        win32::ResourcePictures pictures;
        load_scene_pictures(app.scene, pictures);
        win32::SceneView view(system_, instance_);
        win32::MciChannel midi("kolvane_midi");
        win32::MciChannel wav("kolvane_wav");
        win32::Win32LocalClock clock;
        app.platform.display = &view;
        app.platform.overlays = &view;
        app.platform.scene_window = &view;
        app.platform.local_clock = &clock;
        app.platform.midi = &midi;
        app.platform.wav = &wav;
        if (!view.create(app)) return 1;
        Form_Load(app.scene);
        view.show();
        Form_Activate(app.scene);
        // Main's wait: events go on being delivered until the scene has stopped.
        while (app.scene.run.saver_running) system_.pump_events(50);
        app.platform.display = nullptr;
        app.platform.overlays = nullptr;
        app.platform.scene_window = nullptr;
        app.platform.local_clock = nullptr;
        app.platform.midi = nullptr;
        app.platform.wav = nullptr;
        return 0;
    }

    int run_preview(kolvane::App& app) override {
        using namespace kolvane;
        win32::ResourcePictures pictures;
        const Image picture = pictures.picture("preview").value_or(Image(150, 112));
        win32::PreviewWindow view(instance_, picture, app.startup.twips_per_pixel_x, app.startup.twips_per_pixel_y);
        PreviewState state;
        view.hook(state);
        kolvane::run_preview(app.platform.system, app.startup, view, state);
        return 0;
    }

    int run_new_password(kolvane::App& app) override {
        kolvane::win32::Win32KeyboardLayout layout;
        kolvane::win32::run_new_password_dialog(app, system_, layout, instance_);
        return 0;
    }

    int run_configuration(kolvane::App&) override { return not_built("The configuration window (/C)"); }

private:
    static int not_built(const char* what) {
        std::fprintf(stderr, "kolvane: %s is not built yet in this version.\n", what);
        std::fflush(stderr);
        return kolvane::exit_mode_not_built;
    }

    HINSTANCE instance_;
    kolvane::win32::Win32System& system_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    kolvane::win32::Win32System system;
    kolvane::win32::RegistryStore store;
    kolvane::win32::Win32Registry registry;
    auto app = std::make_unique<kolvane::App>(kolvane::Platform{system, store, registry});
    WindowsModes modes(instance, system);
    return kolvane::Main(*app, command_line ? command_line : "", modes);
}
