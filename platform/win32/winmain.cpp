// Entry point of kolvane.scr: the display settings pass /S, /P <hwnd>, /C[:hwnd], /A or nothing.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/win32_platform.h"
#include "startup/app.h"
#include "startup/main_dispatch.h"

namespace {

class WindowsModes : public kolvane::ModeEntries {
public:
    int run_scene(kolvane::App&) override { return not_built("The full-screen scene (/S)"); }
    int run_preview(kolvane::App&) override { return not_built("The preview (/P)"); }
    int run_new_password(kolvane::App&) override { return not_built("The set-password dialog (/A)"); }
    int run_configuration(kolvane::App&) override { return not_built("The configuration window (/C)"); }

private:
    static int not_built(const char* what) {
        std::fprintf(stderr, "kolvane: %s is not built yet in this version.\n", what);
        std::fflush(stderr);
        return kolvane::exit_mode_not_built;
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
    kolvane::win32::Win32System system;
    kolvane::win32::RegistryStore store;
    kolvane::win32::Win32Registry registry;
    kolvane::App app(kolvane::Platform{system, store, registry});
    WindowsModes modes;
    return kolvane::Main(app, command_line ? command_line : "", modes);
}
