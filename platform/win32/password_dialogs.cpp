// The password prompt over the scene and the set-password dialog, from the resource script's templates.
#include "platform/win32/password_dialogs.h"

#include <vector>

#include "app/app.h"
#include "config_ui/new_password.h"
#include "password/password_forms.h"
#include "platform/win32/resource.h"
#include "scene/password_prompt.h"
#include "startup/numeric.h"
#include "startup/system_services.h"

namespace kolvane::win32 {

namespace {

void use_star_for_password(HWND dialog, int id) {
    SendDlgItemMessageA(dialog, id, EM_SETPASSWORDCHAR, '*', 0);
}

void focus_control(HWND dialog, int id) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

int rounded_pixels(float twips, double twips_per_pixel) {
    return static_cast<int>(round_half_even(static_cast<double>(twips) / twips_per_pixel));
}

}  // namespace

float WindowGeometry::width_twips() const {
    RECT r{};
    GetWindowRect(window_, &r);
    return static_cast<float>((r.right - r.left) * system_.twips_per_pixel_x());
}

float WindowGeometry::height_twips() const {
    RECT r{};
    GetWindowRect(window_, &r);
    return static_cast<float>((r.bottom - r.top) * system_.twips_per_pixel_y());
}

void WindowGeometry::move_to_twips(float left, float top) {
    SetWindowPos(window_, nullptr, rounded_pixels(left, system_.twips_per_pixel_x()),
                 rounded_pixels(top, system_.twips_per_pixel_y()), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string control_text(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    const int length = control ? GetWindowTextLengthA(control) : 0;
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    if (control) GetWindowTextA(control, buffer.data(), length + 1);
    return std::string(buffer.data());
}

TypedPassword western_password(std::wstring_view text) {
    constexpr UINT western_code_page = 1252;
    TypedPassword typed;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A character beyond the basic plane comes as two halves and is one character lacking.
        const bool pair = IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
        char byte = '?';
        BOOL defaulted = FALSE;
        const int n = pair ? 0
                           : WideCharToMultiByte(western_code_page, WC_NO_BEST_FIT_CHARS, &text[i], 1, &byte, 1,
                                                 nullptr, &defaulted);
        if (n != 1 || defaulted) {
            typed.unconvertible.push_back(typed.text.size());
            byte = '?';
        }
        typed.text += byte;
        if (pair) ++i;
    }
    return typed;
}

TypedPassword password_text(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    const int length = control ? GetWindowTextLengthW(control) : 0;
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    if (control) GetWindowTextW(control, buffer.data(), length + 1);
    return western_password(buffer.data());
}

// frm_checkpassword

PasswordPrompt::~PasswordPrompt() { close(); }

void PasswordPrompt::show(App& app) {
    close();
    app_ = &app;
    // Created wide, so its box holds what a layout of any script types; the check decides what counts.
    dialog_ = CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_CHECKPASSWORD), nullptr, dialog_proc,
                                 reinterpret_cast<LPARAM>(this));
    if (!dialog_) return;
    system_.set_modeless_dialog(dialog_);
    WindowGeometry geometry(dialog_, system_);
    center_form(system_, geometry);
    if (app.scene.run.test_mode != 1) {
        // Top-most at its present place and size; the twips are converted back to pixels and rounded.
        const double tx = system_.twips_per_pixel_x();
        const double ty = system_.twips_per_pixel_y();
        RECT r{};
        GetWindowRect(dialog_, &r);
        SetWindowPos(dialog_, HWND_TOPMOST, rounded_pixels(static_cast<float>(r.left * tx), tx),
                     rounded_pixels(static_cast<float>(r.top * ty), ty),
                     rounded_pixels(static_cast<float>((r.right - r.left) * tx), tx),
                     rounded_pixels(static_cast<float>((r.bottom - r.top) * ty), ty), 0);
        system_.pump_events(0);
    }
    if (!dialog_) return;
    ShowWindow(dialog_, SW_SHOW);
    SetForegroundWindow(dialog_);
    focus_control(dialog_, IDC_CHECK_TEXT1);
}

void PasswordPrompt::close() {
    if (!dialog_) return;
    HWND dialog = dialog_;
    dialog_ = nullptr;
    if (system_.modeless_dialog() == dialog) system_.set_modeless_dialog(nullptr);
    DestroyWindow(dialog);
}

INT_PTR CALLBACK PasswordPrompt::dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        auto* self = reinterpret_cast<PasswordPrompt*>(lparam);
        self->dialog_ = dialog;
        SetWindowTextA(dialog, password_prompt_title);
        SetDlgItemTextA(dialog, IDC_CHECK_LABEL1, password_prompt_label);
        SetDlgItemTextA(dialog, IDC_CHECK_TEXT1, "");
        use_star_for_password(dialog, IDC_CHECK_TEXT1);
        return TRUE;
    }
    auto* self = reinterpret_cast<PasswordPrompt*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self || self->dialog_ != dialog) return FALSE;
    return self->handle(message, wparam);
}

INT_PTR PasswordPrompt::handle(UINT message, WPARAM wparam) {
    if (message == WM_CLOSE) {
        // The close box unloads the prompt as Cancel does.
        Command2_Click();
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wparam)) {
        case IDC_CHECK_COMMAND1:
            if (HIWORD(wparam) == BN_CLICKED) Command1_Click();
            return TRUE;
        case IDC_CHECK_COMMAND2:
            if (HIWORD(wparam) == BN_CLICKED) Command2_Click();
            return TRUE;
        case IDOK:
            // Enter: the text box swallows it and runs the check.
            if (GetFocus() == GetDlgItem(dialog_, IDC_CHECK_TEXT1)) Command1_Click();
            return TRUE;
        case IDCANCEL:  // Escape does nothing
            return TRUE;
        default:
            return FALSE;
    }
}

