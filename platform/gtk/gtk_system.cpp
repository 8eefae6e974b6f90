// The settings program's system services over GTK.
#include "platform/gtk/gtk_system.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/gtk/dialog_support.h"

namespace kolvane::gtk {

namespace {

gboolean wake_up(gpointer flag) {
    *static_cast<bool*>(flag) = true;
    return G_SOURCE_REMOVE;
}

const char* icon_for(MessageKind kind) {
    switch (kind) {
        case MessageKind::error: return "dialog-error";
        case MessageKind::warning: return "dialog-warning";
        case MessageKind::plain: break;
    }
    return nullptr;  // a plain box has no icon
}

}  // namespace

bool GtkSystem::gtk_ready() {
    if (tried_) return ready_;
    tried_ = true;
    // Window titles and the keyboard layout are read from X, so GTK must draw on X too.
    gdk_set_allowed_backends("x11");
    g_set_prgname(settings_program_name);
    ready_ = gtk_init_check(nullptr, nullptr) != FALSE;
    return ready_;
}

void GtkSystem::pop_window(GtkWindow* window) {
    const auto found = std::find(windows_.rbegin(), windows_.rend(), window);
    if (found != windows_.rend()) windows_.erase(std::next(found).base());
}

void GtkSystem::pump_events(std::int32_t timeout_ms) {
    if (!ready_) {
        sdl::LinuxSystem::pump_events(timeout_ms);
        return;
    }
    bool delivered = false;
    while (gtk_events_pending()) {
        gtk_main_iteration_do(FALSE);
        delivered = true;
    }
    if (delivered || timeout_ms <= 0) return;
    // Nothing pending: sleep in GLib's wait until something arrives or the time is up.
    bool woken = false;
    const guint timer = g_timeout_add(static_cast<guint>(timeout_ms), wake_up, &woken);
    g_main_context_iteration(nullptr, TRUE);
    if (!woken) g_source_remove(timer);
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

void GtkSystem::message_box(const std::string& text, const std::string& title, MessageKind kind) {
    std::string lines = display_text(text);
    for (char& c : lines)
        if (c == '\r') c = '\n';
    // The log keeps every message, as the scene program's does.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), lines.c_str());
    if (!gtk_ready()) return;
    GtkWidget* box = gtk_message_dialog_new(top_window(), GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_OK, "%s",
                                            lines.c_str());
    gtk_window_set_title(GTK_WINDOW(box), display_text(title).c_str());
    // GTK 3 message dialogs show no icon of their own any more; the kind's icon goes before the text.
    if (const char* icon = icon_for(kind)) {
        GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(box));
        GtkWidget* row = gtk_widget_get_parent(area);
        if (row && GTK_IS_BOX(row)) {
            GtkWidget* image = gtk_image_new_from_icon_name(icon, GTK_ICON_SIZE_DIALOG);
            gtk_widget_set_valign(image, GTK_ALIGN_START);
            gtk_box_pack_start(GTK_BOX(row), image, FALSE, FALSE, 0);
            gtk_box_reorder_child(GTK_BOX(row), image, 0);
            gtk_widget_show(image);
        }
    }
    gtk_window_set_position(GTK_WINDOW(box), top_window() ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
    push_window(GTK_WINDOW(box));
    gtk_dialog_run(GTK_DIALOG(box));
    pop_window(GTK_WINDOW(box));
    gtk_widget_destroy(box);
}

bool GtkSystem::ask_yes_no(const std::string& text, const std::string& title) {
    std::string lines = display_text(text);
    for (char& c : lines)
        if (c == '\r') c = '\n';
    std::fprintf(stderr, "%s: %s\n", title.c_str(), lines.c_str());
    if (!gtk_ready()) return false;
    GtkWidget* box = gtk_message_dialog_new(top_window(), GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO,
                                            "%s", lines.c_str());
    gtk_window_set_title(GTK_WINDOW(box), display_text(title).c_str());
    gtk_window_set_position(GTK_WINDOW(box), top_window() ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
    push_window(GTK_WINDOW(box));
    const bool yes = gtk_dialog_run(GTK_DIALOG(box)) == GTK_RESPONSE_YES;
    pop_window(GTK_WINDOW(box));
    gtk_widget_destroy(box);
    return yes;
}

std::string sibling_program(SystemApi& system, const char* name) { return system.program_folder() + name; }

int exec_sibling(SystemApi& system, const char* name, const std::vector<std::string>& args) {
    const std::string path = sibling_program(system, name);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr);
    execv(path.c_str(), argv.data());
    const int error = errno;
    std::fprintf(stderr, "%s: cannot start %s: %s\n", settings_program_name, path.c_str(), std::strerror(error));
    return exit_sibling_missing;
}

}  // namespace kolvane::gtk
