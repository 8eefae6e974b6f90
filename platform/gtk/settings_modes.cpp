// The settings program's modes.
#include "platform/gtk/settings_modes.h"

#include <cstdio>

#include "app/app.h"
#include "platform/gtk/configuration_form.h"
#include "platform/gtk/new_password_form.h"
#include "platform/gtk/xkb_layout.h"
#include "platform/sdl/linux_modes.h"
#include "platform/sdl/mixer_channel.h"

namespace kolvane::gtk {

void SettingsModes::report_unreadable_settings() {
    // Standard error is not read by someone who started the program from a menu.
    if (settings_.user_file_readable() || !system_.gtk_ready()) return;
    system_.message_box("The settings file " + settings_.user_file() + " cannot be read (" +
                            settings_.user_file_error() +
                            "). The default settings are shown, and nothing will be saved over that file.",
                        "Kolvane Screen Saver", MessageKind::warning);
}

int SettingsModes::no_display() {
    std::fprintf(stderr, "%s: no X display to show the settings on\n", settings_program_name);
    return exit_no_display;
}

// The scene and its preview are the scene program's: it is started in this process's place.
int SettingsModes::run_scene(App&) { return exec_sibling(system_, scene_program_name, args_); }

int SettingsModes::run_preview(App&) { return exec_sibling(system_, scene_program_name, args_); }

int SettingsModes::run_new_password(App& app) {
    if (!system_.gtk_ready()) return no_display();
    sdl::MixerAudio audio;
    XkbKeyboardLayout layout(system_.x11().connection());
    FormContext context{app, system_, audio, layout, sdl::picture_folder(system_.program_folder()), website_};
    NewPasswordForm form(context);
    form.run(nullptr);
    // Cancelled after a save failed: the password asked for is not in force, which is no success.
    return form.save_failed() ? 1 : 0;
}

int SettingsModes::run_configuration(App& app) {
    if (!system_.gtk_ready()) return no_display();
    sdl::MixerAudio audio;
    XkbKeyboardLayout layout(system_.x11().connection());
    FormContext context{app, system_, audio, layout, sdl::picture_folder(system_.program_folder()), website_};
    ConfigurationForm form(context);
    form.run();
    return 0;
}

}  // namespace kolvane::gtk
