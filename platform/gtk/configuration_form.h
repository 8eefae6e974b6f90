// The configuration window in GTK: the title picture between two rows of buttons, and the view port the engine drives it through.
#pragma once
#include <string>
#include <string_view>

#include "config_ui/configuration_window.h"
#include "platform/gtk/dialog_support.h"
#include "platform/gtk/form_context.h"
#include "platform/gtk/title_sound.h"

namespace kolvane::gtk {

class ConfigurationForm : public Form, public ConfigurationView {
public:
    explicit ConfigurationForm(FormContext& context);
    // Loads the window, shows it and returns when it has been closed and unloaded.
    void run();

    void set_caption(std::string_view caption) override;
    void play_sound_loop(const std::string& path) override;
    void stop_sound() override;
    void show_options() override;
    void show_about() override;
    // `kolvane /S --test-run` beside this program; the window waits, insensitive, until it ends.
    void run_test_scene() override;
    bool shell_open(const std::string& target) override;
    void unload() override { end(); }

private:
    // The title-bar close unloads the window as Exit does; not while the test run is up.
    void close_requested() override;

    FormContext& context_;
    LoopingSound title_sound_;
    WindowGeometry geometry_;
    ConfigurationWindow logic_;
    bool scene_running_ = false;
};

}  // namespace kolvane::gtk
