// frm_About on Windows: the About box's template, its logo and web picture, and its view for the engine.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "config_ui/about_box.h"
#include "platform/win32/dialog_support.h"
#include "ports/about_view.h"

namespace kolvane {
struct App;
}

namespace kolvane::win32 {

class AboutForm final : public DialogWindow, public AboutView {
public:
    AboutForm(App& app, HINSTANCE instance);
    ~AboutForm() override;

    HWND tool_tips() const { return tool_tips_; }
    const std::string& website() const { return website_; }

    // AboutView
    void set_caption(std::string_view caption) override;
    void set_title(std::string_view title) override;
    void set_version(std::string_view version) override;
    bool start_program(const std::string& path) override;
    bool shell_open(const std::string& target) override;
    void unload() override;

private:
    bool on_init() override;
    INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam) override;

    App& app_;
    std::string website_;
    AboutBox logic_;
    std::optional<Image> logo_;
    std::optional<Image> web_picture_;
    HWND tool_tips_ = nullptr;
    HFONT title_font_ = nullptr;
};

}  // namespace kolvane::win32
