// Port to the configuration window: its caption, the looping title sound, and what its buttons open or start.
#pragma once
#include <string>
#include <string_view>

namespace kolvane {

class ConfigurationView {
public:
    virtual ~ConfigurationView() = default;
    virtual void set_caption(std::string_view caption) = 0;
    // Starts the sound file at once and repeats it until another sound replaces it; returns at once.
    virtual void play_sound_loop(const std::string& path) = 0;
    // Ends the looping sound.
    virtual void stop_sound() = 0;
    // Each runs modally and returns when the dialog has closed.
    virtual void show_options() = 0;
    virtual void show_about() = 0;
    // Runs the scene full screen, modally, until input ends it.
    virtual void run_test_scene() = 0;
    // Starts a program or opens a document through the system's shell; false when that failed.
    virtual bool shell_open(const std::string& target) = 0;
    // Closes the window; the program ends with it.
    virtual void unload() = 0;
};

}  // namespace kolvane
