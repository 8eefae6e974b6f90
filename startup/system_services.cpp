// System services over the platform's SystemApi.
#include "startup/system_services.h"

#include "startup/command_line.h"

namespace kolvane {

std::int32_t get_ticks(SystemApi& system) { return static_cast<std::int32_t>(system.time_get_time()); }

std::int32_t ticks_until(std::int32_t now, std::int32_t deadline) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(deadline) - static_cast<std::uint32_t>(now));
}

bool ticks_reached(std::int32_t now, std::int32_t deadline) { return ticks_until(now, deadline) <= 0; }

std::int32_t ticks_add(std::int32_t ticks, std::int32_t ms) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ticks) + static_cast<std::uint32_t>(ms));
}

void pause_ms(SystemApi& system, std::int32_t ms) {
    const std::int32_t deadline = ticks_add(get_ticks(system), ms);
    std::int32_t remaining = 0;
    do {
        system.pump_events(remaining);
        remaining = ticks_until(get_ticks(system), deadline);
    } while (remaining > 0);
}

namespace {
// A guard against a counter that never moves; far more steps than any real counter needs.
constexpr int max_cursor_steps = 100000;
}  // namespace

void cursor_show(SystemApi& system) {
    for (int i = 0; i < max_cursor_steps && system.show_cursor(true) < 0; ++i) {
    }
}

void cursor_hide(SystemApi& system) {
    for (int i = 0; i < max_cursor_steps && system.show_cursor(false) >= 0; ++i) {
    }
}

void system_keys_off(SystemApi& system) {
    system.set_saver_state(SaverState::running, true);
    system.set_saver_state(SaverState::active, false);
}

void system_keys_on(SystemApi& system) {
    system.set_saver_state(SaverState::running, false);
    system.set_saver_state(SaverState::active, true);
}

void set_wallpaper(SystemApi& system, const std::string& path) { system.set_desktop_wallpaper(path); }

void center_form(SystemApi& system, FormGeometry& form) {
    const float left = system.screen_width_twips() / 2.0f - form.width_twips() / 2.0f;
    const float top = system.screen_height_twips() / 2.0f - form.height_twips() / 2.0f;
    form.move_to_twips(left, top);
    system.pump_events(0);
}

bool no_window_titled(SystemApi& system, const std::string& title) { return !system.window_titled_exists(title); }

bool no_scene_window(SystemApi& system) {
    return !system.scene_found_by_title() || no_window_titled(system, scene_window_title);
}

std::string windows_directory(SystemApi& system) {
    // The platform reports as much as it allows (Windows' own call has a 255-character buffer); a
    // longer folder cut short here would put the lists in some other folder.
    std::string dir = system.raw_windows_directory();
    const char sep = system.path_separator();
    if (dir.empty() || dir.back() != sep) dir += sep;
    return dir;
}

std::string per_user_directory(SystemApi& system) {
    std::string dir = system.per_user_data_directory();
    if (!dir.empty() && dir.back() != system.path_separator()) dir += system.path_separator();
    return dir;
}

}  // namespace kolvane
