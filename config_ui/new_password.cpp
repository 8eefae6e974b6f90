// Set-password logic.
#include "config_ui/new_password.h"

#include "password/password_codec.h"
#include "password/password_forms.h"

namespace kolvane {

NewPasswordOutcome new_password_ok(SystemApi& system, SettingsStore& store, Settings& settings,
                                   KeyboardLayout& layout, std::string& new_password, std::string& confirm_password) {
    new_password = normalize_password(layout, new_password);
    confirm_password = normalize_password(layout, confirm_password);
    if (new_password != confirm_password) {
        system.message_box(mismatch_text, mismatch_title, MessageKind::error);
        return NewPasswordOutcome::mismatch;
    }
    if (new_password.size() > max_password_length) {
        system.message_box(too_long_text, too_long_title, MessageKind::warning);
        return NewPasswordOutcome::too_long;
    }
    const std::string stored = encode_password_text(new_password);
    if (!store.save(app_name, config_section, password_key, stored)) {
        system.message_box(unsaved_password_text, too_long_title, MessageKind::error);
        return NewPasswordOutcome::not_saved;
    }
    settings.plain_password = new_password;
    settings.stored_password = stored;
    system.pump_events(0);
    return NewPasswordOutcome::saved;
}

bool new_password_convertible(SystemApi& system, const TypedPassword& new_password,
                              const TypedPassword& confirm_password) {
    if (new_password.convertible() && confirm_password.convertible()) return true;
    system.message_box(unconvertible_text, too_long_title, MessageKind::warning);
    return false;
}

}  // namespace kolvane
