// The audio files dialog in GTK.
#include "platform/gtk/audio_files_form.h"

#include <fnmatch.h>
#include <unistd.h>

#include <algorithm>

#include "platform/gtk/gtk_system.h"

namespace kolvane::gtk {

namespace {

constexpr int preview_channel = 0;

gboolean chooser_filter(const GtkFileFilterInfo* info, gpointer data) {
    const char* name = info->display_name;
    return name && static_cast<const ChooserFiles*>(data)->matches(name) ? TRUE : FALSE;
}

std::string without_trailing_separator(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::string taken(gchar* text) {
    std::string copy = text ? text : "";
    g_free(text);
    return copy;
}

}  // namespace

// ---- ChooserFiles -------------------------------------------------------------------------------

void ChooserFiles::set_patterns(const std::string& pattern) {
    patterns_.clear();
    std::size_t start = 0;
    while (start <= pattern.size()) {
        const std::size_t end = std::min(pattern.find(';', start), pattern.size());
        if (end > start) patterns_.push_back(pattern.substr(start, end - start));
        start = end + 1;
    }
}

bool ChooserFiles::matches(const char* name) const {
    return std::any_of(patterns_.begin(), patterns_.end(),
                       [name](const std::string& p) { return fnmatch(p.c_str(), name, FNM_CASEFOLD) == 0; });
}

void ChooserFiles::refresh() {
    names_.clear();
    selected_.clear();
    current_ = -1;
    if (!real_folder_) return;
    if (GDir* dir = g_dir_open(folder_.c_str(), 0, nullptr)) {
        while (const gchar* name = g_dir_read_name(dir)) {
            // The chooser leaves hidden files out; so does the list.
            if (name[0] == '.' || !matches(name)) continue;
            const std::string path = folder_ + "/" + name;
            if (g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR)) names_.push_back(name);
        }
        g_dir_close(dir);
    }
    // The chooser's own order of names, so Add All adds them as they are seen.
    std::vector<std::pair<std::string, std::string>> keyed;
    for (const std::string& name : names_) {
        gchar* display = g_filename_display_name(name.c_str());
        keyed.emplace_back(taken(g_utf8_collate_key_for_filename(display, -1)), name);
        g_free(display);
    }
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 0; i < keyed.size(); ++i) names_[i] = keyed[i].second;
    GSList* chosen = gtk_file_chooser_get_filenames(chooser_);
    for (GSList* item = chosen; item; item = item->next) {
        const std::string path = static_cast<const char*>(item->data);
        const std::size_t slash = path.rfind('/');
        if (slash != std::string::npos && without_trailing_separator(path.substr(0, slash + 1)) == folder_)
            selected_.insert(path.substr(slash + 1));
    }
    g_slist_free_full(chosen, g_free);
}

void ChooserFiles::set_current(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto found = std::find(names_.begin(), names_.end(), name);
    current_ = found == names_.end() ? -1 : static_cast<int>(found - names_.begin());
}

std::string ChooserFiles::line(int index) {
    return index >= 0 && index < count() ? names_[static_cast<std::size_t>(index)] : std::string();
}

bool ChooserFiles::selected(int index) { return selected_.count(line(index)) != 0; }

void ChooserFiles::clear_selection() {
    gtk_file_chooser_unselect_all(chooser_);
    selected_.clear();
    current_ = -1;
}

// ---- AudioFilesForm -----------------------------------------------------------------------------