void PasswordPrompt::Command1_Click() {
    const TypedPassword typed = password_text(dialog_, IDC_CHECK_TEXT1);
    if (password_prompt_check(app_->scene, typed)) return;  // the engine has closed the prompt
    HWND dialog = dialog_;
    SetDlgItemTextA(dialog, IDC_CHECK_TEXT1, "");
    app_->platform.system.message_box(wrong_password_text, wrong_password_title, MessageKind::warning);
    if (dialog_ == dialog) focus_control(dialog, IDC_CHECK_TEXT1);
}

void PasswordPrompt::Command2_Click() { password_prompt_cancel(app_->scene); }

// frm_newpassword

namespace {

struct NewPasswordState {
    App* app;
    KeyboardLayout* layout;
    bool modal;  // shown by the options dialog; otherwise the only window of a /A run
    bool* save_failed = nullptr;  // set while the last OK could not store the password
};

// Unloads the dialog, whichever way it was opened.
void unload_new_password(HWND dialog, const NewPasswordState& state) {
    if (state.modal) EndDialog(dialog, 0);
    else DestroyWindow(dialog);
}

void OK_Click(HWND dialog, NewPasswordState& state) {
    // The boxes show the unshifted texts before any message about them.
    const TypedPassword typed_first = password_text(dialog, IDC_NEW_PASSWORD);
    const TypedPassword typed_second = password_text(dialog, IDC_NEW_PASSWORD2);
    App& app = *state.app;
    // A character the stored form cannot hold is refused before anything is changed.
    if (!new_password_convertible(app.platform.system, typed_first, typed_second)) return;
    std::string first = normalize_password(*state.layout, typed_first.text);
    std::string second = normalize_password(*state.layout, typed_second.text);
    SetDlgItemTextA(dialog, IDC_NEW_PASSWORD, first.c_str());
    SetDlgItemTextA(dialog, IDC_NEW_PASSWORD2, second.c_str());
    const NewPasswordOutcome outcome =
        new_password_ok(app.platform.system, app.platform.store, app.settings, *state.layout, first, second);
    if (state.save_failed && outcome == NewPasswordOutcome::not_saved) *state.save_failed = true;
    if (outcome != NewPasswordOutcome::saved) return;
    if (state.save_failed) *state.save_failed = false;
    unload_new_password(dialog, state);
}

INT_PTR CALLBACK new_password_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        SetWindowTextA(dialog, new_password_caption);
        SetDlgItemTextA(dialog, IDC_NEW_LABEL1, new_password_label);
        SetDlgItemTextA(dialog, IDC_NEW_PASSWORD, "");
        SetDlgItemTextA(dialog, IDC_NEW_PASSWORD2, "");
        use_star_for_password(dialog, IDC_NEW_PASSWORD);
        use_star_for_password(dialog, IDC_NEW_PASSWORD2);
        auto* state = reinterpret_cast<NewPasswordState*>(lparam);
        if (state->modal) {
            WindowGeometry geometry(dialog, state->app->platform.system);
            center_form(state->app->platform.system, geometry);
        }
        return TRUE;
    }
    auto* state = reinterpret_cast<NewPasswordState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!state) return FALSE;
    switch (message) {
        case WM_CLOSE:
            unload_new_password(dialog, *state);
            return TRUE;
        case WM_NCDESTROY:
            SetWindowLongPtrA(dialog, DWLP_USER, 0);
            delete state;
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDC_NEW_OK:
                    if (HIWORD(wparam) == BN_CLICKED) OK_Click(dialog, *state);
                    return TRUE;
                case IDC_NEW_CANCEL:
                    if (HIWORD(wparam) == BN_CLICKED) unload_new_password(dialog, *state);
                    return TRUE;
                case IDOK:      // Enter does nothing in this dialog
                case IDCANCEL:  // nor does Escape
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

HWND create_new_password_dialog(App& app, KeyboardLayout& layout, HINSTANCE instance, bool* save_failed) {
    auto* state = new NewPasswordState{&app, &layout, false, save_failed};
    // Wide dialogs: their boxes keep every character typed, and OK judges which can be stored.
    HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_NEWPASSWORD), nullptr, new_password_proc,
                                     reinterpret_cast<LPARAM>(state));
    if (!dialog) delete state;
    return dialog;
}

void show_new_password_dialog(App& app, KeyboardLayout& layout, HINSTANCE instance, HWND owner) {
    // The state lives until the dialog's last message, which deletes it.
    auto* state = new NewPasswordState{&app, &layout, true};
    if (DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_NEWPASSWORD), owner, new_password_proc,
                        reinterpret_cast<LPARAM>(state)) == -1)
        delete state;
}

bool run_new_password_dialog(App& app, Win32System& system, KeyboardLayout& layout, HINSTANCE instance) {
    bool save_failed = false;
    HWND dialog = create_new_password_dialog(app, layout, instance, &save_failed);
    if (!dialog) return true;
    system.set_modeless_dialog(dialog);
    WindowGeometry geometry(dialog, system);
    center_form(system, geometry);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    MSG msg;
    // Wide messages, so a character typed on any layout reaches the box whole.
    while (IsWindow(dialog) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    system.set_modeless_dialog(nullptr);
    return !save_failed;
}

}  // namespace kolvane::win32
