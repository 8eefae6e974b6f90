// Loading and saving the settings record; reading the desktop password switch.
#include "startup/settings.h"

#include <cstdio>

#include "lists/lists.h"
#include "password/password_codec.h"
#include "startup/app.h"
#include "startup/numeric.h"

namespace kolvane {

namespace {

std::string get_key(App& app, const char* key, const char* fallback) {
    return app.platform.store.get(app_name, config_section, key, fallback);
}

// A value that is not a number loads as the key's default; the stored text is left alone.
std::int32_t get_int32(App& app, const char* key, const char* fallback) {
    if (auto value = text_to_int32(get_key(app, key, fallback))) return *value;
    return *text_to_int32(fallback);
}

std::int16_t get_int16(App& app, const char* key, const char* fallback) {
    if (auto value = text_to_int16(get_key(app, key, fallback))) return *value;
    return *text_to_int16(fallback);
}

std::string get_flag_text(App& app, const char* key, const char* fallback) {
    std::string text = get_key(app, key, fallback);
    if (!parse_number(text)) return fallback;
    return text;
}

void save_key(App& app, const char* key, const std::string& value) {
    app.platform.store.save(app_name, config_section, key, value);
}

// A flag keeps the text it was read as, but is written as the number it stands for.
std::string flag_text_for_save(const std::string& text) {
    if (auto value = text_to_int32(text)) return std::to_string(*value);
    return flag_on(text) ? "1" : "0";
}

}  // namespace

bool flag_on(const std::string& text) {
    const auto value = parse_number(text);
    return value && *value != 0.0;
}

std::string install_folder_message() {
    return std::string("Program Error!\r") + "<Installation Path Not Found!>\r" +
           "Please remove this program and then install it again.\r" + "\r" +
           "If the problem continues please contact Dravik Software at:\r" + "support@dravik-software.com";
}

bool load_settings(App& app) {
    Settings& s = app.settings;
    s.install_path = get_key(app, "install_path", "empty");
    if (s.install_path == "empty") {
        app.platform.system.message_box(install_folder_message(), install_folder_title, 0);
        return false;
    }
    const char sep = app.platform.system.path_separator();
    if (s.install_path.empty() || s.install_path.back() != sep) s.install_path += sep;
    s.run_once = get_int32(app, "run_once", "0");
    write_default_lists(app);
    s.frame_rate = get_int32(app, "frame_rate", "45");
    s.save_as_wallpaper = get_int16(app, "save_as_wallpaper", "0");
    s.scroller_delay = get_int32(app, "scroller_delay", "10");
    s.scroller_active = get_int32(app, "scroller_active", "1");
    s.show_time = get_flag_text(app, "show_time", "1");
    s.audio_seconds = get_int32(app, "audio_seconds", "15");
    s.cycle_speed_value = get_int32(app, "cycle_speed_value", "13");
    s.object_frequency = get_int32(app, "object_frequency", "5");
    s.audio_on = get_flag_text(app, "audio_on", "1");
    s.stored_password = get_key(app, password_key, "");
    decode_password(s);
    return true;
}

void save_settings(App& app) {
    const Settings& s = app.settings;
    save_key(app, "frame_rate", std::to_string(s.frame_rate));
    save_key(app, "save_as_wallpaper", std::to_string(s.save_as_wallpaper));
    save_key(app, "scroller_active", std::to_string(s.scroller_active));
    save_key(app, "scroller_delay", std::to_string(s.scroller_delay));
    save_key(app, "audio_seconds", std::to_string(s.audio_seconds));
    save_key(app, "show_time", flag_text_for_save(s.show_time));
    save_key(app, "cycle_speed_value", std::to_string(s.cycle_speed_value));
    save_key(app, "object_frequency", std::to_string(s.object_frequency));
    save_key(app, "audio_on", flag_text_for_save(s.audio_on));
    encode_password(app.settings);
    save_key(app, password_key, app.settings.stored_password);
}

std::string read_registry_value(RegistryReader& registry, std::uint32_t root, const std::string& sub_key,
                                const std::string& value_name) {
    if (root < 0x80000000u || root > 0x80000006u) return "";
    const auto data = registry.query(root, sub_key, value_name);
    if (!data) return "";
    std::string buffer = data->bytes;
    if (data->type == reg_dword) {
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
