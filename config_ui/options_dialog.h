// The options dialog's logic: settings to sliders and check boxes and back, saved on every close.
#pragma once
#include "ports/options_view.h"
#include "ports/settings_store.h"
#include "ports/system_api.h"
#include "startup/settings.h"

namespace kolvane {

inline constexpr const char* options_caption = "Screen Saver Options";
inline constexpr const char* options_unsaved_text =
    "The settings could not be saved, so your changes are not kept yet. Check that the settings can be "
    "written, then close this window again; if they still cannot be saved, it closes without them.";

// The object size list, in the order of the object_scale values 0 to 3.
inline constexpr const char* object_size_items[] = {"Automatic", "Normal", "Double", "Triple"};
inline constexpr const char* object_size_caption = "Object Si&ze:";
inline constexpr const char* object_size_tip =
    " Choose how large the objects are drawn; Automatic makes them larger on larger screens ";
inline constexpr const char* large_backgrounds_caption = "&Large Backgrounds";
inline constexpr const char* large_backgrounds_tip =
    " Place a check here to show sharp backgrounds in the screen's own shape on wide screens ";

// A slider's range: the settings table's range of its key, divided by the key's step.
struct SliderRange {
    int low = 1;
    int high = 1;
    int step = 1;  // setting = slider value × step
};
SliderRange slider_range(OptionSlider slider);
// The key of the settings table a slider shows.
const char* slider_key(OptionSlider slider);

class OptionsDialog {
public:
    // The settings as they are at Form_Load are what the dialog was opened on: only what it changes is written.
    OptionsDialog(SystemApi& system, SettingsStore& store, Settings& settings, OptionsView& view)
        : system_(system),
          store_(store),
          settings_(settings),
          view_(view),
          opened_on_(snapshot_settings(store, settings)) {}

    void Form_Load();
    void display_settings();
    // False when the store refused a value.
    bool update_settings();
    void Command1_Click();  // Ok
    void Command2_Click();  // Password
    void Command7_Click();  // Edit Captions
    void Command8_Click();  // Edit Audio Files
    // After Ok and after the title-bar close alike: the controls are written back and saved. False
    // keeps the dialog open: the save failed and the user has been told (once; the next close goes).
    bool Form_Unload();

private:
    SystemApi& system_;
    SettingsStore& store_;
    Settings& settings_;
    OptionsView& view_;
    SettingsSnapshot opened_on_;
    bool told_unsaved_ = false;
};

}  // namespace kolvane
