// Main: start-up values, the settings, the first-run lists and the dispatch to one entry point per mode.
#pragma once
#include <string_view>

#include "startup/command_line.h"

namespace kolvane {

struct App;

// What each mode runs, supplied by the backend; each returns the process's exit code.
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
