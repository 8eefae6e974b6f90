// The settings record, the table of its stored keys, their load and save, and the desktop password switch.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "ports/registry_reader.h"
#include "ports/settings_store.h"
#include "ports/system_api.h"

namespace kolvane {

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
    std::int32_t object_scale = 0;     // 0 follows the screen's width; 1 to 3 draws objects that many times as large
    std::string large_backgrounds = "1";  // a flag: wide screens show the large pictures at their own shape
    std::string stored_password;       // scrambled form, key "misc"
    std::string plain_password;        // never stored
};

// How a key's text is held in the record.
enum class SettingType {
    folder,  // text that ends in the path separator once loaded
    whole,   // a whole number; text that is not a number loads as the default
    flag,    // the text read, when it is a number; compared as a number
    text,    // the text as stored
};

// The range and step the options offer for a key, and its option on the Linux command line.
struct SettingOption {
    std::int32_t low = 0;
    std::int32_t high = 0;
    std::int32_t step = 1;
    const char* name = nullptr;  // "frame-rate" is given as --frame-rate; a flag also has --no-NAME
    const char* help = nullptr;  // what the option does, for the usage text
};

using SettingMember = std::variant<std::string Settings::*, std::int32_t Settings::*, std::int16_t Settings::*>;

struct SettingField {
    const char* key;
    SettingMember member;
    SettingType type;
    const char* fallback;  // the default, as stored text
    int save_position;     // where save_settings writes it, from 1; 0 when it never writes it
    SettingOption option;  // low == high when the options offer no choice
};

// Every stored key, in the order load_settings reads them.
std::span<const SettingField> settings_table();
// The key's row; nullptr for a key that is not stored.
const SettingField* find_setting(std::string_view key);

// A flag held as text is on when its number is not 0.
bool flag_on(const std::string& text);

// The object scale a screen of this width shows: the setting's 1 to 3 as it is; its 0 gives 1 below
// 1600 pixels across, 2 up to 3200 and 3 above.
std::int32_t object_scale_for(std::int32_t setting, std::int32_t screen_width);

// Reads every key; false when the install folder is not set (the message has been shown and the
// program must end now).
bool load_settings(SettingsStore& store, SystemApi& system, Settings& settings);
// Writes every key the user edits, and the scrambled password. False when the store refused any of
// them (the others are still written).
[[nodiscard]] bool save_settings(SettingsStore& store, Settings& settings);
// The record a dialog opened on, and the texts the store held then for the keys save_settings writes.
struct SettingsSnapshot {
    Settings settings;
    std::vector<std::string> stored;  // in the order save_settings writes them
};
SettingsSnapshot snapshot_settings(SettingsStore& store, const Settings& settings);
// The same as save_settings for the keys whose values the dialog changed since `opened_on` (and those
// whose stored text nobody has touched since but is not in its saved form): what another program
// stored meanwhile under the others, a password included, is kept.
[[nodiscard]] bool save_changed_settings(SettingsStore& store, Settings& settings, const SettingsSnapshot& opened_on);

// stored_password from plain_password, and back.
void encode_password(Settings& settings);
void decode_password(Settings& settings);

inline constexpr std::uint32_t hkey_current_user = 0x80000001u;

// Text of a registry value, empty when anything fails; REG_DWORD as at least three digits. The root
// is a predefined root's handle value (0x80000000 to 0x80000006).
std::string read_registry_value(RegistryReader& registry, std::uint32_t root, const std::string& sub_key,
                                const std::string& value_name);
bool windows_password_enabled(RegistryReader& registry);

// The message shown when the install folder is not set, lines joined by carriage returns.
std::string install_folder_message();
inline constexpr const char* install_folder_title = "Kolvane Screen Saver";

}  // namespace kolvane
