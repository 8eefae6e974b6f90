// The options dialog: scroll bars that follow every scroll code, check boxes, and the three dialogs it opens.
#include "platform/win32/options_form.h"

#include <algorithm>
#include <array>

#include "app/app.h"
#include "platform/win32/audio_files_form.h"
#include "platform/win32/captions_form.h"
#include "platform/win32/password_dialogs.h"
#include "platform/win32/resource.h"

namespace kolvane::win32 {

namespace {

constexpr std::array option_tips{
    ToolTip{IDC_OPT_CHECK1, " Place a check here to turn on any audio available during the screen saver "},
    ToolTip{IDC_OPT_CHECK2, " Place a check here to display the time of day during the screen saver "},
    ToolTip{IDC_OPT_CHECK3, " Place a check here to display any captions that are available during the screen saver "},
    ToolTip{IDC_OPT_CHECK4, " Place a check here to save a screen copy of the screen saver as wall paper when the "
                            "screen saver exits "},
    ToolTip{IDC_OPT_CHECK5, large_backgrounds_tip},
    ToolTip{IDC_OPT_SIZE, object_size_tip},
    ToolTip{IDC_OPT_COMMAND8,
            " Click here to edit the list of audio files that will play during the screen saver "},
    ToolTip{IDC_OPT_COMMAND7,
            " Click here to edit the list of captions that will be displayed during the screen saver "},
    ToolTip{IDC_OPT_COMMAND2, " Click here to change the password for this screen saver "},
    ToolTip{IDC_OPT_COMMAND1, " Click here to exit this menu "},
};

}  // namespace

int slider_control(OptionSlider slider) {
    switch (slider) {
        case OptionSlider::scene_length: return IDC_OPT_HSCROLL1;
        case OptionSlider::object_frequency: return IDC_OPT_HSCROLL4;
        case OptionSlider::caption_frequency: return IDC_OPT_HSCROLL3;
        case OptionSlider::audio_frequency: return IDC_OPT_HSCROLL2;
        case OptionSlider::frame_rate: break;
    }
    return IDC_OPT_HSCROLL5;
}

int check_control(OptionCheck check) {
    switch (check) {
        case OptionCheck::play_audio: return IDC_OPT_CHECK1;
        case OptionCheck::display_time: return IDC_OPT_CHECK2;
        case OptionCheck::display_captions: return IDC_OPT_CHECK3;
        case OptionCheck::save_as_wallpaper: return IDC_OPT_CHECK4;
        case OptionCheck::large_backgrounds: break;
    }
    return IDC_OPT_CHECK5;
}

OptionsForm::OptionsForm(App& app, KeyboardLayout& layout, HINSTANCE instance)
    : DialogWindow(instance, IDD_OPTIONS),
      app_(app),
      layout_(layout),
      instance_(instance),
      logic_(app.platform.system, app.platform.store, app.settings, *this) {}

bool OptionsForm::on_init() {
    audio_picture_ = button_picture("button_audio");
    captions_picture_ = button_picture("button_captions");
    password_picture_ = button_picture("button_password");
    ok_picture_ = button_picture("button_ok");
    tool_tips_ = add_tool_tips(window(), option_tips);
    for (const char* text : object_size_items)
        SendDlgItemMessageA(window(), IDC_OPT_SIZE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    logic_.Form_Load();
    return true;
}

const Image* OptionsForm::picture_of(int button_id) const {
    const std::optional<Image>* picture = nullptr;
    switch (button_id) {
        case IDC_OPT_COMMAND8: picture = &audio_picture_; break;
        case IDC_OPT_COMMAND7: picture = &captions_picture_; break;
        case IDC_OPT_COMMAND2: picture = &password_picture_; break;
        case IDC_OPT_COMMAND1: picture = &ok_picture_; break;
        default: return nullptr;
    }
    return *picture ? &**picture : nullptr;
}

bool OptionsForm::has_picture(int button_id) const { return picture_of(button_id) != nullptr; }

void OptionsForm::set_slider_range(OptionSlider slider, int low, int high) {
    SetScrollRange(item(slider_control(slider)), SB_CTL, low, high, TRUE);
}

void OptionsForm::set_slider(OptionSlider slider, int value) {
    SetScrollPos(item(slider_control(slider)), SB_CTL, value, TRUE);
}

int OptionsForm::slider(OptionSlider slider) { return GetScrollPos(item(slider_control(slider)), SB_CTL); }

void OptionsForm::set_check(OptionCheck check, bool ticked) {
    CheckDlgButton(window(), check_control(check), ticked ? BST_CHECKED : BST_UNCHECKED);
}

bool OptionsForm::check(OptionCheck check) { return IsDlgButtonChecked(window(), check_control(check)) == BST_CHECKED; }

void OptionsForm::set_choice(OptionChoice, int index) {
    SendDlgItemMessageA(window(), IDC_OPT_SIZE, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int OptionsForm::choice(OptionChoice) {
    // CB_ERR (-1) when nothing is chosen, which the dialog's logic takes as no change.
    return static_cast<int>(SendDlgItemMessageA(window(), IDC_OPT_SIZE, CB_GETCURSEL, 0, 0));
}

void OptionsForm::show_audio_files() {
    AudioFilesForm form(app_, instance_);
    form.run_modal(window());
}

void OptionsForm::show_captions() {
    CaptionsForm form(app_, instance_);
    form.run_modal(window());
}

void OptionsForm::show_new_password() { show_new_password_dialog(app_, layout_, instance_, window()); }

void OptionsForm::unload() {
    // Ok and the title-bar close both end here; the engine writes the controls back before the dialog goes.
    if (unloaded_ || !logic_.Form_Unload()) return;  // a failed save keeps the dialog open
    unloaded_ = true;
    end();
}

void OptionsForm::scrolled(HWND bar, int code, int track) {
    // Small and large changes are both one step; the thumb follows dragging as well as its release.
    int low = 0;
    int high = 0;
    GetScrollRange(bar, SB_CTL, &low, &high);
    int position = GetScrollPos(bar, SB_CTL);
    switch (code) {
        case SB_LINELEFT:
        case SB_PAGELEFT: --position; break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT: ++position; break;
        case SB_LEFT: position = low; break;
        case SB_RIGHT: position = high; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: position = track; break;
        default: return;
    }
    SetScrollPos(bar, SB_CTL, std::clamp(position, low, high), TRUE);
}

INT_PTR OptionsForm::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_HSCROLL:
            if (lparam) scrolled(reinterpret_cast<HWND>(lparam), LOWORD(wparam), HIWORD(wparam));
            return TRUE;
        case WM_DRAWITEM: {
            const auto& drawn = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            if (drawn.CtlType != ODT_BUTTON) return FALSE;
            draw_picture_button(drawn, picture_of(static_cast<int>(drawn.CtlID)));
            return TRUE;
        }
        case WM_CLOSE:
            unload();
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDOK:      // Enter and Escape do nothing: the dialog closes by Ok or its close box
                case IDCANCEL:
                    return TRUE;
                case IDC_OPT_COMMAND1:
                    if (HIWORD(wparam) == BN_CLICKED) logic_.Command1_Click();
                    return TRUE;
                case IDC_OPT_COMMAND2:
                    if (HIWORD(wparam) == BN_CLICKED) logic_.Command2_Click();
                    return TRUE;
                case IDC_OPT_COMMAND7:
                    if (HIWORD(wparam) == BN_CLICKED) logic_.Command7_Click();
                    return TRUE;
                case IDC_OPT_COMMAND8:
                    if (HIWORD(wparam) == BN_CLICKED) logic_.Command8_Click();
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace kolvane::win32
