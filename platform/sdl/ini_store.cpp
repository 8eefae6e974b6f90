// The INI settings store.
#include "platform/sdl/ini_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>

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

std::int64_t nanoseconds(const timespec& t) { return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }

// The file's bytes, or why they cannot be had. A special file (a FIFO, a device) or a folder counts as
// unreadable, and opening never waits on one.
struct FileRead {
    bool exists = false;
    bool readable = false;
    std::string error;
    std::string text;
    struct stat info {};
};

FileRead read_file(const std::string& path) {
    FileRead r;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        r.exists = errno != ENOENT;
        r.error = std::strerror(errno);
        return r;
    }
    r.exists = true;
    if (::fstat(fd, &r.info) != 0 || !S_ISREG(r.info.st_mode)) {
        r.error = S_ISDIR(r.info.st_mode) ? "it is a folder" : "it is not a plain file";
        ::close(fd);
        return r;
    }
    const auto too_large = [&] {
        r.error = "it is larger than 1 MiB";
        r.text.clear();
        ::close(fd);
        return r;
    };
    if (static_cast<std::uint64_t>(r.info.st_size) > max_settings_file_bytes) return too_large();
    r.text.resize(static_cast<std::size_t>(r.info.st_size));
    std::size_t done = 0;
    for (;;) {
        if (done > max_settings_file_bytes) return too_large();
        if (done == r.text.size()) r.text.resize(r.text.size() + 4096);  // it grew while being read
        const ssize_t n = ::read(fd, r.text.data() + done, r.text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            r.error = std::strerror(errno);
            ::close(fd);
            r.text.clear();
            return r;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    r.text.resize(done);
    ::close(fd);
    r.readable = true;
    return r;
}

// The owner of the file at `path`, or of the folder it would be made in when there is none yet.
std::optional<uid_t> owner_of(const std::filesystem::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) return info.st_uid;
    if (errno != ENOENT) return std::nullopt;
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    if (::stat(folder.c_str(), &info) == 0) return info.st_uid;
    return std::nullopt;
}

