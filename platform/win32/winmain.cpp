// Entry point of kolvane.scr: the display settings pass /S, /P <hwnd>, /C[:hwnd], /A or nothing.
#include <windows.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "app/main_dispatch.h"
#include "platform/win32/configuration_form.h"
#include "platform/win32/password_dialogs.h"
#include "platform/win32/preview_window.h"
#include "platform/win32/resource_pictures.h"
#include "platform/win32/scene_run.h"
#include "platform/win32/win32_platform.h"
#include "preview/preview.h"

namespace {

class WindowsModes : public kolvane::ModeEntries {
public:
    WindowsModes(HINSTANCE instance, kolvane::win32::Win32System& system) : instance_(instance), system_(system) {}

    int run_scene(kolvane::App& app) override {
        // The title check alone races the window's creation when two scenes start together; the
        // session-wide mutex decides, and the second start leaves quietly as the title check would.
        SetLastError(ERROR_SUCCESS);
        HANDLE mutex = CreateMutexA(nullptr, FALSE, "Local\\KolvaneScreenSaverScene");
        if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(mutex);
            return 0;
        }
        const int result = kolvane::win32::run_scene_on_screen(app, system_, instance_);
        if (mutex) CloseHandle(mutex);
        return result;
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
        // Cancelled after a save failed: the password asked for is not in force, which is no success.
        return kolvane::win32::run_new_password_dialog(app, system_, layout, instance_) ? 0 : 1;
    }

    int run_configuration(kolvane::App& app) override {
        kolvane::win32::Win32KeyboardLayout layout;
        return kolvane::win32::run_configuration_window(app, system_, layout, instance_);
    }

private:
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
