// The INI settings store.
#include "platform/sdl/ini_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace kolvane::sdl {

namespace {

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
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

std::string unescape(const std::string& value) {
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

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
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

std::map<std::string, std::map<std::string, std::string>> parse_ini(const std::string& text) {
    std::map<std::string, std::map<std::string, std::string>> result;
    std::string section;
    for (const auto& raw : split_lines(text)) {
        const std::string line = trim(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = trim(line.substr(1, line.size() - 2));
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        result[section][trim(line.substr(0, eq))] = unescape(raw.substr(raw.find('=') + 1));
    }
    return result;
}

std::string ini_with_value(const std::string& text, const std::string& section, const std::string& key,
                           const std::string& value) {
    auto lines = split_lines(text);
    const std::string entry = key + "=" + escape(value);
    std::string current;
    long section_end = -1;  // index after the last line of the wanted section
    bool in_section = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = trim(lines[i]);
        if (!line.empty() && line.front() == '[' && line.back() == ']') {
            current = trim(line.substr(1, line.size() - 2));
            in_section = current == section;
            if (in_section) section_end = static_cast<long>(i) + 1;
            continue;
        }
        if (!in_section) continue;
        const auto eq = line.find('=');
        if (!line.empty() && line[0] != ';' && line[0] != '#' && eq != std::string::npos &&
            trim(line.substr(0, eq)) == key) {
            lines[i] = entry;
            std::string out;
            for (const auto& l : lines) out += l + "\n";
            return out;
        }
        if (!line.empty()) section_end = static_cast<long>(i) + 1;
    }
    if (section_end < 0) {
        if (!lines.empty() && !trim(lines.back()).empty()) lines.push_back("");
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    } else {
        lines.insert(lines.begin() + section_end, entry);
    }
    std::string out;
    for (const auto& l : lines) out += l + "\n";
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
