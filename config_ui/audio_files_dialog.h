// The audio files dialog's logic: browsing from the last folder, adding, removing, previewing and saving.
#pragma once
#include <string>

#include "lists/lists.h"
#include "ports/audio_files_view.h"
#include "ports/media_channel.h"
#include "ports/system_api.h"
#include "startup/startup_values.h"

namespace kolvane {

inline constexpr const char* audio_files_caption = "Edit Screen Saver Audio Files ( .wav .mid )";
inline constexpr const char* audio_file_pattern = "*.mid;*.rmi;*.wav";
inline constexpr const char* audio_files_full_text = "Maximum of 500 Audio Files Reached!";
inline constexpr const char* audio_files_title = "Screen Saver Audio Files";
inline constexpr const char* audio_quote_text =
    "A file name holding a double quote (\") cannot be kept in the audio list; left out:";
inline constexpr const char* audio_files_cut_text =
    "Only The First 500 Audio Files Were Loaded!\rThe audio list file holds more; the rest were left out.";
inline constexpr const char* audio_files_unreadable_text = "The Audio List File Could Not Be Read!";
inline constexpr const char* audio_files_overwrite_text =
    "The audio list file was not loaded whole.\rSaving replaces all of it with the list shown. Save anyway?";

class AudioFilesDialog {
public:
    // The list file lives in startup's data folders; start_folder is where browsing starts and is kept
    // for the next opening. `player` previews files; nullptr when there is none.
    AudioFilesDialog(SystemApi& system, StartupValues& startup, Lists& lists, AudioFilesView& view,
                     MediaChannel* player)
        : system_(system), startup_(startup), lists_(lists), view_(view), player_(player) {}

    void Form_Load();
    // A drive or folder was chosen; one that cannot be read brings both lists back to start_folder.
    void Drive1_Change(const std::string& drive);
    // A folder entry was clicked once: the file list shows its files at once, or, when it cannot be read,
    // both lists return to start_folder.
    void Dir1_Click(const std::string& folder);
    void Command1_Click();  // Add Selected File(s)
    void Command2_Click();  // Add All File(s)
    void Command5_Click();  // Remove Selected File(s)
    void File1_DblClick();  // preview the file list's current file
    void List2_DblClick();  // preview the audio list's current line
    void Command3_Click();  // Save And Exit
    void Command6_Click();  // Cancel
    void Form_Unload();

    // Stops what plays and starts the file on the player, without waiting.
    void play_audio(const std::string& file);
    // The file list's folder with the separator at its end.
    std::string folder_path();

private:
    // Adds the file list's files (or only the selected ones) while the list has room; the limit
    // message comes once per click, however many files are left over. A name holding a double quote
    // is left out with a message: the list file would read it back as pieces and swallow what follows.
    void add_files(bool selected_only);

    SystemApi& system_;
    StartupValues& startup_;
    Lists& lists_;
    AudioFilesView& view_;
    MediaChannel* player_;
    ListLoad loaded_ = ListLoad::whole;  // how much of the file the list shows
};

}  // namespace kolvane
