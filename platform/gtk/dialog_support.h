// What the GTK dialogs share: mnemonics, display text, pictures, signal hook-up, modal runs, geometry in twips, list boxes.
#pragma once
#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <string_view>

#include "password/password_forms.h"
#include "ports/form_geometry.h"
#include "ports/list_view.h"
#include "ports/system_api.h"

namespace kolvane::gtk {

class GtkSystem;

// "&Options" as GTK marks a mnemonic, "_Options": an underscore of the text is doubled and "&&" is
// a plain "&".
std::string mnemonic_text(std::string_view text);
// Text as the engine holds it (UTF-8, or the Western code page of files written on Windows) as
// the UTF-8 GTK shows.
std::string display_text(std::string_view bytes);
// Typed text (UTF-8) back in the Western code page the engine keeps passwords in.
std::string engine_text(std::string_view utf8);
// A password box's text in that code page, with the characters it lacks listed.
TypedPassword typed_password(std::string_view utf8);

// A picture file (BMP, PNG or JPEG) within the scene's bounds; with `keyed` the key colour 0xFF00FF is
// transparent. nullptr when it cannot be read or is too large.
GdkPixbuf* load_picture(const std::string& path, bool keyed);

// Runs `action` on a signal whose handler returns nothing (clicked, map, row-activated, ...). Every
// handler catches what the engine throws: nothing may unwind through GTK's C frames.
void on_signal(gpointer instance, const char* signal, std::function<void()> action);
// Runs `action` on a key press; true from it stops the key there.
void on_key_press(GtkWidget* widget, std::function<bool(const GdkEventKey&)> action);
// Runs body and reports anything thrown on standard error.
void guarded(const char* where, const std::function<void()>& body);

// A push button with a mnemonic caption and a tool tip (texts exactly as given, blanks included).
GtkWidget* text_button(std::string_view caption, const char* tip);
// A label of plain text, aligned to the left unless told otherwise.
GtkWidget* plain_label(std::string_view text, float xalign = 0.0f);

// One dialog window of the program: built by its form, then run modally over a parent (or alone)
// until the form ends it. The title-bar close goes to close_requested().
class Form {
public:
    explicit Form(GtkSystem& system);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    GtkWindow* window() const { return GTK_WINDOW(window_); }

protected:
    // Shows the window over `parent` (modal to it, centred on it unless the form placed itself) or
    // alone, and returns once end() was called.
    void run_modal(GtkWindow* parent, bool centre_on_parent = true);
    void end();
    bool ended() const { return ended_; }
    // The window's close button; the default ends the run.
    virtual void close_requested() { end(); }

    GtkSystem& system_;
    GtkWidget* window_;

private:
    GMainLoop* loop_ = nullptr;
    bool ended_ = false;
};

// The window's place and size as the engine measures forms: in twips, at the screen's twips per
// pixel; GTK's logical pixels are `scale` device pixels each.
class WindowGeometry : public FormGeometry {
public:
    WindowGeometry(GtkWindow* window, SystemApi& system) : window_(window), system_(system) {}
    float width_twips() const override;
    float height_twips() const override;
    void move_to_twips(float left, float top) override;

private:
    // The window's size in device pixels, measured before it is first shown too.
    void device_size(int& width, int& height) const;
    int scale() const;
    GtkWindow* window_;
    SystemApi& system_;
};

// A list box of text lines: a tree view with one column over a list store that keeps each line as
// it was added (for the engine) beside its display text (for GTK).
class TreeListView : public ListView {
public:
    explicit TreeListView(bool several_selectable);
    ~TreeListView() override;
    TreeListView(const TreeListView&) = delete;
    TreeListView& operator=(const TreeListView&) = delete;
    // The list in its scrolled frame, for packing.
    GtkWidget* widget() const { return scrolled_; }
    GtkTreeView* tree() const { return GTK_TREE_VIEW(tree_); }

    int count() override;
    std::string line(int index) override;
    bool selected(int index) override;
    int current() override;
    void add(const std::string& text) override;
    void remove(int index) override;
    void clear() override;
    void clear_selection() override;

private:
    bool nth(int index, GtkTreeIter& iter);
    GtkListStore* store_;
    GtkWidget* tree_;
    GtkWidget* scrolled_;
};

}  // namespace kolvane::gtk
