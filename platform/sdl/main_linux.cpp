// Entry point of the Linux program: builds the backend and runs Main with the command line.
#include <cstdio>
#include <string>

#include "platform/sdl/ini_store.h"
#include "platform/sdl/linux_system.h"
#include "startup/app.h"
#include "startup/main_dispatch.h"

namespace {

class LinuxModes : public kolvane::ModeEntries {
public:
    int run_scene(kolvane::App&) override { return not_built("The full-screen scene (/S)"); }
    int run_preview(kolvane::App&) override { return not_built("The preview (/P)"); }
    int run_new_password(kolvane::App&) override { return not_built("The set-password dialog (/A)"); }
    int run_configuration(kolvane::App&) override { return not_built("The configuration window (/C)"); }

private:
    static int not_built(const char* what) {
        std::fprintf(stderr, "kolvane: %s is not built yet in this version.\n", what);
        return kolvane::exit_mode_not_built;
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) command_line += ' ';
        command_line += argv[i];
    }
    kolvane::sdl::LinuxSystem system;
    kolvane::sdl::IniStore store(kolvane::sdl::user_settings_file(),
                                 kolvane::sdl::install_settings_file(system.program_folder()));
    kolvane::sdl::IniRegistry registry(store);
    kolvane::App app(kolvane::Platform{system, store, registry});
    LinuxModes modes;
    return kolvane::Main(app, command_line, modes);
}
