// Main and the switch parsing.
#include "startup/main_dispatch.h"

#include <cctype>
#include <string>

#include "startup/app.h"
#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane {

Mode parse_switch(std::string_view command_line) {
    std::string sw(command_line.substr(0, 2));
    for (char& c : sw) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (sw.empty() || sw == "/C") return Mode::configure;
    if (sw == "/S") return Mode::scene;
    if (sw == "/P") return Mode::preview;
    if (sw == "/A") return Mode::new_password;
    return Mode::none;
}

std::uint32_t read_host_window(std::string_view command_line) {
    std::string_view rest = command_line.size() > 2 ? command_line.substr(2) : std::string_view{};
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    std::size_t end = 0;
    if (end < rest.size() && (rest[end] == '-' || rest[end] == '+')) ++end;
    while (end < rest.size() && ((rest[end] >= '0' && rest[end] <= '9') || rest[end] == '.')) ++end;
    const auto number = parse_number(rest.substr(0, end));
    if (!number) return 0;
    const double rounded = round_half_even(*number);
    // A window number is 32 bits; anything outside reads as no window.
    if (rounded < -2147483648.0 || rounded > 4294967295.0) return 0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(rounded));
}

int Main(App& app, std::string_view command_line, ModeEntries& modes) {
    SystemApi& system = app.platform.system;
    const char sep = system.path_separator();
    app.startup.app_path = system.program_folder();
    if (app.startup.app_path.empty() || app.startup.app_path.back() != sep) app.startup.app_path += sep;
    app.startup.start_folder = app.startup.app_path;
    app.startup.twips_per_pixel_x = static_cast<std::int16_t>(round_half_even(system.twips_per_pixel_x()));
    app.startup.twips_per_pixel_y = static_cast<std::int16_t>(round_half_even(system.twips_per_pixel_y()));
    const Mode mode = parse_switch(command_line);
    app.startup.windows_dir = windows_directory(system);
    if (!load_settings(app)) return exit_install_folder_missing;

    switch (mode) {
        case Mode::scene:
            if (!no_window_titled(system, scene_window_title)) return 0;
            app.run.saver_running = true;
            return modes.run_scene(app);
        case Mode::preview:
            app.startup.host_window = read_host_window(command_line);
            return modes.run_preview(app);
        case Mode::new_password:
            return modes.run_new_password(app);
        case Mode::configure:
            if (!no_window_titled(system, configuration_window_title)) return 0;
            return modes.run_configuration(app);
        case Mode::none:
            break;
    }
    return 0;
}

}  // namespace kolvane
