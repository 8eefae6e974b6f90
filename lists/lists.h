// The caption list and the audio list: their files, field rules, limits and first-run defaults.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lists/data_folders.h"
#include "ports/settings_store.h"
#include "startup/settings.h"

namespace kolvane {

inline constexpr int max_audio_files = 500;
inline constexpr int max_captions = 100;
inline constexpr const char* audio_list_name = "Kolvane Audio Files.dat";
inline constexpr const char* caption_list_name = "Kolvane Captions.dat";
// A list file larger than this holds more entries than any list may; only its first bytes are read.
inline constexpr std::uintmax_t max_list_file_bytes = 16u << 20;

// How much of its file a list took in.
enum class ListLoad {
    whole,       // every entry; also no file (or a folder in its place), which holds nothing to lose
    cut,         // the first entries only: the file holds more than the list may
    unreadable,  // the file is there but could not be read
};

struct Lists {
    Lists() : audio_files(max_audio_files + 1), captions(max_captions + 1) {}
    std::vector<std::string> audio_files;  // index 1 to audio_file_count in use
    std::int32_t audio_file_count = 0;
    std::vector<std::string> captions;     // index 1 to caption_count in use
    std::int32_t caption_count = 0;
};

// Splits list-file text into entries by the field rules, the first `limit` of them; `more` (when given)
// tells whether the text holds further entries.
std::vector<std::string> split_list_fields(std::string_view text, int limit, bool* more = nullptr);

// An entry as it is written to a list file: in double quotes when it is empty, holds a comma or a line
// break, or starts or ends with a blank, so that it reads back as one entry, unchanged. An entry that
// holds a double quote cannot be kept exactly and is written as it stands.
std::string list_field(const std::string& entry);

// The list files' names in `folder` (the Windows directory), which ends in the path separator.
std::string audio_list_path(const std::string& folder);
std::string caption_list_path(const std::string& folder);

// Each list is read from the per-user copy once there is one, otherwise from the Windows directory: its
// first entries up to the limit, so a file that grew too long by hand still shows them.
ListLoad load_audio_list(const DataFolders& folders, Lists& lists);
ListLoad load_caption_list(const DataFolders& folders, Lists& lists);
// Each writes at most the list's limit of entries, so the file never loads as empty. False when no folder
// took the file.
bool save_audio_list(const DataFolders& folders, const Lists& lists);
bool save_caption_list(const DataFolders& folders, const Lists& lists);
// On the first run writes the default of each list whose file is missing (a user who deleted the settings
// keeps the lists), then records run_once = 1; run_once becomes 1 only once the files and the mark are
// stored. Nothing is written when the store cannot save. False when the defaults were due and could not
// all be stored.
bool write_default_lists(const DataFolders& folders, SettingsStore& store, Settings& settings);

// The first lines of the messages for a list that could not be saved.
inline constexpr const char* captions_unsaved_text = "Unable To Save The Caption List!";
inline constexpr const char* audio_files_unsaved_text = "Unable To Save The Audio File List!";
inline constexpr const char* default_lists_unsaved_text = "Unable To Save The Default Caption And Audio Lists!";

}  // namespace kolvane
