// What the configuration dialogs share on Windows: running a dialog template, tool tips, pictures, list boxes.
#pragma once
#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ports/list_view.h"
#include "scene/render/bmp.h"

namespace kolvane::win32 {

// A dialog made from a template of the resource script, run modally with an owner or created modeless
// (the tests drive a modeless one with messages). A subclass handles its messages in handle().
class DialogWindow {
public:
    DialogWindow(HINSTANCE instance, int template_id) : instance_(instance), template_id_(template_id) {}
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Shows the dialog and returns when it has ended; the owner is disabled meanwhile.
    INT_PTR run_modal(HWND owner);
    // Creates the dialog (hidden unless the template says otherwise); null on failure.
    HWND create_modeless(HWND owner);
    HWND window() const { return dialog_; }
    HWND item(int id) const { return GetDlgItem(dialog_, id); }

protected:
    // WM_INITDIALOG, the window handle already known; false when it has put the focus somewhere itself.
    virtual bool on_init() = 0;
    // Every later message; returns what a dialog procedure returns.
    virtual INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam) = 0;
    // Ends a modal dialog or destroys a modeless one.
    void end(INT_PTR result = 0);

private:
    static INT_PTR CALLBACK dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

    HINSTANCE instance_;
    int template_id_;
    HWND dialog_ = nullptr;
    bool modal_ = false;
};

// One control's tip; the text is shown exactly, blanks included.
struct ToolTip {
    int control_id;
    const char* text;
};

// A tool-tip window for the dialog's controls, each tool the control itself (TTF_IDISHWND | TTF_SUBCLASS).
HWND add_tool_tips(HWND dialog, std::span<const ToolTip> tips);
// The tip a tool-tip window holds for a control; nothing when it has none.
std::optional<std::string> tool_tip_text(HWND tool_tips, HWND dialog, HWND control);

// A picture of the embedded resources with its key colour (magenta) replaced by the button face.
std::optional<Image> button_picture(std::string_view name);
// Draws a picture into a rectangle of a device context, stretched with halftoning when the sizes differ.
void draw_picture(HDC dc, const Image& picture, const RECT& target);
// A size of a picture made for 96 dots per inch, at the screen's resolution, so pictures grow with the text.
int scaled_to_screen(int pixels);
// An owner-drawn push button: the picture centred above its caption, or the caption alone.
void draw_picture_button(const DRAWITEMSTRUCT& item, const Image* picture);

// A list box as the engine's list of lines; one line or several selectable by the list box's style.
class ListBoxView : public ListView {
public:
    explicit ListBoxView(HWND list = nullptr) : list_(list) {}
    void attach(HWND list) { list_ = list; }
    int count() override;
    std::string line(int index) override;
    bool selected(int index) override;
    int current() override;
    void add(const std::string& text) override;
    void remove(int index) override;
    void clear() override;
    void clear_selection() override;

    bool several_selectable() const;
    // Recomputes how far the list scrolls sideways, for lines wider than the box.
    void update_extent();

private:
    HWND list_;
};

}  // namespace kolvane::win32