// The file a chain of symlinks ends at (which may not exist yet); `path` itself when it is no link.
// Nothing when a link someone else made points to a file that is not theirs: following it would have
// us (the superuser, say) replace a file its planter could not write.
std::optional<std::string> final_target(const std::string& path) {
    std::filesystem::path current(path);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat link {};
        if (::lstat(current.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return current.string();
        std::error_code ec;
        const std::filesystem::path to = std::filesystem::read_symlink(current, ec);
        if (ec) return std::nullopt;
        const std::filesystem::path next = to.is_absolute() ? to : current.parent_path() / to;
        if (link.st_uid != ::geteuid() && owner_of(next) != link.st_uid) return std::nullopt;
        current = next;
    }
    return path;  // a loop: renaming over the link itself is all that is left
}

bool write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void sync_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string env_or_home(const char* variable, const char* home_relative) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
    const std::string home = home_folder();
    return home.empty() ? std::string() : home + "/" + home_relative;
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

bool replace_file_atomically(const std::string& path, const std::string& text) {
    if (path.empty()) return false;
    const std::optional<std::string> followed = final_target(path);
    if (!followed) return false;
    const std::string& target = *followed;
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    std::error_code ec;
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    struct stat old {};
    const bool had_old = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    // A name nobody can guess, created only when nothing (not even a symlink) has it.
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = write_all(fd, text);
    if (had_old) {
        // The owner is kept where the system lets us (the superuser editing a user's file).
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // An ordinary user may not give a file away: it is theirs then, as any file they write.
        }
        ok = ok && ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    sync_folder(folder.empty() ? std::string(".") : folder.string());
    return true;
}

IniStore::IniStore(std::string user_file, std::string install_file) {
    user_.path = std::move(user_file);
    install_.path = std::move(install_file);
}

void IniStore::refresh(Layer& layer) const {
    if (layer.path.empty()) return;
    // Taken before the file is looked at: a change in this clock tick could leave every stamp as it was.
    timespec tick{};
    clock_gettime(CLOCK_REALTIME_COARSE, &tick);
    struct stat info {};
    Stamp now;
    if (::stat(layer.path.c_str(), &info) == 0) {
        now = {true, static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
               static_cast<std::uint64_t>(info.st_size), nanoseconds(info.st_mtim), nanoseconds(info.st_ctim)};
    } else if (errno == ENOENT) {
        now = {};
    } else {
        now = {true};  // the folder hides it: read to learn why
    }
    if (layer.known && now == layer.stamp && now.exists) return;
    if (layer.known && !now.exists && !layer.stamp.exists) return;

    FileRead file = read_file(layer.path);
    ++reads_;
    layer.sections.clear();
    layer.readable = file.readable || !file.exists;
    layer.error = file.error;
    layer.text = std::move(file.text);
    layer.stamp = {};
    if (file.readable) {
        const struct stat& i = file.info;
        layer.stamp = {true, static_cast<std::uint64_t>(i.st_dev), static_cast<std::uint64_t>(i.st_ino),
                       static_cast<std::uint64_t>(i.st_size), nanoseconds(i.st_mtim), nanoseconds(i.st_ctim)};
    } else if (file.exists) {
        layer.stamp = now;
    }
    // Times kept in whole seconds are compared by the second.
    const std::int64_t grain = layer.stamp.changed_ns % 1'000'000'000 == 0 ? 1'000'000'000 : 1;
    layer.known = !layer.stamp.exists || layer.stamp.changed_ns / grain < nanoseconds(tick) / grain;
    if (&layer == &user_ && !layer.readable && !warned_) {
        warned_ = true;
        std::fprintf(stderr,
                     "%s: cannot read the settings file %s (%s); running with the default settings, and nothing "
                     "will be saved over that file\n",
                     program_invocation_short_name, layer.path.c_str(), layer.error.c_str());
    }
    if (&layer == &user_ && layer.readable) warned_ = false;
}

const IniSection& IniStore::section_of(Layer& layer, const std::string& section) const {
    const auto found = layer.sections.find(section);
    if (found != layer.sections.end()) return found->second;
    return layer.sections.emplace(section, parse_ini_section(layer.text, section)).first->second;
}

std::optional<std::string> IniStore::lookup(const std::string& section, const std::string& key) const {
    for (Layer* layer : {&user_, &install_}) {
        if (layer->path.empty()) continue;
        refresh(*layer);
        const IniSection& values = section_of(*layer, section);
        const auto k = values.find(key);
        if (k != values.end()) return k->second;
    }
    return std::nullopt;
}

bool IniStore::user_file_readable() const {
    refresh(user_);
    return user_.readable;
}

std::string IniStore::get(const std::string&, const std::string& section, const std::string& key,
                          const std::string& fallback) {
    return lookup(section, key).value_or(fallback);
}

bool IniStore::save(const std::string&, const std::string& section, const std::string& key,
                    const std::string& value) {
    if (user_.path.empty()) return false;
    // Written from what the file holds now, never from an older copy.
    refresh(user_);
    if (!user_.readable) return false;
    std::string text = ini_with_value(user_.text, section, key, value);
    if (!replace_file_atomically(user_.path, text)) return false;
    // The next lookup reads the new file: its stamp is the one to keep.
    user_.known = false;
    return true;
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

std::string home_folder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    // Without HOME (a service, `env -i`) the account's own folder, never a folder others can write to.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir ||
        !*found->pw_dir)
        return "";
    return found->pw_dir;
}

std::string user_settings_file() {
    const std::string folder = env_or_home("XDG_CONFIG_HOME", ".config");
    if (folder.empty()) {
        std::fprintf(stderr, "%s: no home folder (HOME is not set and the account has none); settings are not kept\n",
                     program_invocation_short_name);
        return "";
    }
    return folder + "/kolvane/settings.ini";
}

std::string install_settings_file(const std::string& program_folder) {
    const std::filesystem::path beside = std::filesystem::path(program_folder) / ".." / "share" / "kolvane" / "settings.ini";
    std::error_code ec;
    if (std::filesystem::exists(beside, ec)) return beside.lexically_normal().string();
    return std::string(KOLVANE_INSTALL_DATADIR) + "/kolvane/settings.ini";
}

std::string data_folder() {
    const std::string base = env_or_home("XDG_DATA_HOME", ".local/share");
    if (base.empty()) return "";
    const std::string folder = base + "/kolvane/";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

}  // namespace kolvane::sdl