AudioFilesForm::AudioFilesForm(FormContext& context)
    : Form(context.system),
      chooser_(gtk_file_chooser_widget_new(GTK_FILE_CHOOSER_ACTION_OPEN)),
      location_enter_(gtk_button_new()),
      files_(GTK_FILE_CHOOSER(chooser_)),
      player_(context.audio, preview_channel),
      logic_(context.system, context.app.startup, context.app.lists, *this, &player_) {
    gtk_window_set_title(window(), audio_files_caption);
    gtk_window_set_resizable(window(), TRUE);

    gtk_file_chooser_set_select_multiple(chooser(), TRUE);
    gtk_file_chooser_set_local_only(chooser(), TRUE);
    gtk_widget_set_size_request(chooser_, 680, 300);
    on_signal(chooser_, "current-folder-changed", [this] {
        gchar* folder = gtk_file_chooser_get_current_folder(chooser());
        if (folder) files_.set_folder(without_trailing_separator(folder), true);
        else files_.set_folder(files_.folder(), false);  // the folder is kept for the next opening
        // A folder that cannot be listed: back to the start folder, as a drive without a medium is.
        if (folder && access(folder, R_OK | X_OK) != 0) folder_clicked_later(folder, 0);
        g_free(folder);
    });
    on_signal(chooser_, "selection-changed", [this] {
        // Only a click: the arrow keys move over folders without opening each.
        GdkEvent* event = gtk_get_current_event();
        const bool clicked = event && (event->type == GDK_BUTTON_PRESS || event->type == GDK_BUTTON_RELEASE);
        if (event) gdk_event_free(event);
        if (!clicked) return;
        GSList* chosen = gtk_file_chooser_get_filenames(chooser());
        const std::string path = chosen && !chosen->next ? static_cast<const char*>(chosen->data) : "";
        g_slist_free_full(chosen, g_free);
        gint double_click_ms = 400;
        g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &double_click_ms, nullptr);
        if (!path.empty() && g_file_test(path.c_str(), G_FILE_TEST_IS_DIR))
            folder_clicked_later(path, static_cast<guint>(std::max(double_click_ms, 0)));
    });
    on_signal(chooser_, "file-activated", [this] {
        files_.refresh();
        files_.set_current(taken(gtk_file_chooser_get_filename(chooser())));
        logic_.File1_DblClick();
    });
    // In a file chooser dialog, Enter in the location entry changes to the folder typed there (or
    // chooses the file), and Enter on the file list chooses its line: both activate their window's
    // default. This window has no default button of its own, so a hidden one does that here.
    gtk_widget_set_can_default(location_enter_, TRUE);
    gtk_widget_set_no_show_all(location_enter_, TRUE);
    on_signal(location_enter_, "activate", [this] { location_entered(); });

    GtkWidget* add_selected = text_button("Add &Selected File(s)", " Add the audio files that are currently selected ");
    GtkWidget* add_all = text_button("Add &All File(s)", " Add all audio files from this directory ");
    GtkWidget* remove = text_button("&Remove Selected File(s)", " Removes the selected audio files from the playback list ");
    GtkWidget* cancel = text_button("&Cancel", " Exit without saving changes ");
    GtkWidget* save = text_button("Save And &Exit", " Save any changes and exit ");
    on_signal(add_selected, "clicked", [this] {
        files_.refresh();
        logic_.Command1_Click();
    });
    on_signal(add_all, "clicked", [this] {
        files_.refresh();
        logic_.Command2_Click();
    });
    on_signal(remove, "clicked", [this] { logic_.Command5_Click(); });
    on_signal(cancel, "clicked", [this] { logic_.Command6_Click(); });
    on_signal(save, "clicked", [this] { logic_.Command3_Click(); });
    on_signal(list_.tree(), "row-activated", [this] { logic_.List2_DblClick(); });
    gtk_widget_set_tooltip_text(list_.widget(), "This is a list of music files to play during the screen saver ");
    gtk_widget_set_size_request(list_.widget(), 680, 150);

    // The two add buttons sit under the file list, in the chooser's own row beside its file type.
    GtkWidget* adds = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_box_pack_start(GTK_BOX(adds), add_selected, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(adds), add_all, FALSE, FALSE, 0);
    gtk_widget_show_all(adds);
    gtk_file_chooser_set_extra_widget(chooser(), adds);
    GtkWidget* bottom = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_box_pack_start(GTK_BOX(bottom), remove, FALSE, FALSE, 0);
    gtk_box_pack_end(GTK_BOX(bottom), save, FALSE, FALSE, 0);
    gtk_box_pack_end(GTK_BOX(bottom), cancel, FALSE, FALSE, 0);
    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_container_set_border_width(GTK_CONTAINER(column), 12);
    gtk_box_pack_start(GTK_BOX(column), plain_label("Double Click On A File To Preview It"), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), chooser_, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(column), plain_label("List of audio files to play during the screen saver:"), FALSE,
                       FALSE, 6);
    gtk_box_pack_start(GTK_BOX(column), list_.widget(), TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(column), bottom, FALSE, FALSE, 6);
    gtk_box_pack_start(GTK_BOX(column), location_enter_, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window_), column);
    gtk_window_set_default(window(), location_enter_);
}

