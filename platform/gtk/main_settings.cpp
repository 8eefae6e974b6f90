// Entry point of the settings program kolvane-settings: the backend over GTK, then Main.
#include <SDL_hints.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/main_dispatch.h"
#include "platform/gtk/gtk_system.h"
#include "platform/gtk/settings_modes.h"
#include "platform/gtk/system_info_registry.h"
#include "platform/sdl/ini_store.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs("usage: kolvane-settings [/C | /A]\n"
                   "  /C (or nothing)  the configuration window of the Kolvane screen saver\n"
                   "  /A               change the screen saver's password\n"
                   "/S and /P <window> are handed to the kolvane program beside this one.\n",
                   stdout);
        return 0;
    }
    // SDL plays the sounds only: SIGTERM and SIGINT must end this program as they end any other,
    // not turn into quit events that nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    std::string command_line;
    for (std::size_t i = 0; i < args.size(); ++i) command_line += (i ? " " : "") + args[i];

    kolvane::gtk::GtkSystem system;
    kolvane::sdl::IniStore ini(kolvane::sdl::user_settings_file(),
                               kolvane::sdl::install_settings_file(system.program_folder()));
    kolvane::sdl::IniRegistry desktop(ini);
    kolvane::gtk::SystemInfoRegistry registry(desktop, kolvane::gtk::system_info_programs());
    kolvane::App app(kolvane::Platform{system, ini, registry});
    kolvane::gtk::SettingsModes modes(system, args, KOLVANE_WEBSITE);
    return kolvane::Main(app, command_line, modes);
}
