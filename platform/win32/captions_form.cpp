// The captions dialog: Enter in the text box adds the line, the title-bar close cancels.
#include "platform/win32/captions_form.h"

#include <array>

#include "app/app.h"
#include "platform/win32/password_dialogs.h"
#include "platform/win32/resource.h"

namespace kolvane::win32 {

namespace {

constexpr std::array caption_tips{
    ToolTip{IDC_CAP_LIST1, " This is the list of captions that will be randomly displayed during the screen saver "},
    ToolTip{IDC_CAP_TEXT1, " Enter a new caption here "},
    ToolTip{IDC_CAP_COMMAND2, " Adds the entered text into the caption list "},
    ToolTip{IDC_CAP_COMMAND4, " Remove currently selected caption "},
    ToolTip{IDC_CAP_COMMAND3, " Exit without saving any changes "},
    ToolTip{IDC_CAP_COMMAND1, " Save any changes and exit "},
};

}  // namespace

CaptionsForm::CaptionsForm(App& app, HINSTANCE instance)
    : DialogWindow(instance, IDD_CAPTIONS), logic_(app.platform.system, app.startup, app.lists, *this) {}

bool CaptionsForm::on_init() {
    list_.attach(item(IDC_CAP_LIST1));
    tool_tips_ = add_tool_tips(window(), caption_tips);
    logic_.Form_Load();
    return true;
}

std::string CaptionsForm::entry_text() { return control_text(window(), IDC_CAP_TEXT1); }

INT_PTR CaptionsForm::handle(UINT message, WPARAM wparam, LPARAM) {
    if (message == WM_CLOSE) {
        logic_.Command3_Click();  // the title-bar close is Cancel
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wparam)) {
        case IDOK:
            // Enter: the dialog manager reports it as IDOK; in the text box it is the box's key press.
            if (GetFocus() == item(IDC_CAP_TEXT1)) logic_.Text1_KeyPress(VK_RETURN);
            return TRUE;
        case IDCANCEL:  // Escape does nothing
            return TRUE;
        case IDC_CAP_COMMAND2:
            if (HIWORD(wparam) == BN_CLICKED) logic_.Command2_Click();
            return TRUE;
        case IDC_CAP_COMMAND4:
            if (HIWORD(wparam) == BN_CLICKED) logic_.Command4_Click();
            return TRUE;
        case IDC_CAP_COMMAND3:
            if (HIWORD(wparam) == BN_CLICKED) logic_.Command3_Click();
            return TRUE;
        case IDC_CAP_COMMAND1:
            if (HIWORD(wparam) == BN_CLICKED) logic_.Command1_Click();
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace kolvane::win32
