// frm_audio on Windows: the audio files dialog's template, its drive, folder and file browser, and its view.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "config_ui/audio_files_dialog.h"
#include "platform/win32/dialog_support.h"
#include "platform/win32/mci_channel.h"
#include "ports/audio_files_view.h"

namespace kolvane {
struct App;
}

namespace kolvane::win32 {

// A file name against one part of a pattern: "*" for any run of characters, "?" for one, letters in any case.
bool matches_pattern(std::string_view name, std::string_view pattern);
// The parts of a file pattern such as "*.mid;*.rmi;*.wav", in order, empty parts left out.
std::vector<std::string> pattern_parts(const std::string& pattern);

class AudioFilesForm final : public DialogWindow, public AudioFilesView {
public:
    AudioFilesForm(App& app, HINSTANCE instance);

    HWND tool_tips() const { return tool_tips_; }
    // The folder list's entries, top to bottom, as full paths: the shown folder's ancestors, itself, its folders.
    const std::vector<std::string>& folder_entries() const { return folder_paths_; }

    // AudioFilesView
    void set_file_pattern(const std::string& pattern) override { patterns_ = pattern_parts(pattern); }
    bool browse_to(const std::string& folder) override;
    bool show_files(const std::string& folder) override;
    std::string file_folder() override { return files_folder_; }
    ListView& files() override { return files_; }
    ListView& audio_list() override { return audio_list_; }
    void unload() override;

private:
    bool on_init() override;
    INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam) override;
    void list_drives();
    void list_folders(const std::vector<std::string>& subfolders);
    void list_files();
    void open_chosen_folder();
    // One click on a folder entry: the file list shows that folder's files.
    void chosen_folder_clicked();
    void drive_chosen();

    MciChannel player_{"kolvane_preview"};
    AudioFilesDialog logic_;
    ListBoxView files_;
    ListBoxView audio_list_;
    std::vector<std::string> patterns_;
    std::string folder_;                     // the folder the lists show, without a trailing separator but at a root
    std::string files_folder_;               // the folder the file list shows: folder_ or one clicked in the folder list
    std::vector<std::string> folder_paths_;  // the folder list's entries as full paths
    HWND tool_tips_ = nullptr;
    bool unloaded_ = false;
};

}  // namespace kolvane::win32
