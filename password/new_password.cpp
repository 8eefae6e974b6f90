// Set-password logic.
#include "password/new_password.h"

#include "password/password_codec.h"
#include "platform/keyboard_layout.h"
#include "startup/app.h"

namespace kolvane {

std::string normalize_password(KeyboardLayout& layout, std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const std::int16_t scan = layout.vk_key_scan(byte);
        const int key = scan % 256;  // the remainder keeps the dividend's sign, so -1 stays -1
        const std::uint32_t mapped =
            key < 0 ? 0u : layout.map_virtual_key(static_cast<std::uint32_t>(key), 2) & 0xFFFFu;
        // A character no key types would become a NUL that nobody can type again: keep it as it is.
        result += (mapped == 0 || mapped > 255) ? c : static_cast<char>(mapped);
    }
    return result;
}

NewPasswordOutcome new_password_ok(App& app, KeyboardLayout& layout, std::string& new_password,
                                   std::string& confirm_password) {
    new_password = normalize_password(layout, new_password);
    confirm_password = normalize_password(layout, confirm_password);
    if (new_password != confirm_password) {
        app.platform.system.message_box(mismatch_text, mismatch_title, 16);
        return NewPasswordOutcome::mismatch;
    }
    if (new_password.size() > max_password_length) {
        app.platform.system.message_box(too_long_text, too_long_title, 48);
        return NewPasswordOutcome::too_long;
    }
    app.settings.plain_password = new_password;
    encode_password(app.settings);
    app.platform.store.save(app_name, config_section, password_key, app.settings.stored_password);
    app.platform.system.pump_events(0);
    return NewPasswordOutcome::saved;
}

}  // namespace kolvane
