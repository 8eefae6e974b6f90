// The configuration window: the title sound, the stretched title picture, and what its five buttons open.
#include "platform/win32/configuration_form.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <array>
#include <initializer_list>

#include "app/app.h"
#include "platform/win32/about_form.h"
#include "platform/win32/options_form.h"
#include "platform/win32/resource.h"
#include "platform/win32/resource_pictures.h"
#include "platform/win32/scene_run.h"

namespace kolvane::win32 {

namespace {

constexpr std::array configuration_tips{
    ToolTip{IDC_CFG_COMMAND7, " Click here to change the settings for this screen saver "},
    ToolTip{IDC_CFG_COMMAND6, " Click here to preview the screen saver! "},
    ToolTip{IDC_CFG_COMMAND3, " Click here to learn about other Dravik Software products "},
    ToolTip{IDC_CFG_COMMAND2, " Click here to learn more about this screen saver "},
    ToolTip{IDC_CFG_COMMAND4, " Click here to exit "},
};

// A control's rectangle in its dialog's client pixels.
RECT client_rect_of(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Places a row of buttons side by side across [left, right), keeping their height and gaps.
void lay_out_row(HWND dialog, std::initializer_list<int> ids, LONG left, LONG right, LONG top) {
    const LONG count = static_cast<LONG>(ids.size());
    const RECT first = client_rect_of(dialog, GetDlgItem(dialog, *ids.begin()));
    const RECT second = client_rect_of(dialog, GetDlgItem(dialog, *(ids.begin() + 1)));
    const LONG gap = second.left - first.right;
    const LONG height = first.bottom - first.top;
    const LONG width = (right - left - gap * (count - 1)) / count;
    LONG x = left;
    LONG n = 0;
    for (const int id : ids) {
        const LONG w = ++n == count ? right - x : width;  // the last one takes what rounding left over
        MoveWindow(GetDlgItem(dialog, id), x, top, w, height, FALSE);
        x += w + gap;
    }
}

}  // namespace

ConfigurationForm::ConfigurationForm(App& app, Win32System& system, KeyboardLayout& layout, HINSTANCE instance)
    : DialogWindow(instance, IDD_CONFIGURATION), app_(app), system_(system), layout_(layout), instance_(instance) {}

bool ConfigurationForm::on_init() {
    geometry_.emplace(window(), system_);
    logic_.emplace(system_, app_.platform.store, app_.settings, app_.scene.run, *this, *geometry_);
    title_ = ResourcePictures().picture("title");
    size_title_picture();
    tool_tips_ = add_tool_tips(window(), configuration_tips);
    logic_->Form_Load();
    return true;
}

void ConfigurationForm::size_title_picture() {
    // The picture is 4800 x 3600 twips at any resolution; the rows of buttons and the window follow it.
    HWND dialog = window();
    HWND picture = item(IDC_CFG_IMAGE1);
    const RECT old_place = client_rect_of(dialog, picture);
    const RECT bottom_row = client_rect_of(dialog, item(IDC_CFG_COMMAND3));
    const auto width = static_cast<LONG>(4800.0 / system_.twips_per_pixel_x() + 0.5);
    const auto height = static_cast<LONG>(3600.0 / system_.twips_per_pixel_y() + 0.5);
    const RECT place{old_place.left, old_place.top, old_place.left + width, old_place.top + height};
    MoveWindow(picture, place.left, place.top, width, height, FALSE);
    const RECT top_row = client_rect_of(dialog, item(IDC_CFG_COMMAND7));
    lay_out_row(dialog, {IDC_CFG_COMMAND7, IDC_CFG_COMMAND6}, place.left, place.right, top_row.top);
    lay_out_row(dialog, {IDC_CFG_COMMAND3, IDC_CFG_COMMAND2, IDC_CFG_COMMAND4}, place.left, place.right,
                bottom_row.top + (place.bottom - old_place.bottom));
    RECT frame{};
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left + (place.right - old_place.right),
                 frame.bottom - frame.top + (place.bottom - old_place.bottom), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR ConfigurationForm::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wparam) != WA_INACTIVE && logic_ && !unloaded_) logic_->Form_Activate();
            return FALSE;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            if (item.CtlID != IDC_CFG_IMAGE1) return FALSE;
            // The picture fills its control, whatever the control's size in pixels at this resolution.
            FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
            if (title_) draw_picture(item.hDC, *title_, item.rcItem);
            return TRUE;
        }
        case WM_CLOSE:
            unload();
            return TRUE;
        case WM_COMMAND: {
            if (HIWORD(wparam) != BN_CLICKED || !logic_) return FALSE;
            switch (LOWORD(wparam)) {
                case IDC_CFG_COMMAND7: logic_->Command7_Click(); return TRUE;
                case IDC_CFG_COMMAND6: logic_->Command6_Click(); return TRUE;
                case IDC_CFG_COMMAND3: logic_->Command3_Click(); return TRUE;
                case IDC_CFG_COMMAND2: logic_->Command2_Click(); return TRUE;
                case IDC_CFG_COMMAND4: logic_->Command4_Click(); return TRUE;
                case IDOK:      // Enter away from a button, and Escape: the window has no default or cancel button
                case IDCANCEL:
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        default:
            return FALSE;
    }
}

void ConfigurationForm::set_caption(std::string_view caption) { SetWindowTextA(window(), std::string(caption).c_str()); }

void ConfigurationForm::play_sound_loop(const std::string& path) {
    sndPlaySoundA(path.c_str(), SND_ASYNC | SND_LOOP);
}

void ConfigurationForm::stop_sound() {
    // Any other sound ends the loop; this name is the one the window has always used.
    sndPlaySoundA("1", SND_ASYNC);
}

void ConfigurationForm::show_options() {
    OptionsForm form(app_, layout_, instance_);
    form.run_modal(window());
}

void ConfigurationForm::show_about() {
    AboutForm form(app_, instance_);
    form.run_modal(window());
}

void ConfigurationForm::run_test_scene() {
    // The window waits, unusable, while the scene covers the screen; then it takes the focus back.
    EnableWindow(window(), FALSE);
    run_scene_on_screen(app_, system_, instance_);
    EnableWindow(window(), TRUE);
    system_.set_modeless_dialog(window());
    SetForegroundWindow(window());
}

bool ConfigurationForm::shell_open(const std::string& target) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(window(), nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

void ConfigurationForm::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (logic_) logic_->Form_Unload();
    end();
}

int run_configuration_window(App& app, Win32System& system, KeyboardLayout& layout, HINSTANCE instance) {
    ConfigurationForm form(app, system, layout, instance);
    HWND dialog = form.create_modeless(nullptr);
    if (!dialog) return 1;
    system.set_modeless_dialog(dialog);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    MSG msg;
    // The window's end is the program's end: the loop stops as soon as it is gone.
    while (form.window() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (form.window() && IsDialogMessageA(form.window(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    system.set_modeless_dialog(nullptr);
    return 0;
}

}  // namespace kolvane::win32
