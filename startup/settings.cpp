// The settings table, loading and saving the settings record, and reading the desktop password switch.
#include "startup/settings.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "password/password_codec.h"
#include "startup/numeric.h"

namespace kolvane {

namespace {

using T = SettingType;

constexpr std::array<SettingField, 14> table{{
    {"install_path", &Settings::install_path, T::folder, "empty", 0, {}},
    {"run_once", &Settings::run_once, T::whole, "0", 0, {}},
    {"frame_rate", &Settings::frame_rate, T::whole, "45", 1, {5, 200, 5, "frame-rate", "milliseconds per frame"}},
    {"save_as_wallpaper", &Settings::save_as_wallpaper, T::whole, "0", 2, {0, 1}},
    {"scroller_delay", &Settings::scroller_delay, T::whole, "10", 4,
     {1, 20, 1, "caption-frequency", "higher shows captions less often"}},
    {"scroller_active", &Settings::scroller_active, T::whole, "1", 3,
     {0, 1, 1, "captions", "the rising caption line"}},
    {"show_time", &Settings::show_time, T::flag, "1", 6, {0, 1, 1, "clock", "the clock in the top right corner"}},
    {"audio_seconds", &Settings::audio_seconds, T::whole, "15", 5, {1, 60}},
    {"cycle_speed_value", &Settings::cycle_speed_value, T::whole, "13", 7,
     {1, 20, 1, "scene-length", "how long each background stays"}},
    {"object_frequency", &Settings::object_frequency, T::whole, "5", 8,
     {1, 20, 1, "object-frequency", "higher launches objects less often"}},
    {"audio_on", &Settings::audio_on, T::flag, "1", 9, {0, 1, 1, "audio", "music and sound effects"}},
    {password_key, &Settings::stored_password, T::text, "", 12, {}},
    {"object_scale", &Settings::object_scale, T::whole, "0", 10,
     {0, 3, 1, "object-scale", "object size: 0 follows the screen, 1 to 3 times as drawn"}},
    {"large_backgrounds", &Settings::large_backgrounds, T::flag, "1", 11,
     {0, 1, 1, "large-backgrounds", "sharp backgrounds at the screen's shape on wide screens"}},
}};

// A whole number from its text; text that is not one (or is out of range) loads as the default.
template <typename Int>
Int whole_or_default(const std::string& text, const char* fallback) {
    const auto convert = [](const std::string& t) {
        if constexpr (sizeof(Int) == 2) return text_to_int16(t);
        else return text_to_int32(t);
    };
    if (auto value = convert(text)) return *value;
    return *convert(fallback);
}

// A stored number outside what the options offer would make the scene unusable (a frame period of
// minutes ignores every key); it loads as the nearest offered value, a switch as on or off.
template <typename Int>
Int within_offered_range(const SettingField& field, Int value) {
    const SettingOption& offered = field.option;
    if (offered.low >= offered.high) return value;
    if (offered.low == 0 && offered.high == 1) return static_cast<Int>(value != 0 ? 1 : 0);
    return static_cast<Int>(std::clamp<std::int32_t>(value, offered.low, offered.high));
}

void load_field(SettingsStore& store, char separator, const SettingField& field, Settings& s) {
    const std::string text = store.get(app_name, config_section, field.key, field.fallback);
    std::visit(
        [&](auto member) {
            auto& target = s.*member;
            using Held = std::remove_reference_t<decltype(target)>;
            if constexpr (std::is_same_v<Held, std::string>) {
                target = text;
                // A flag that is not a number reads as its default; the stored text is left alone.
                if (field.type == T::flag && !parse_number(text)) target = field.fallback;
                if (field.type == T::folder && text != "empty" && (text.empty() || text.back() != separator))
                    target += separator;
            } else {
                target = within_offered_range(field, whole_or_default<Held>(text, field.fallback));
            }
        },
        field.member);
}

// A flag keeps the text it was read as, but is written as the number it stands for: on or off as
// flag_on judges it, so a fraction that rounds to 0 ("0.4") is saved as the 1 it counts as.
std::string flag_text_for_save(const std::string& text) {
    const auto value = text_to_int32(text);
    if (value && (*value != 0) == flag_on(text)) return std::to_string(*value);
    return flag_on(text) ? "1" : "0";
}

std::string text_for_save(const SettingField& field, const Settings& s) {
    return std::visit(
        [&](auto member) -> std::string {
            const auto& value = s.*member;
            if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, std::string>)
                return field.type == T::flag ? flag_text_for_save(value) : value;
            else
                return std::to_string(value);
        },
        field.member);
}

}  // namespace

std::span<const SettingField> settings_table() { return table; }

const SettingField* find_setting(std::string_view key) {
    for (const SettingField& field : table)
        if (key == field.key) return &field;
    return nullptr;
}

