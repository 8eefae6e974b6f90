// The configuration window's logic.
#include "config_ui/configuration_window.h"

#include "startup/command_line.h"
#include "startup/system_services.h"

namespace kolvane {

void ConfigurationWindow::launch_wav(const std::string& file) { view_.play_sound_loop(file); }

void ConfigurationWindow::audio_off() {
    view_.stop_sound();
    system_.pump_events(0);
}

void ConfigurationWindow::Form_Load() {
    center_form(system_, form_);
    view_.set_caption(configuration_window_title);
    title_played_ = 0;
    load_settings(store_, system_, settings_);
}

void ConfigurationWindow::Form_Activate() {
    if (title_played_ != 0) return;
    title_played_ = 1;
    launch_wav(title_sound());
}

void ConfigurationWindow::Command7_Click() {
    audio_off();
    view_.show_options();
    launch_wav(title_sound());
}

void ConfigurationWindow::Command6_Click() {
    audio_off();
    run_.test_mode = 1;
    view_.run_test_scene();
    run_.test_mode = 0;
    launch_wav(title_sound());
}

void ConfigurationWindow::Command2_Click() { view_.show_about(); }

void ConfigurationWindow::Command3_Click() {
    if (!view_.shell_open(settings_.install_path + products_program_name))
        system_.message_box(products_failed_text, error_title, MessageKind::plain);
}

void ConfigurationWindow::Command4_Click() { view_.unload(); }

void ConfigurationWindow::Form_Unload() { audio_off(); }

}  // namespace kolvane
