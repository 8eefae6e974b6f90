// The two password dialogs on Windows: frm_checkpassword over the scene and frm_newpassword for /A and Options.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "password/password_forms.h"

#include "platform/win32/win32_platform.h"
#include "ports/form_geometry.h"
#include "ports/keyboard_layout.h"
#include "ports/system_api.h"

namespace kolvane {
struct App;
}  // namespace kolvane

namespace kolvane::win32 {

// A window's place in twips, for center_form.
class WindowGeometry : public FormGeometry {
public:
    WindowGeometry(HWND window, SystemApi& system) : window_(window), system_(system) {}
    float width_twips() const override;
    float height_twips() const override;
    void move_to_twips(float left, float top) override;

private:
    HWND window_;
    SystemApi& system_;
};

// The text of a dialog control.
std::string control_text(HWND dialog, int id);
// Wide text in the Western code page the password is kept in, with the characters it lacks listed
// (a character the page would only approximate, "ł" as "l", counts as lacking).
TypedPassword western_password(std::wstring_view text);
// A password box's text, read wide so the characters the code page lacks are known.
TypedPassword password_text(HWND dialog, int id);

// frm_checkpassword: modeless and top-most over the running scene, its keys through the pump's dialog manager.
class PasswordPrompt {
public:
    PasswordPrompt(Win32System& system, HINSTANCE instance) : system_(system), instance_(instance) {}
    ~PasswordPrompt();
    PasswordPrompt(const PasswordPrompt&) = delete;
    PasswordPrompt& operator=(const PasswordPrompt&) = delete;

    // Form_Load: centred, top-most unless this is a test run, events delivered once.
    void show(App& app);
    // The prompt unloads (after a correct entry, Cancel or its time limit).
    void close();
    HWND window() const { return dialog_; }

private:
    static INT_PTR CALLBACK dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
    INT_PTR handle(UINT message, WPARAM wparam);
    void Command1_Click();
    void Command2_Click();

    Win32System& system_;
    HINSTANCE instance_;
    App* app_ = nullptr;
    HWND dialog_ = nullptr;
};

// frm_newpassword as the only window of the process; returns once the dialog has unloaded. False when it
// was left after a save that failed: the password asked for is not in force.
bool run_new_password_dialog(App& app, Win32System& system, KeyboardLayout& layout, HINSTANCE instance);

// frm_newpassword shown modally over its owner (the options dialog's Password button).
void show_new_password_dialog(App& app, KeyboardLayout& layout, HINSTANCE instance, HWND owner);

// Creates frm_newpassword without running it (tests drive it with messages); null on failure.
HWND create_new_password_dialog(App& app, KeyboardLayout& layout, HINSTANCE instance, bool* save_failed = nullptr);

}  // namespace kolvane::win32
