// What the GTK dialogs share.
#include "platform/gtk/dialog_support.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <exception>
#include <optional>

#include "platform/gtk/gtk_system.h"
#include "platform/sdl/text_painter.h"
#include "scene/render/picture_codec.h"

namespace kolvane::gtk {

namespace {

using Action = std::function<void()>;
using KeyAction = std::function<bool(const GdkEventKey&)>;

void delete_action(gpointer data, GClosure*) { delete static_cast<Action*>(data); }
void delete_key_action(gpointer data, GClosure*) { delete static_cast<KeyAction*>(data); }

// Connected swapped, so the action comes first whatever else the signal passes.
void run_action(gpointer data) { guarded("signal", *static_cast<Action*>(data)); }

gboolean run_key_action(GtkWidget*, GdkEventKey* event, gpointer data) {
    bool stop = false;
    guarded("key press", [&] { stop = (*static_cast<KeyAction*>(data))(*event); });
    return stop ? TRUE : FALSE;
}

gboolean close_request(GtkWidget*, GdkEvent*, gpointer data) {
    guarded("close", *static_cast<Action*>(data));
    return TRUE;  // the form decides whether and when its window goes
}

}  // namespace

std::string mnemonic_text(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&' && i + 1 < text.size()) {
            ++i;
            out += text[i] == '&' ? "&" : "_";
            if (text[i] != '&') out += text[i] == '_' ? "__" : std::string(1, text[i]);
        } else if (c == '_') {
            out += "__";
        } else {
            out += c;
        }
    }
    return out;
}

std::string display_text(std::string_view bytes) {
    if (g_utf8_validate(bytes.data(), static_cast<gssize>(bytes.size()), nullptr)) return std::string(bytes);
    std::string out;
    for (const char c : bytes) {
        char encoded[8] = {};
        const gint n = g_unichar_to_utf8(static_cast<gunichar>(sdl::western_to_unicode(static_cast<unsigned char>(c))),
                                         encoded);
        out.append(encoded, static_cast<std::size_t>(n));
    }
    return out;
}

std::string engine_text(std::string_view utf8) { return sdl::utf8_to_western(utf8); }

TypedPassword typed_password(std::string_view utf8) {
    TypedPassword typed;
    typed.text = sdl::utf8_to_western(utf8, &typed.unconvertible);
    return typed;
}

GdkPixbuf* load_picture(const std::string& path, bool keyed) {
    // Decoded by the scene's own reader, within its bounds: a header claiming a huge picture is
    // refused before anything is allocated for it, as the scene refuses it.
    const std::optional<Image> image = read_picture(path);
    if (!image) {
        std::fprintf(stderr, "%s: cannot read the picture %s (missing, damaged or too large)\n", settings_program_name,
                     path.c_str());
        return nullptr;
    }
    GdkPixbuf* picture = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, image->width, image->height);
    if (!picture) return nullptr;
    guchar* rows = gdk_pixbuf_get_pixels(picture);
    const std::size_t stride = static_cast<std::size_t>(gdk_pixbuf_get_rowstride(picture));
    for (int y = 0; y < image->height; ++y) {
        guchar* out = rows + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < image->width; ++x) {
            const std::uint32_t rgb = image->at(x, y);
            out[3 * x] = static_cast<guchar>(rgb >> 16);
            out[3 * x + 1] = static_cast<guchar>(rgb >> 8);
            out[3 * x + 2] = static_cast<guchar>(rgb);
        }
    }
    if (!keyed) return picture;
    GdkPixbuf* cut = gdk_pixbuf_add_alpha(picture, TRUE, 0xFF, 0x00, 0xFF);
    g_object_unref(picture);
    return cut;
}

void guarded(const char* where, const std::function<void()>& body) {
    try {
        body();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s failed: %s\n", settings_program_name, where, e.what());
    } catch (...) {
        std::fprintf(stderr, "%s: %s failed\n", settings_program_name, where);
    }
}

void on_signal(gpointer instance, const char* signal, std::function<void()> action) {
    g_signal_connect_data(instance, signal, G_CALLBACK(run_action), new Action(std::move(action)), delete_action,
                          G_CONNECT_SWAPPED);
}

void on_key_press(GtkWidget* widget, std::function<bool(const GdkEventKey&)> action) {
    g_signal_connect_data(widget, "key-press-event", G_CALLBACK(run_key_action), new KeyAction(std::move(action)),
                          delete_key_action, static_cast<GConnectFlags>(0));
}

GtkWidget* text_button(std::string_view caption, const char* tip) {
    GtkWidget* button = gtk_button_new_with_mnemonic(mnemonic_text(caption).c_str());
    if (tip) gtk_widget_set_tooltip_text(button, tip);
    return button;
}

GtkWidget* plain_label(std::string_view text, float xalign) {
    GtkWidget* label = gtk_label_new(display_text(text).c_str());
    gtk_label_set_xalign(GTK_LABEL(label), xalign);
    return label;
}

// ---- Form --------------------------------------------------------------------------------------

