// Main: start-up values, the command-line switch and the dispatch to one entry point per mode.
#pragma once
#include <cstdint>
#include <string_view>

namespace kolvane {

struct App;

enum class Mode { scene, preview, new_password, configure, none };

inline constexpr const char* scene_window_title = "screen saver running";
inline constexpr const char* configuration_window_title = "Kolvane Screen Saver Configuration";
inline constexpr const char* program_title = "scrnsave:Kolvane";

// The switch is the first two characters, upper-cased; empty counts as "/C".
Mode parse_switch(std::string_view command_line);
// The decimal number after the first two characters, blanks skipped; 0 when there is none.
std::uint32_t read_host_window(std::string_view command_line);

// What each mode runs; each returns the process's exit code.
class ModeEntries {
public:
    virtual ~ModeEntries() = default;
    virtual int run_scene(App& app) = 0;
    virtual int run_preview(App& app) = 0;
    virtual int run_new_password(App& app) = 0;
    virtual int run_configuration(App& app) = 0;
};

inline constexpr int exit_install_folder_missing = 1;
inline constexpr int exit_mode_not_built = 3;

int Main(App& app, std::string_view command_line, ModeEntries& modes);

}  // namespace kolvane