AudioFilesForm::~AudioFilesForm() {
    if (clicked_source_) g_source_remove(clicked_source_);
}

void AudioFilesForm::folder_clicked_later(const std::string& folder, guint delay_ms) {
    clicked_folder_ = without_trailing_separator(folder);
    if (clicked_source_) g_source_remove(clicked_source_);
    clicked_source_ = g_timeout_add(delay_ms, folder_clicked, this);
}

gboolean AudioFilesForm::folder_clicked(gpointer data) {
    auto* form = static_cast<AudioFilesForm*>(data);
    form->clicked_source_ = 0;
    // Opened already (a double click), or readable after all: nothing more to do.
    const std::string& folder = form->clicked_folder_;
    if (folder != form->files_.folder() || access(folder.c_str(), R_OK | X_OK) != 0) form->logic_.Dir1_Click(folder);
    return G_SOURCE_REMOVE;
}

void AudioFilesForm::location_entered() {
    GtkWidget* focus = gtk_window_get_focus(window());
    if (!focus || !gtk_widget_is_ancestor(focus, chooser_)) return;
    if (GTK_IS_TREE_VIEW(focus)) {
        // Enter on the file list: its line with the cursor is chosen, as a double click chooses it.
        GtkTreeView* files = GTK_TREE_VIEW(focus);
        GtkTreePath* path = nullptr;
        GtkTreeViewColumn* column = nullptr;
        gtk_tree_view_get_cursor(files, &path, &column);
        if (!path) return;
        GtkTreeSelection* selection = gtk_tree_view_get_selection(files);
        if (!gtk_tree_selection_path_is_selected(selection, path)) {
            gtk_tree_selection_unselect_all(selection);
            gtk_tree_selection_select_path(selection, path);
        }
        gtk_tree_view_row_activated(files, path, column ? column : gtk_tree_view_get_column(files, 0));
        gtk_tree_path_free(path);
        return;
    }
    if (!GTK_IS_ENTRY(focus)) return;
    GSList* typed = gtk_file_chooser_get_filenames(chooser());
    const std::string path = typed && !typed->next ? static_cast<const char*>(typed->data) : "";
    g_slist_free_full(typed, g_free);
    if (path.empty()) return;
    if (g_file_test(path.c_str(), G_FILE_TEST_IS_DIR)) {
        browse_to(path);
        return;
    }
    files_.refresh();
    files_.set_current(path);
    logic_.File1_DblClick();
}

void AudioFilesForm::run(GtkWindow* parent) {
    logic_.Form_Load();
    run_modal(parent);
    logic_.Form_Unload();
}

void AudioFilesForm::set_file_pattern(const std::string& pattern) {
    files_.set_patterns(pattern);
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, pattern.c_str());
    gtk_file_filter_add_custom(filter, GTK_FILE_FILTER_DISPLAY_NAME, chooser_filter, &files_, nullptr);
    gtk_file_chooser_add_filter(chooser(), filter);
    gtk_file_chooser_set_filter(chooser(), filter);
}

bool AudioFilesForm::browse_to(const std::string& folder) {
    const std::string path = without_trailing_separator(folder);
    if (path.empty() || !g_file_test(path.c_str(), G_FILE_TEST_IS_DIR) || access(path.c_str(), R_OK | X_OK) != 0)
        return false;
    if (!gtk_file_chooser_set_current_folder(chooser(), path.c_str())) return false;
    files_.set_folder(path, true);
    return true;
}

}  // namespace kolvane::gtk
