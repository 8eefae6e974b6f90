// frm_configuration on Windows: the configuration window's template, title picture and view for the engine.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "config_ui/configuration_window.h"
#include "platform/win32/dialog_support.h"
#include "platform/win32/password_dialogs.h"
#include "platform/win32/win32_platform.h"
#include "ports/configuration_view.h"
#include "ports/keyboard_layout.h"

namespace kolvane {
struct App;
}

namespace kolvane::win32 {

class ConfigurationForm final : public DialogWindow, public ConfigurationView {
public:
    ConfigurationForm(App& app, Win32System& system, KeyboardLayout& layout, HINSTANCE instance);

    HWND tool_tips() const { return tool_tips_; }
    bool has_title_picture() const { return title_.has_value(); }
    const ConfigurationWindow* logic() const { return logic_ ? &*logic_ : nullptr; }

    // ConfigurationView
    void set_caption(std::string_view caption) override;
    void play_sound_loop(const std::string& path) override;
    void stop_sound() override;
    void show_options() override;
    void show_about() override;
    void run_test_scene() override;
    bool shell_open(const std::string& target) override;
    void unload() override;

private:
    bool on_init() override;
    INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam) override;
    void size_title_picture();

    App& app_;
    Win32System& system_;
    KeyboardLayout& layout_;
    HINSTANCE instance_;
    // Both need the window, so they are made when it exists.
    std::optional<WindowGeometry> geometry_;
    std::optional<ConfigurationWindow> logic_;
    std::optional<Image> title_;
    HWND tool_tips_ = nullptr;
    bool unloaded_ = false;
};

// The configuration window as the program's only top-level window (/C and no switch); returns the
// exit code once it has been closed.
int run_configuration_window(App& app, Win32System& system, KeyboardLayout& layout, HINSTANCE instance);

}  // namespace kolvane::win32
