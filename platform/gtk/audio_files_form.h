// The audio files dialog in GTK: a file chooser for folders and audio files, the audio list, and previews on SDL2_mixer.
#pragma once
#include <set>
#include <string>
#include <vector>

#include "config_ui/audio_files_dialog.h"
#include "platform/gtk/dialog_support.h"
#include "platform/gtk/form_context.h"
#include "platform/sdl/mixer_channel.h"

namespace kolvane::gtk {

// The file list as the engine sees it: the audio files of the chooser's folder in the order the
// chooser shows them, the ones selected there, and the one last double-clicked. A snapshot taken by
// refresh() before each handler that reads it; the folder's files are not edited through it.
class ChooserFiles : public ListView {
public:
    explicit ChooserFiles(GtkFileChooser* chooser) : chooser_(chooser) {}
    void set_patterns(const std::string& pattern);
    // True when a file name matches a pattern, in any letter case.
    bool matches(const char* name) const;
    void set_folder(const std::string& folder, bool real) {
        folder_ = folder;
        real_folder_ = real;
    }
    const std::string& folder() const { return folder_; }
    void refresh();
    // Names `path` as the current file (a double click or Enter on it).
    void set_current(const std::string& path);

    int count() override { return static_cast<int>(names_.size()); }
    std::string line(int index) override;
    bool selected(int index) override;
    int current() override { return current_; }
    void add(const std::string&) override {}
    void remove(int) override {}
    void clear() override {}
    void clear_selection() override;

private:
    GtkFileChooser* chooser_;
    std::vector<std::string> patterns_;
    std::string folder_;
    bool real_folder_ = false;  // false while the chooser shows a place that is no folder (recent files)
    std::vector<std::string> names_;
    std::set<std::string> selected_;
    int current_ = -1;
};

class AudioFilesForm : public Form, public AudioFilesView {
public:
    explicit AudioFilesForm(FormContext& context);
    ~AudioFilesForm() override;
    void run(GtkWindow* parent);

    void set_file_pattern(const std::string& pattern) override;
    bool browse_to(const std::string& folder) override;
    // The chooser shows folders and files together: showing a folder's files opens it.
    bool show_files(const std::string& folder) override { return browse_to(folder); }
    std::string file_folder() override { return files_.folder(); }
    ListView& files() override { return files_; }
    ListView& audio_list() override { return list_; }
    void unload() override { end(); }

private:
    GtkFileChooser* chooser() const { return GTK_FILE_CHOOSER(chooser_); }
    // Enter in the chooser: the folder typed in its location entry is shown; a file typed there, or the
    // file list's line with the cursor, is previewed (a folder line is opened).
    void location_entered();
    // A folder clicked once, or one the chooser opened but cannot read: handled once the chooser's own
    // signal is over, since it changes the chooser's folder; a click waits out a double click's time,
    // which the chooser answers by opening the folder itself.
    void folder_clicked_later(const std::string& folder, guint delay_ms);
    static gboolean folder_clicked(gpointer form);

    GtkWidget* chooser_;
    GtkWidget* location_enter_;  // the window's hidden default button
    ChooserFiles files_;
    TreeListView list_{true};
    sdl::MixerChannel player_;
    AudioFilesDialog logic_;
    std::string clicked_folder_;
    guint clicked_source_ = 0;
};

}  // namespace kolvane::gtk
