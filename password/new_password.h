// The set-password dialog's logic: the unshifted form of what was typed, the checks and the save.
#pragma once
#include <string>
#include <string_view>

namespace kolvane {

struct App;
class KeyboardLayout;

inline constexpr const char* new_password_caption = "Change  Password";
inline constexpr const char* new_password_label = "Change password for Kolvane";
inline constexpr const char* mismatch_text = "The new and confirmed passwords do not match. Please type them again.";
inline constexpr const char* mismatch_title = "Microsoft Windows";
inline constexpr const char* too_long_text = "New password too long\nMaximum length 30 chars";
inline constexpr const char* too_long_title = "Change Password";
inline constexpr std::size_t max_password_length = 30;

// Every character replaced by what its key types without Shift on the active layout (letters come
// out upper-case). A character no key types keeps its own code.
std::string normalize_password(KeyboardLayout& layout, std::string_view text);

enum class NewPasswordOutcome { mismatch, too_long, saved };

// OK: normalises both boxes (they keep the normalised texts), checks them, and on success sets the
// password in force and stores its scrambled form under "misc". Failures show their message box.
NewPasswordOutcome new_password_ok(App& app, KeyboardLayout& layout, std::string& new_password,
                                   std::string& confirm_password);

}  // namespace kolvane
