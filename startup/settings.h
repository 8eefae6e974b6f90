// The settings record, its load and save over the per-user store, and the desktop password switch.
#pragma once
#include <cstdint>
#include <string>

#include "platform/settings_store.h"

namespace kolvane {

struct App;

inline constexpr const char* app_name = "Dravik Kolvane";
inline constexpr const char* config_section = "Config";
inline constexpr const char* password_key = "misc";

struct Settings {
    std::string install_path;          // always ends in the path separator after loading
    std::int32_t run_once = 0;
    std::int32_t frame_rate = 45;      // milliseconds per frame
    std::int16_t save_as_wallpaper = 0;
    std::int32_t scroller_delay = 10;
    std::int32_t scroller_active = 1;
    std::string show_time = "1";       // kept as the text read; compared as a number
    std::int32_t audio_seconds = 15;
    std::int32_t cycle_speed_value = 13;
    std::int32_t object_frequency = 5;
    std::string audio_on = "1";        // kept as the text read; compared as a number
    std::string stored_password;       // scrambled form, key "misc"
    std::string plain_password;        // never stored
};

// A flag held as text is on when its number is not 0.
bool flag_on(const std::string& text);

// Reads every key; false when the install folder is not set (the message has been shown and the
// program must end now).
bool load_settings(App& app);
void save_settings(App& app);

inline constexpr std::uint32_t hkey_current_user = 0x80000001u;

// Text of a registry value, empty when anything fails; REG_DWORD as at least three digits.
std::string read_registry_value(RegistryReader& registry, std::uint32_t root, const std::string& sub_key,
                                const std::string& value_name);
bool windows_password_enabled(RegistryReader& registry);

// The message shown when the install folder is not set, lines joined by carriage returns.
std::string install_folder_message();
inline constexpr const char* install_folder_title = "Kolvane Screen Saver";

}  // namespace kolvane
