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
#include "platform/sdl/linux_modes.h"
#include "platform/sdl/run_options.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    constexpr const char* usage =
        "usage: kolvane-settings [/C | /A]\n"
        "       kolvane-settings --help | --version\n"
        "  /C (or nothing)  the configuration window of the Kolvane screen saver\n"
        "  /A               change the screen saver's password\n"
        "/S and /P <window> are handed to the kolvane program beside this one. See kolvane-settings(6).\n";
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "/?")) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::puts(kolvane::sdl::version_line("kolvane-settings").c_str());
        return 0;
    }
    // What the settings program does not take is refused, as the scene program refuses it; /S and /P
    // go to the scene program with all their words, and it judges them.
    std::string error;
    const std::string first = args.empty() ? "" : args[0].substr(0, 2);
    const bool handed_on = first == "/S" || first == "/s" || first == "/P" || first == "/p";
    if (!handed_on) {
        for (const std::string& arg : args)
            if (error.empty() && arg.size() > 1 && arg[0] == '-') error = "Unrecognised option \"" + arg + "\"";
        if (error.empty()) error = kolvane::sdl::classic_switch_error(args);
    }
    if (!error.empty()) {
        std::fprintf(stderr, "kolvane-settings: %s\n%s", error.c_str(), usage);
        return kolvane::sdl::exit_usage;
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
    kolvane::gtk::SettingsModes modes(system, ini, args, KOLVANE_WEBSITE);
    if (!handed_on) modes.report_unreadable_settings();
    return kolvane::Main(app, command_line, modes);
}
