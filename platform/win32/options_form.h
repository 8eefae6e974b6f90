// frm_options on Windows: the options dialog's template, its sliders, check boxes and picture buttons.
#pragma once
#include <windows.h>

#include <optional>

#include "config_ui/options_dialog.h"
#include "platform/win32/dialog_support.h"
#include "ports/keyboard_layout.h"
#include "ports/options_view.h"

namespace kolvane {
struct App;
}

namespace kolvane::win32 {

// The scroll bar of each slider and the check box of each check.
int slider_control(OptionSlider slider);
int check_control(OptionCheck check);

class OptionsForm final : public DialogWindow, public OptionsView {
public:
    OptionsForm(App& app, KeyboardLayout& layout, HINSTANCE instance);

    HWND tool_tips() const { return tool_tips_; }
    bool has_picture(int button_id) const;

    // OptionsView
    void set_slider_range(OptionSlider slider, int low, int high) override;
    void set_slider(OptionSlider slider, int value) override;
    int slider(OptionSlider slider) override;
    void set_check(OptionCheck check, bool ticked) override;
    bool check(OptionCheck check) override;
    void set_choice(OptionChoice choice, int index) override;
    int choice(OptionChoice choice) override;
    void show_audio_files() override;
    void show_captions() override;
    void show_new_password() override;
    void unload() override;

private:
    bool on_init() override;
    INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam) override;
    // A scroll code of WM_HSCROLL; `track` is the thumb's place while it is dragged.
    void scrolled(HWND bar, int code, int track);
    const Image* picture_of(int button_id) const;

    App& app_;
    KeyboardLayout& layout_;
    HINSTANCE instance_;
    OptionsDialog logic_;
    std::optional<Image> audio_picture_;
    std::optional<Image> captions_picture_;
    std::optional<Image> password_picture_;
    std::optional<Image> ok_picture_;
    HWND tool_tips_ = nullptr;
    bool unloaded_ = false;
};

}  // namespace kolvane::win32
