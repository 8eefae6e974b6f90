// The configuration window's logic: its caption, the title sound, and its five buttons.
#pragma once
#include <cstdint>
#include <string>

#include "ports/configuration_view.h"
#include "ports/form_geometry.h"
#include "ports/settings_store.h"
#include "ports/system_api.h"
#include "scene/run_state.h"
#include "startup/settings.h"

namespace kolvane {

inline constexpr const char* configuration_caption_before_load = "Screen Saver Configuration";
inline constexpr const char* title_sound_name = "title.wav";
inline constexpr const char* products_program_name = "Dravik_Products.exe";
inline constexpr const char* products_failed_text =
    "Error Launching Dravik_Products.exe!\r\rPlease make sure you have this program installed properly!";
inline constexpr const char* error_title = "Error!";

class ConfigurationWindow {
public:
    ConfigurationWindow(SystemApi& system, SettingsStore& store, Settings& settings, RunState& run,
                        ConfigurationView& view, FormGeometry& form)
        : system_(system), store_(store), settings_(settings), run_(run), view_(view), form_(form) {}

    void Form_Load();
    // Every activation; only the first starts the title sound.
    void Form_Activate();
    void Command7_Click();  // Options
    void Command6_Click();  // Preview: the scene as a test run
    void Command2_Click();  // About
    void Command3_Click();  // the maker's product catalogue
    void Command4_Click();  // Exit
    // Every way of closing: the title sound stops and the program ends.
    void Form_Unload();

    bool title_played() const { return title_played_ != 0; }

private:
    void launch_wav(const std::string& file);
    void audio_off();
    std::string title_sound() const { return settings_.install_path + title_sound_name; }

    SystemApi& system_;
    SettingsStore& store_;
    Settings& settings_;
    RunState& run_;
    ConfigurationView& view_;
    FormGeometry& form_;
    std::int32_t title_played_ = 0;
};

}  // namespace kolvane
