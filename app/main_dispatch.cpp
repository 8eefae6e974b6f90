// Main: what every mode needs before its window opens, then the mode's own entry point.
#include "app/main_dispatch.h"

#include "app/app.h"
#include "lists/lists.h"
#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane {

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
    app.startup.per_user_dir = per_user_directory(system);
    if (!load_settings(app.platform.store, system, app.settings)) return exit_install_folder_missing;
    const DataFolders folders = data_folders(app.startup, &system);
    // Said where someone can act on it; the scene and the preview try again at their next start.
    if (!write_default_lists(folders, app.platform.store, app.settings) && mode == Mode::configure)
        system.message_box(unsaved_file_text(default_lists_unsaved_text, folders, ""), data_files_title,
                           MessageKind::warning);

    switch (mode) {
        case Mode::scene:
            if (!no_scene_window(system)) return 0;
            app.scene.run.saver_running = true;
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