Form::Form(GtkSystem& system) : system_(system), window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)) {
    // Held here so that the window outlives GTK's own release of it until the form is done.
    g_object_ref_sink(window_);
    gtk_window_set_type_hint(GTK_WINDOW(window_), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
    g_signal_connect_data(window_, "delete-event", G_CALLBACK(close_request),
                          new Action([this] { close_requested(); }), delete_action, static_cast<GConnectFlags>(0));
}

Form::~Form() {
    if (loop_) g_main_loop_unref(loop_);
    gtk_widget_destroy(window_);
    g_object_unref(window_);
}

void Form::run_modal(GtkWindow* parent, bool centre_on_parent) {
    if (parent) {
        gtk_window_set_transient_for(window(), parent);
        gtk_window_set_modal(window(), TRUE);
        if (centre_on_parent) gtk_window_set_position(window(), GTK_WIN_POS_CENTER_ON_PARENT);
    }
    system_.push_window(window());
    gtk_widget_show_all(window_);
    gtk_window_present(window());
    if (!ended_) {
        loop_ = g_main_loop_new(nullptr, FALSE);
        g_main_loop_run(loop_);
        g_main_loop_unref(loop_);
        loop_ = nullptr;
    }
    system_.pop_window(window());
    gtk_widget_hide(window_);
}

void Form::end() {
    ended_ = true;
    if (loop_) g_main_loop_quit(loop_);
}

// ---- WindowGeometry ----------------------------------------------------------------------------

int WindowGeometry::scale() const { return std::max(1, gtk_widget_get_scale_factor(GTK_WIDGET(window_))); }

void WindowGeometry::device_size(int& width, int& height) const {
    if (gtk_widget_get_mapped(GTK_WIDGET(window_))) {
        gtk_window_get_size(window_, &width, &height);
    } else {
        GtkRequisition natural{};
        gtk_widget_get_preferred_size(GTK_WIDGET(window_), nullptr, &natural);
        width = natural.width;
        height = natural.height;
    }
    width *= scale();
    height *= scale();
}

float WindowGeometry::width_twips() const {
    int width = 0, height = 0;
    device_size(width, height);
    return static_cast<float>(width * system_.twips_per_pixel_x());
}

float WindowGeometry::height_twips() const {
    int width = 0, height = 0;
    device_size(width, height);
    return static_cast<float>(height * system_.twips_per_pixel_y());
}

void WindowGeometry::move_to_twips(float left, float top) {
    const double x = std::round(static_cast<double>(left) / system_.twips_per_pixel_x()) / scale();
    const double y = std::round(static_cast<double>(top) / system_.twips_per_pixel_y()) / scale();
    gtk_window_set_position(window_, GTK_WIN_POS_NONE);
    gtk_window_move(window_, static_cast<gint>(std::lround(x)), static_cast<gint>(std::lround(y)));
}

// ---- TreeListView ------------------------------------------------------------------------------

namespace {
enum Column { raw_column, shown_column };
}

TreeListView::TreeListView(bool several_selectable)
    : store_(gtk_list_store_new(2, G_TYPE_STRING, G_TYPE_STRING)),
      tree_(gtk_tree_view_new_with_model(GTK_TREE_MODEL(store_))),
      scrolled_(gtk_scrolled_window_new(nullptr, nullptr)) {
    g_object_unref(store_);  // the tree view holds it from here on
    GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
    gtk_tree_view_append_column(tree(),
                                gtk_tree_view_column_new_with_attributes("", renderer, "text", shown_column, nullptr));
    gtk_tree_view_set_headers_visible(tree(), FALSE);
    // A list box has no search pop-up of its own.
    gtk_tree_view_set_enable_search(tree(), FALSE);
    gtk_tree_selection_set_mode(gtk_tree_view_get_selection(tree()),
                                several_selectable ? GTK_SELECTION_MULTIPLE : GTK_SELECTION_SINGLE);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled_), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled_), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(scrolled_), tree_);
    // Held until the list goes, packed into a window or not.
    g_object_ref_sink(scrolled_);
}

TreeListView::~TreeListView() { g_object_unref(scrolled_); }

bool TreeListView::nth(int index, GtkTreeIter& iter) {
    return index >= 0 && gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(store_), &iter, nullptr, index) != FALSE;
}

int TreeListView::count() { return gtk_tree_model_iter_n_children(GTK_TREE_MODEL(store_), nullptr); }

std::string TreeListView::line(int index) {
    GtkTreeIter iter;
    if (!nth(index, iter)) return {};
    gchar* text = nullptr;
    gtk_tree_model_get(GTK_TREE_MODEL(store_), &iter, raw_column, &text, -1);
    std::string line = text ? text : "";
    g_free(text);
    return line;
}

bool TreeListView::selected(int index) {
    GtkTreeIter iter;
    return nth(index, iter) && gtk_tree_selection_iter_is_selected(gtk_tree_view_get_selection(tree()), &iter);
}

int TreeListView::current() {
    GtkTreePath* path = nullptr;
    gtk_tree_view_get_cursor(tree(), &path, nullptr);
    if (path) {
        const bool chosen = gtk_tree_selection_path_is_selected(gtk_tree_view_get_selection(tree()), path);
        const int index = gtk_tree_path_get_indices(path)[0];
        gtk_tree_path_free(path);
        if (chosen) return index;
    }
    // The cursor went elsewhere with Ctrl held: the first selected line is the one meant.
    for (int i = 0, n = count(); i < n; ++i)
        if (selected(i)) return i;
    return -1;
}

void TreeListView::add(const std::string& text) {
    GtkTreeIter iter;
    gtk_list_store_append(store_, &iter);
    gtk_list_store_set(store_, &iter, raw_column, text.c_str(), shown_column, display_text(text).c_str(), -1);
}

void TreeListView::remove(int index) {
    GtkTreeIter iter;
    if (!nth(index, iter)) return;
    GtkTreeSelection* selection = gtk_tree_view_get_selection(tree());
    const bool chosen = gtk_tree_selection_iter_is_selected(selection, &iter);
    gtk_list_store_remove(store_, &iter);
    // A single-selection tree view moves its selection to a neighbour of the removed line; a list
    // box is left with none, so a second Remove removes nothing.
    if (chosen && gtk_tree_selection_get_mode(selection) != GTK_SELECTION_MULTIPLE) clear_selection();
}

void TreeListView::clear() { gtk_list_store_clear(store_); }

void TreeListView::clear_selection() { gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(tree())); }

}  // namespace kolvane::gtk
