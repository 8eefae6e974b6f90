// The About box: texts set by the engine's Form_Load, Enter and Escape on OK, System Info and the web button.
#include "platform/win32/about_form.h"

#include <shellapi.h>

#include <array>
#include <vector>

#include "app/app.h"
#include "platform/win32/resource.h"

#ifndef KOLVANE_WEBSITE
#error "KOLVANE_WEBSITE names what the About box's web button opens; the top-level CMakeLists.txt defines it"
#endif

namespace kolvane::win32 {

namespace {

constexpr std::array about_tips{
    ToolTip{IDC_ABT_COMMAND1, "Visit The Dravik Software Website For The Latest Screen Savers And Multimedia Tools!"},
};

}  // namespace

AboutForm::AboutForm(App& app, HINSTANCE instance)
    : DialogWindow(instance, IDD_ABOUT),
      app_(app),
      website_(website_target(app.settings.install_path, KOLVANE_WEBSITE)),
      logic_(app.platform.system, app.platform.registry, *this, website_) {}

AboutForm::~AboutForm() {
    if (title_font_) DeleteObject(title_font_);
}

bool AboutForm::on_init() {
    logo_ = button_picture("logo");
    web_picture_ = button_picture("button_web");
    // The title in a larger bold face of the dialog's own font, so it follows the font's scaling.
    LOGFONTA font{};
    if (GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window(), WM_GETFONT, 0, 0)), sizeof font, &font)) {
        font.lfHeight = font.lfHeight * 3 / 2;
        font.lfWeight = FW_BOLD;
        title_font_ = CreateFontIndirectA(&font);
        SendDlgItemMessageA(window(), IDC_ABT_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(title_font_), FALSE);
    }
    SetDlgItemTextA(window(), IDC_ABT_LABEL6, KOLVANE_WEBSITE);
    tool_tips_ = add_tool_tips(window(), about_tips);
    logic_.Form_Load();
    // Enter and Escape both belong to OK, so it starts with the focus.
    SendMessageA(window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDOK)), TRUE);
    return false;
}

INT_PTR AboutForm::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            if (item.CtlID == IDC_ABT_COMMAND1) {
                draw_picture_button(item, web_picture_ ? &*web_picture_ : nullptr);
                return TRUE;
            }
            if (item.CtlID == IDC_ABT_IMAGE1) {
                FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
                if (logo_) {
                    // The logo at its own size for the screen's resolution, centred in its place.
                    const int width = scaled_to_screen(logo_->width);
                    const int height = scaled_to_screen(logo_->height);
                    const LONG left = item.rcItem.left + ((item.rcItem.right - item.rcItem.left) - width) / 2;
                    const LONG top = item.rcItem.top + ((item.rcItem.bottom - item.rcItem.top) - height) / 2;
                    draw_picture(item.hDC, *logo_, RECT{left, top, left + width, top + height});
                }
                return TRUE;
            }
            return FALSE;
        }
        case WM_CLOSE:
            logic_.cmdOK_Click();
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wparam) != BN_CLICKED) return FALSE;
            switch (LOWORD(wparam)) {
                case IDOK:      // the OK button and Enter
                case IDCANCEL:  // Escape
                    logic_.cmdOK_Click();
                    return TRUE;
                case IDC_ABT_SYSINFO:
                    logic_.cmdSysInfo_Click();
                    return TRUE;
                case IDC_ABT_COMMAND1:
                    logic_.Command1_Click();
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

void AboutForm::set_caption(std::string_view caption) { SetWindowTextA(window(), std::string(caption).c_str()); }

void AboutForm::set_title(std::string_view title) {
    SetDlgItemTextA(window(), IDC_ABT_TITLE, std::string(title).c_str());
}

void AboutForm::set_version(std::string_view version) {
    SetDlgItemTextA(window(), IDC_ABT_VERSION, std::string(version).c_str());
}

bool AboutForm::start_program(const std::string& path) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // The path is the program itself, blanks and all; it gets no arguments.
    std::vector<char> command_line(path.size() + 3, '\0');
    const std::string quoted = "\"" + path + "\"";
    std::copy(quoted.begin(), quoted.end(), command_line.begin());
    if (!CreateProcessA(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool AboutForm::shell_open(const std::string& target) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(window(), nullptr, target.c_str(), "", "", SW_SHOWNORMAL));
    return result > 32;
}

void AboutForm::unload() { end(IDOK); }

}  // namespace kolvane::win32
