// The set-password dialog's logic: the checks on what was typed and the save of the new password.
#pragma once
#include <string>

#include "ports/keyboard_layout.h"
#include "ports/settings_store.h"
#include "ports/system_api.h"
#include "startup/settings.h"

namespace kolvane {

inline constexpr const char* new_password_caption = "Change  Password";
inline constexpr const char* new_password_label = "Change password for Kolvane";
inline constexpr const char* mismatch_text = "The new and confirmed passwords do not match. Please type them again.";
inline constexpr const char* mismatch_title = "Microsoft Windows";
inline constexpr const char* too_long_text = "New password too long\nMaximum length 30 chars";
inline constexpr const char* too_long_title = "Change Password";
inline constexpr std::size_t max_password_length = 30;

enum class NewPasswordOutcome { mismatch, too_long, saved };

// OK: normalises both boxes (they keep the normalised texts), checks them, and on success sets the
// password in force and stores its scrambled form under "misc". Failures show their message box.
NewPasswordOutcome new_password_ok(SystemApi& system, SettingsStore& store, Settings& settings,
                                   KeyboardLayout& layout, std::string& new_password, std::string& confirm_password);

}  // namespace kolvane
