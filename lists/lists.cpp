// Caption and audio list files.
#include "lists/lists.h"

#include <algorithm>

#include "lists/text_file.h"

namespace kolvane {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }

// Consumes one line end (CR, LF or CR LF) at pos, if there is one.
std::size_t skip_line_end(std::string_view text, std::size_t pos) {
    if (pos < text.size() && text[pos] == '\r') {
        ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
        return pos;
    }
    if (pos < text.size() && text[pos] == '\n') return pos + 1;
    return pos;
}

// Consumes the comma or line end that ends a field; reports whether a new line starts after it.
std::size_t skip_terminator(std::string_view text, std::size_t pos, bool& at_line_start) {
    if (pos >= text.size()) return pos;
    if (text[pos] == ',') {
        at_line_start = false;
        return pos + 1;
    }
    at_line_start = true;
    return skip_line_end(text, pos);
}

std::string without_nul(std::string_view piece) {
    std::string entry;
    entry.reserve(piece.size());
    for (char c : piece)
        if (c != '\0') entry += c;
    return entry;
}

// True when the line starting at pos holds nothing but blanks.
bool blank_line_at(std::string_view text, std::size_t pos) {
    while (pos < text.size() && is_blank(text[pos])) ++pos;
    return pos >= text.size() || is_line_end(text[pos]);
}

}  // namespace

std::vector<std::string> split_list_fields(std::string_view text, int limit, bool* more) {
    std::vector<std::string> entries;
    if (more) *more = false;
    std::size_t pos = 0;
    bool at_line_start = true;
    while (pos < text.size()) {
        if (at_line_start && blank_line_at(text, pos)) {
            // An empty line yields no entry.
            while (pos < text.size() && is_blank(text[pos])) ++pos;
            pos = skip_line_end(text, pos);
            continue;
        }
        if (static_cast<int>(entries.size()) >= limit) {
            if (more) *more = true;
            break;
        }
        while (pos < text.size() && is_blank(text[pos])) ++pos;
        if (pos < text.size() && text[pos] == '"') {
            const std::size_t close = text.find('"', pos + 1);
            if (close == std::string_view::npos) {
                entries.push_back(without_nul(text.substr(pos + 1)));
                break;
            }
            entries.push_back(without_nul(text.substr(pos + 1, close - pos - 1)));
            pos = close + 1;
            while (pos < text.size() && text[pos] != ',' && !is_line_end(text[pos])) ++pos;
        } else {
            std::size_t end = pos;
            while (end < text.size() && text[end] != ',' && !is_line_end(text[end])) ++end;
            std::size_t last = end;
            while (last > pos && is_blank(text[last - 1])) --last;
            entries.push_back(without_nul(text.substr(pos, last - pos)));
            pos = end;
        }
        pos = skip_terminator(text, pos, at_line_start);
    }
    return entries;
}

std::string list_field(const std::string& entry) {
    // Quotes cannot be escaped in this format: such an entry is written as it stands, as always.
    if (entry.find('"') != std::string::npos) return entry;
    // An empty line is no entry at all: an empty entry (from "a,,b") keeps its place only quoted.
    if (entry.empty()) return "\"\"";
    const bool blank_edge = !entry.empty() && (is_blank(entry.front()) || is_blank(entry.back()));
    const bool splits = entry.find_first_of(",\r\n") != std::string::npos;
    if (!blank_edge && !splits) return entry;
    return '"' + entry + '"';
}

std::string audio_list_path(const std::string& folder) { return folder + audio_list_name; }
std::string caption_list_path(const std::string& folder) { return folder + caption_list_name; }

namespace {

ListLoad load_list(const std::string& path, int limit, std::vector<std::string>& list, std::int32_t& count) {
    count = 0;
    bool longer = false;
    const auto text = read_text_start(path, max_list_file_bytes, longer);
    if (!text) return text_file_exists(path) ? ListLoad::unreadable : ListLoad::whole;
    bool more = false;
    auto entries = split_list_fields(*text, limit, &more);
    // The bytes read may end inside an entry; it is whole only when another one started after it.
    if (longer && !more && !entries.empty()) entries.pop_back();
    for (const auto& entry : entries) list[static_cast<std::size_t>(++count)] = entry;
    return longer || more ? ListLoad::cut : ListLoad::whole;
}

bool write_list_file(const DataFolders& folders, const char* name, const std::string& contents) {
    const auto write = [&](const std::string& path) { return replace_file(path, contents, folders.disk); };
    return !write_data_file(folders, name, write).empty();
}

bool save_list(const DataFolders& folders, const char* name, const std::vector<std::string>& list, std::int32_t count,
               int limit) {
    std::string contents;
    for (std::int32_t i = 1; i <= std::min(count, limit); ++i) contents += list_field(list[static_cast<std::size_t>(i)]) + "\r\n";
    return write_list_file(folders, name, contents);
}

}  // namespace

ListLoad load_audio_list(const DataFolders& folders, Lists& lists) {
    return load_list(data_read_path(folders, audio_list_name), max_audio_files, lists.audio_files, lists.audio_file_count);
}

ListLoad load_caption_list(const DataFolders& folders, Lists& lists) {
    return load_list(data_read_path(folders, caption_list_name), max_captions, lists.captions, lists.caption_count);
}

bool save_audio_list(const DataFolders& folders, const Lists& lists) {
    return save_list(folders, audio_list_name, lists.audio_files, lists.audio_file_count, max_audio_files);
}

bool save_caption_list(const DataFolders& folders, const Lists& lists) {
    return save_list(folders, caption_list_name, lists.captions, lists.caption_count, max_captions);
}

bool write_default_lists(const DataFolders& folders, SettingsStore& store, Settings& settings) {
    if (settings.run_once == 1) return true;
    std::string audio;
    for (int i = 1; i <= 9; ++i) audio += settings.install_path + "orvel" + std::to_string(i) + ".wav\r\n";
    const std::string captions =
        "Welcome To Kolvane Screen Saver\r\n"
        "You can adjust the frame rate and how often to launch an object\r\n";
    // A store that cannot keep the mark (its file cannot be read, so it is never written) would have
    // the user's lists replaced by the defaults at every start: they are left alone then.
    if (!store.save(app_name, config_section, "run_once", "0")) return false;
    // Only lists that are missing get their default: deleting the settings to reset the options must not
    // reset the lists too. Until every missing one is written, the next start tries again.
    const auto write_missing = [&](const char* name, const std::string& contents) {
        return text_file_exists(data_read_path(folders, name)) || write_list_file(folders, name, contents);
    };
    if (!write_missing(audio_list_name, audio)) return false;
    if (!write_missing(caption_list_name, captions)) return false;
    if (!store.save(app_name, config_section, "run_once", "1")) return false;
    settings.run_once = 1;
    return true;
}

}  // namespace kolvane
