// The INI settings store.
#include "platform/sdl/ini_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>

namespace kolvane::sdl {

namespace {

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// Values keep backslashes and line breaks through the line-based format.
std::string escape(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::string unescape(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char n = value[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += value[i];
        }
    }
    return out;
}

// One line of INI text: where it starts and ends (before its line break) and what it is.
struct IniLine {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;  // where the following line starts
    enum Kind { blank, section, entry, other } kind = other;
    std::string_view name;   // the section's or the key's name
    std::string_view value;  // an entry's raw value
};

// Calls visit(line) for each line of the text, after a byte-order mark; visit returns false to stop.
template <typename Visit>
void for_each_line(std::string_view text, Visit&& visit) {
    std::size_t at = text.substr(0, byte_order_mark.size()) == byte_order_mark ? byte_order_mark.size() : 0;
    while (at < text.size()) {
        IniLine line;
        line.begin = at;
        const auto newline = text.find('\n', at);
        line.end = newline == std::string_view::npos ? text.size() : newline;
        line.next = newline == std::string_view::npos ? text.size() : newline + 1;
        std::string_view raw = text.substr(at, line.end - at);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        const std::string_view content = trim(raw);
        if (content.empty()) {
            line.kind = IniLine::blank;
        } else if (content[0] == ';' || content[0] == '#') {
            line.kind = IniLine::other;
        } else if (content.front() == '[' && content.back() == ']') {
            line.kind = IniLine::section;
            line.name = trim(content.substr(1, content.size() - 2));
        } else if (const auto eq = content.find('='); eq != std::string_view::npos) {
            line.kind = IniLine::entry;
            line.name = trim(content.substr(0, eq));
            line.value = raw.substr(raw.find('=') + 1);
        }
        if (!visit(line)) return;
        at = line.next;
    }
}

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Writes a temporary file in the same folder, syncs it and renames it over the target.
bool write_atomically(const std::string& path, const std::string& text) {
    const std::filesystem::path target(path);
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    const std::string temporary = path + ".tmp." + std::to_string(getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    std::size_t done = 0;
    bool ok = true;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::string env_or_home(const char* variable, const char* home_relative) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/" + home_relative;
}

}  // namespace

std::map<std::string, IniSection> parse_ini(std::string_view text) {
    std::map<std::string, IniSection> result;
    IniSection* current = &result[""];
    for_each_line(text, [&](const IniLine& line) {
        if (line.kind == IniLine::section) current = &result[std::string(line.name)];
        else if (line.kind == IniLine::entry) current->try_emplace(std::string(line.name), unescape(line.value));
        return true;
    });
    std::erase_if(result, [](const auto& s) { return s.first.empty() && s.second.empty(); });
    return result;
}

IniSection parse_ini_section(std::string_view text, std::string_view section) {
    IniSection result;
    bool inside = section.empty();
    for_each_line(text, [&](const IniLine& line) {
        if (line.kind == IniLine::section) inside = line.name == section;
        else if (inside && line.kind == IniLine::entry) result.try_emplace(std::string(line.name), unescape(line.value));
        return true;
    });
    return result;
}

std::string ini_with_value(std::string_view text, const std::string& section, const std::string& key,
                           const std::string& value) {
    const std::string entry = key + "=" + escape(value);
    bool inside = section.empty();
    bool found_section = inside;
    std::size_t insert_at = text.substr(0, byte_order_mark.size()) == byte_order_mark ? byte_order_mark.size() : 0;
    std::optional<IniLine> match;
    std::string_view line_break = "\n";
    bool first = true;
    bool last_line_written = false;  // the text's last line holds something
    for_each_line(text, [&](const IniLine& line) {
        if (first && line.end > line.begin && text[line.end - 1] == '\r' && line.end < text.size())
            line_break = "\r\n";  // new lines follow the file's own line breaks
        first = false;
        last_line_written = line.kind != IniLine::blank;
        if (line.kind == IniLine::section) {
            inside = line.name == section;
            if (inside) {
                found_section = true;
                insert_at = line.next;
            }
            return true;
        }
        if (!inside) return true;
        if (line.kind == IniLine::entry && line.name == key) {
            match = line;
            return false;
        }
        if (line.kind != IniLine::blank) insert_at = line.next;
        return true;
    });
    std::string out;
    out.reserve(text.size() + entry.size() + section.size() + 8);
    if (match) {
        // The line's own break (and a carriage return before it) stays.
        std::size_t content_end = match->end;
        if (content_end > match->begin && text[content_end - 1] == '\r') --content_end;
        out.append(text.substr(0, match->begin)).append(entry).append(text.substr(content_end));
        return out;
    }
    if (!found_section) {
        out.append(text);
        if (!out.empty() && out.back() != '\n' && out != byte_order_mark) out.append(line_break);
        // A blank line apart from what came before, as a person would write it.
        if (last_line_written) out.append(line_break);
        out.append("[").append(section).append("]").append(line_break).append(entry).append(line_break);
        return out;
    }
    // After the section's last entry (or its header), keeping the blank lines that end it.
    out.append(text.substr(0, insert_at));
    if (!out.empty() && out.back() != '\n') out.append(line_break);
    out.append(entry).append(line_break).append(text.substr(insert_at));
    return out;
}

IniStore::IniStore(std::string user_file, std::string install_file)
    : user_file_(std::move(user_file)), install_file_(std::move(install_file)) {}

std::optional<std::string> IniStore::lookup(const std::string& section, const std::string& key) const {
    for (const auto* file : {&user_file_, &install_file_}) {
        if (file->empty()) continue;
        const auto ini = parse_ini(read_all(*file));
        const auto s = ini.find(section);
        if (s == ini.end()) continue;
        const auto k = s->second.find(key);
        if (k != s->second.end()) return k->second;
    }
    return std::nullopt;
}

std::string IniStore::get(const std::string&, const std::string& section, const std::string& key,
                          const std::string& fallback) {
    return lookup(section, key).value_or(fallback);
}

bool IniStore::save(const std::string&, const std::string& section, const std::string& key,
                    const std::string& value) {
    return write_atomically(user_file_, ini_with_value(read_all(user_file_), section, key, value));
}

std::optional<RegistryData> IniRegistry::query(RegistryRoot root, const std::string& sub_key,
                                               const std::string& value_name) {
    if (root != RegistryRoot::current_user || sub_key != "Control Panel\\Desktop") return std::nullopt;
    const auto value = store_.lookup("Desktop", value_name);
    if (!value || value->size() >= 255) return std::nullopt;
    RegistryData data;
    data.type = RegistryType::text;
    data.bytes = *value + '\0';
    data.length = static_cast<std::uint32_t>(data.bytes.size());
    return data;
}

std::string user_settings_file() { return env_or_home("XDG_CONFIG_HOME", ".config") + "/kolvane/settings.ini"; }

std::string install_settings_file(const std::string& program_folder) {
    const std::filesystem::path beside = std::filesystem::path(program_folder) / ".." / "share" / "kolvane" / "settings.ini";
    std::error_code ec;
    if (std::filesystem::exists(beside, ec)) return beside.lexically_normal().string();
    return std::string(KOLVANE_INSTALL_DATADIR) + "/kolvane/settings.ini";
}

std::string data_folder() {
    const std::string folder = env_or_home("XDG_DATA_HOME", ".local/share") + "/kolvane/";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

}  // namespace kolvane::sdl
