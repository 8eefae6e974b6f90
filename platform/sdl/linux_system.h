// The Linux system services: monotonic clock, SDL events when SDL runs, X11 window lookup.
#pragma once
#include "platform/system.h"

namespace kolvane::sdl {

class LinuxSystem : public SystemApi {
public:
    std::uint32_t time_get_time() override;
    void pump_events(std::int32_t timeout_ms) override;
    int show_cursor(bool show) override;
    void system_parameters_info(std::uint32_t action, std::int32_t param, const char* text,
                                std::uint32_t flags) override;
    bool window_titled_exists(const std::string& title) override;
    std::string raw_windows_directory() override;
    void message_box(const std::string& text, const std::string& title, unsigned flags) override;
    std::string program_folder() override;
    double twips_per_pixel_x() override { return 15.0; }
    double twips_per_pixel_y() override { return 15.0; }
    float screen_width_twips() override { return 1920 * 15.0f; }
    float screen_height_twips() override { return 1080 * 15.0f; }
    char path_separator() const override { return '/'; }

private:
    int cursor_counter_ = 0;
};

}  // namespace kolvane::sdl