bool flag_on(const std::string& text) {
    const auto value = parse_number(text);
    return value && *value != 0.0;
}

std::int32_t object_scale_for(std::int32_t setting, std::int32_t screen_width) {
    if (setting >= 1 && setting <= 3) return setting;
    if (screen_width < 1600) return 1;
    return screen_width <= 3200 ? 2 : 3;
}

std::string install_folder_message() {
    return std::string("Program Error!\r") + "<Installation Path Not Found!>\r" +
           "Please remove this program and then install it again.\r" + "\r" +
           "If the problem continues please contact Dravik Software at:\r" + "support@dravik-software.com";
}

bool load_settings(SettingsStore& store, SystemApi& system, Settings& settings) {
    // Reading has no effects, so the whole table is read before the install folder is judged.
    for (const SettingField& field : table) load_field(store, system.path_separator(), field, settings);
    if (settings.install_path == "empty") {
        system.message_box(install_folder_message(), install_folder_title, MessageKind::plain);
        return false;
    }
    decode_password(settings);
    return true;
}

namespace {

// The keys save_settings writes, in the order it writes them.
std::span<const SettingField* const> keys_in_save_order() {
    static const auto order = [] {
        std::array<const SettingField*, table.size()> keys{};
        std::size_t n = 0;
        for (const SettingField& field : table)
            if (field.save_position > 0) keys[n++] = &field;
        std::sort(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(n),
                  [](const SettingField* a, const SettingField* b) { return a->save_position < b->save_position; });
        return std::pair{keys, n};
    }();
    return {order.first.data(), order.second};
}

// Whether the record holds something else for the key than `before` did. The password is compared
// in plain form: a stored form written elsewhere need not be the one the encoder makes.
bool differs(const SettingField& field, const Settings& now, const Settings& before) {
    if (std::get_if<std::string Settings::*>(&field.member) &&
        std::get<std::string Settings::*>(field.member) == &Settings::stored_password)
        return now.plain_password != before.plain_password;
    return text_for_save(field, now) != text_for_save(field, before);
}

std::string stored_text(SettingsStore& store, const SettingField& field) {
    return store.get(app_name, config_section, field.key, field.fallback);
}

bool save_keys(SettingsStore& store, Settings& settings, const SettingsSnapshot* opened_on) {
    encode_password(settings);
    bool all_saved = true;
    const auto keys = keys_in_save_order();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const SettingField& field = *keys[i];
        const std::string text = text_for_save(field, settings);
        if (opened_on && !differs(field, settings, opened_on->settings)) {
            // Unchanged here: written only to put a text nobody else has touched into its saved form
            // (a frame rate of 1000 that loaded as 200).
            const std::string now = stored_text(store, field);
            if (i >= opened_on->stored.size() || now != opened_on->stored[i] || now == text) continue;
        }
        all_saved = store.save(app_name, config_section, field.key, text) && all_saved;
    }
    return all_saved;
}

}  // namespace

SettingsSnapshot snapshot_settings(SettingsStore& store, const Settings& settings) {
    SettingsSnapshot snapshot{settings, {}};
    for (const SettingField* field : keys_in_save_order()) snapshot.stored.push_back(stored_text(store, *field));
    return snapshot;
}

bool save_settings(SettingsStore& store, Settings& settings) { return save_keys(store, settings, nullptr); }

bool save_changed_settings(SettingsStore& store, Settings& settings, const SettingsSnapshot& opened_on) {
    return save_keys(store, settings, &opened_on);
}

void encode_password(Settings& settings) { settings.stored_password = encode_password_text(settings.plain_password); }

void decode_password(Settings& settings) { settings.plain_password = decode_password_text(settings.stored_password); }

std::string read_registry_value(RegistryReader& registry, std::uint32_t root, const std::string& sub_key,
                                const std::string& value_name) {
    if (root < 0x80000000u || root > 0x80000006u) return "";
    const auto data = registry.query(static_cast<RegistryRoot>(root - 0x80000000u), sub_key, value_name);
    if (!data) return "";
    std::string buffer = data->bytes;
    if (data->type == RegistryType::dword) {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < 4 && i < buffer.size(); ++i)
            number |= static_cast<std::uint32_t>(static_cast<unsigned char>(buffer[i])) << (8 * i);
        char digits[16];
        std::snprintf(digits, sizeof digits, "%03u", number);
        buffer = digits;
    }
    if (data->length == 0) return "";
    const std::size_t keep = data->length - 1;
    return buffer.substr(0, keep);
}

bool windows_password_enabled(RegistryReader& registry) {
    const std::string text =
        read_registry_value(registry, hkey_current_user, "Control Panel\\Desktop", "ScreenSaveUsePassword");
    return leading_number(text) != 0.0;
}

}  // namespace kolvane
