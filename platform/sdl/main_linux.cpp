// Entry point of the Linux program: reads the command line, builds the backend and runs Main.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/main_dispatch.h"
#include "platform/sdl/ini_store.h"
#include "platform/sdl/linux_modes.h"
#include "platform/sdl/linux_system.h"
#include "platform/sdl/run_options.h"

int main(int argc, char** argv) {
    // Pictures and screen copies (a megabyte and more) get mappings of their own, returned to the system
    // when freed. glibc would otherwise raise this threshold after the first such free, and the ten plain
    // backgrounds the scene lets go of at a large screen's set-up would stay resident as holes in the heap.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    std::vector<std::string> args(argv + 1, argv + argc);
    kolvane::sdl::RunOptions options = kolvane::sdl::parse_run_options(args, std::getenv("XSCREENSAVER_WINDOW"));
    if (options.help || options.version) {
        const std::string text =
            options.help ? kolvane::sdl::usage_text() : kolvane::sdl::version_line("kolvane") + "\n";
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    // As a hack does: the complaint on one line, then what the program takes.
    if (!options.error.empty()) {
        std::fprintf(stderr, "kolvane: %s\n%s", options.error.c_str(), kolvane::sdl::usage_text().c_str());
        return kolvane::sdl::exit_usage;
    }
    kolvane::sdl::LinuxSystem system;
    kolvane::sdl::IniStore ini(kolvane::sdl::user_settings_file(),
                               kolvane::sdl::install_settings_file(system.program_folder()));
    kolvane::sdl::IniRegistry registry(ini);
    kolvane::sdl::OverrideStore store(ini, options.settings);
    kolvane::App app(kolvane::Platform{system, store, registry});
    const std::string command_line = options.command_line;
    kolvane::sdl::LinuxModes modes(system, std::move(options));
    return kolvane::Main(app, command_line, modes);
}
