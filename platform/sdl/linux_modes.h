// The Linux program's modes: the scene on SDL (full screen, in a window, in a host's window) and the preview.
#pragma once
#include <string>

#include "app/main_dispatch.h"
#include "platform/sdl/linux_system.h"
#include "platform/sdl/run_options.h"

namespace kolvane::sdl {

inline constexpr int exit_no_display = 4;
inline constexpr int exit_no_host_window = 5;
inline constexpr int exit_usage = 2;

// The folder holding the pictures (backgrounds/, sprite.bmp, mask.bmp, preview.bmp): KOLVANE_DATA
// when set, else the installation beside the program, else the configured installation, else the
// source tree's assets (a run from the build folder).
std::string picture_folder(const std::string& program_folder);

// A host window smaller on both sides than the smallest monitor is a settings dialog's preview (the
// one XScreenSaver's settings run a hack in), not a screen a daemon gives the hack to cover: the
// scene in it plays no sound.
bool preview_sized(int width, int height, int smallest_monitor_width, int smallest_monitor_height);

class LinuxModes : public ModeEntries {
public:
    LinuxModes(LinuxSystem& system, RunOptions options) : system_(system), options_(std::move(options)) {}
    int run_scene(App& app) override;
    int run_preview(App& app) override;
    int run_new_password(App& app) override;
    int run_configuration(App& app) override;

private:
    LinuxSystem& system_;
    RunOptions options_;
};

}  // namespace kolvane::sdl
