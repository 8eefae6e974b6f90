// The options dialog in GTK: five framed sliders, five check buttons, the object size list and the picture buttons.
#pragma once
#include <array>

#include "config_ui/options_dialog.h"
#include "platform/gtk/dialog_support.h"
#include "platform/gtk/form_context.h"

namespace kolvane::gtk {

class OptionsForm : public Form, public OptionsView {
public:
    explicit OptionsForm(FormContext& context);
    // Loads the dialog and runs it modally over `parent` until it unloads (which saves), however it is closed.
    void run(GtkWindow* parent);

    void set_slider_range(OptionSlider slider, int low, int high) override;
    void set_slider(OptionSlider slider, int value) override;
    int slider(OptionSlider slider) override;
    void set_check(OptionCheck check, bool ticked) override;
    bool check(OptionCheck check) override;
    void set_choice(OptionChoice choice, int index) override;
    int choice(OptionChoice choice) override;
    void show_audio_files() override;
    void show_captions() override;
    void show_new_password() override;
    void unload() override;

private:
    void close_requested() override { unload(); }
    GtkRange* range(OptionSlider slider) const { return GTK_RANGE(sliders_[static_cast<std::size_t>(slider)]); }
    GtkToggleButton* toggle(OptionCheck check) const {
        return GTK_TOGGLE_BUTTON(checks_[static_cast<std::size_t>(check)]);
    }

    FormContext& context_;
    std::array<GtkWidget*, 5> sliders_{};  // by OptionSlider, top to bottom
    std::array<GtkWidget*, 5> checks_{};   // by OptionCheck
    GtkWidget* object_size_ = nullptr;     // the drop-down list of OptionChoice::object_size
    OptionsDialog logic_;
};

}  // namespace kolvane::gtk
