// The audio files dialog's logic.
#include "config_ui/audio_files_dialog.h"

#include "scene/audio.h"

namespace kolvane {

std::string AudioFilesDialog::folder_path() {
    std::string folder = view_.file_folder();
    const char sep = system_.path_separator();
    if (folder.empty() || folder.back() != sep) folder += sep;
    return folder;
}

void AudioFilesDialog::Form_Load() {
    view_.set_file_pattern(audio_file_pattern);
    view_.browse_to(startup_.start_folder);
    loaded_ = load_audio_list(data_folders(startup_, &system_), lists_);
    ListView& list = view_.audio_list();
    for (std::int32_t i = 1; i <= lists_.audio_file_count; ++i) list.add(lists_.audio_files[static_cast<std::size_t>(i)]);
    system_.pump_events(0);
    if (loaded_ != ListLoad::whole)
        system_.message_box(loaded_ == ListLoad::cut ? audio_files_cut_text : audio_files_unreadable_text,
                            audio_files_title, MessageKind::warning);
}

void AudioFilesDialog::Drive1_Change(const std::string& drive) {
    if (!view_.browse_to(drive)) view_.browse_to(startup_.start_folder);
}

void AudioFilesDialog::Dir1_Click(const std::string& folder) {
    if (!view_.show_files(folder)) view_.browse_to(startup_.start_folder);
}

void AudioFilesDialog::add_files(bool selected_only) {
    ListView& files = view_.files();
    ListView& list = view_.audio_list();
    const std::string folder = folder_path();
    bool full = false;
    std::string refused;
    for (int i = 0; i < files.count(); ++i) {
        if (list.count() >= max_audio_files) {
            full = true;
            break;
        }
        if (selected_only && !files.selected(i)) continue;
        const std::string file = folder + files.line(i);
        if (file.find('"') == std::string::npos) list.add(file);
        else refused += "\r" + file;
    }
    if (!refused.empty()) system_.message_box(audio_quote_text + refused, audio_files_title, MessageKind::plain);
    if (full) system_.message_box(audio_files_full_text, audio_files_title, MessageKind::plain);
    system_.pump_events(0);
}

void AudioFilesDialog::Command1_Click() {
    if (view_.files().count() > 0) add_files(true);
}

void AudioFilesDialog::Command2_Click() {
    if (view_.files().count() > 0) add_files(false);
}

void AudioFilesDialog::Command5_Click() {
    ListView& list = view_.audio_list();
    if (list.count() == 0) return;
    for (int i = list.count() - 1; i >= 0; --i)
        if (list.selected(i)) list.remove(i);
    list.clear_selection();
}

void AudioFilesDialog::play_audio(const std::string& file) {
    if (player_ == nullptr) return;
    player_->command("Close");
    open_and_play(*player_, device_type_for(file), file);
}

void AudioFilesDialog::File1_DblClick() {
    ListView& files = view_.files();
    const int index = files.current();
    if (index < 0 || index >= files.count()) return;
    const std::string file = folder_path() + files.line(index);
    if (file.size() > 3) play_audio(file);
}

void AudioFilesDialog::List2_DblClick() {
    ListView& list = view_.audio_list();
    const int index = list.current();
    if (index >= 0 && index < list.count()) play_audio(list.line(index));
}

void AudioFilesDialog::Command3_Click() {
    // What the list could not show would be lost with the file: the user says whether to go on.
    if (loaded_ != ListLoad::whole && !system_.ask_yes_no(audio_files_overwrite_text, audio_files_title)) return;
    ListView& list = view_.audio_list();
    const int lines = std::min(list.count(), max_audio_files);
    lists_.audio_file_count = lines;
    for (int i = 1; i <= lines; ++i) lists_.audio_files[static_cast<std::size_t>(i)] = list.line(i - 1);
    // The dialog stays open on a failed save, so the user's list is not lost with it.
    const DataFolders folders = data_folders(startup_, &system_);
    if (!save_audio_list(folders, lists_)) {
        system_.message_box(unsaved_file_text(audio_files_unsaved_text, folders, audio_list_name),
                            audio_files_title, MessageKind::warning);
        return;
    }
    view_.unload();
}

void AudioFilesDialog::Command6_Click() { view_.unload(); }

void AudioFilesDialog::Form_Unload() {
    if (player_) player_->command("Close");
    system_.pump_events(0);
    startup_.start_folder = view_.file_folder();
}

}  // namespace kolvane
