// The caption list and the audio list: their files, field rules, limits and first-run defaults.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

struct App;

inline constexpr int max_audio_files = 500;
inline constexpr int max_captions = 100;
inline constexpr const char* audio_list_name = "Kolvane Audio Files.dat";
inline constexpr const char* caption_list_name = "Kolvane Captions.dat";
// A list file larger than this holds more entries than any list may; it loads as empty unread.
inline constexpr std::uintmax_t max_list_file_bytes = 16u << 20;

struct Lists {
    Lists() : audio_files(max_audio_files + 1), captions(max_captions + 1) {}
    std::vector<std::string> audio_files;  // index 1 to audio_file_count in use
    std::int32_t audio_file_count = 0;
    std::vector<std::string> captions;     // index 1 to caption_count in use
    std::int32_t caption_count = 0;
};

// Splits list-file text into entries by the field rules; empty when there are more than `limit`.
std::vector<std::string> split_list_fields(std::string_view text, int limit);

std::string audio_list_path(const App& app);
std::string caption_list_path(const App& app);

void load_audio_list(App& app);
void load_caption_list(App& app);
// Loads the audio list and frees both playback channels.
void reload_audio_list(App& app);
bool save_audio_list(App& app);
bool save_caption_list(App& app);
// On the first run writes both default files, then records run_once = 1.
void write_default_lists(App& app);

}  // namespace kolvane
