// The set-password dialog's logic: the checks on what was typed and the save of the new password.
#pragma once
#include <string>

#include "password/password_forms.h"
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
inline constexpr const char* unconvertible_text =
    "The new password has characters that cannot be kept: use letters, digits and signs of the Western "
    "European alphabet only. Please type it again.";
inline constexpr const char* unsaved_password_text =
    "The new password could not be saved, so the old one is still in force. Check that the settings can be "
    "written, then try again.";

enum class NewPasswordOutcome { unconvertible, mismatch, too_long, not_saved, saved };

// The boxes as typed, checked before anything else: a character the stored form cannot hold refuses
// the entry with its message (the boxes keep what was typed). True when both boxes can be kept.
bool new_password_convertible(SystemApi& system, const TypedPassword& new_password,
                              const TypedPassword& confirm_password);

// OK, once new_password_convertible passed: normalises both boxes (they keep the normalised texts),
// checks them, stores the scrambled form under "misc" and only then puts the password in force. Failures
// (a store that refused the value included) show their message box and leave the dialog open.
NewPasswordOutcome new_password_ok(SystemApi& system, SettingsStore& store, Settings& settings,
                                   KeyboardLayout& layout, std::string& new_password, std::string& confirm_password);

}  // namespace kolvane
