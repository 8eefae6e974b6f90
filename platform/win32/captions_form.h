// frm_captions on Windows: the captions dialog's template and its view for the engine.
#pragma once
#include <windows.h>

#include <string>

#include "config_ui/captions_dialog.h"
#include "platform/win32/dialog_support.h"
#include "ports/captions_view.h"

namespace kolvane {
struct App;
}

namespace kolvane::win32 {

class CaptionsForm final : public DialogWindow, public CaptionsView {
public:
    CaptionsForm(App& app, HINSTANCE instance);

    HWND tool_tips() const { return tool_tips_; }

    // CaptionsView
    ListView& captions() override { return list_; }
    std::string entry_text() override;
    void unload() override { end(); }

private:
    bool on_init() override;
    INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam) override;

    CaptionsDialog logic_;
    ListBoxView list_;
    HWND tool_tips_ = nullptr;
};

}  // namespace kolvane::win32
