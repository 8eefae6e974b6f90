// The system services as the engine sees them: clock, pause, pointer, screen-saver state, wallpaper.
#pragma once
#include <cstdint>
#include <string>

#include "ports/form_geometry.h"
#include "ports/system_api.h"

namespace kolvane {

std::int32_t get_ticks(SystemApi& system);
// True once `now` has reached `deadline`; compares the difference, so a wrapping count is harmless.
bool ticks_reached(std::int32_t now, std::int32_t deadline);
// deadline - now as a signed difference (wrap-safe).
std::int32_t ticks_until(std::int32_t now, std::int32_t deadline);
std::int32_t ticks_add(std::int32_t ticks, std::int32_t ms);

// Delivers events until ms have passed; at least one round even for 0. Sleeps in the event wait.
void pause_ms(SystemApi& system, std::int32_t ms);
void cursor_show(SystemApi& system);
void cursor_hide(SystemApi& system);
void system_keys_off(SystemApi& system);
void system_keys_on(SystemApi& system);
void set_wallpaper(SystemApi& system, const std::string& path);
void center_form(SystemApi& system, FormGeometry& form);
bool no_window_titled(SystemApi& system, const std::string& title);
// False when this platform finds a scene already running by its window title and that window exists.
bool no_scene_window(SystemApi& system);
// The Windows directory ending in the path separator.
std::string windows_directory(SystemApi& system);
// The per-user folder for the files the Windows directory refuses, ending in the path separator; empty
// when the platform has none.
std::string per_user_directory(SystemApi& system);

}  // namespace kolvane
