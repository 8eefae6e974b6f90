// The Linux settings store: an INI file per user, replaced atomically, over a read-only install layer.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "ports/registry_reader.h"
#include "ports/settings_store.h"

namespace kolvane::sdl {

using IniSection = std::map<std::string, std::string>;

// A settings file holds a few hundred bytes; a larger one than this is unreadable, never read whole.
inline constexpr std::size_t max_settings_file_bytes = 1 << 20;

// Parses INI text into section -> key -> value. A byte-order mark at the start is skipped; of two
// equal keys the first counts (as with Windows' own INI functions), and ini_with_value replaces that one.
std::map<std::string, IniSection> parse_ini(std::string_view text);
// One section's keys, with the same rules as parse_ini; sections of the same name read as one.
IniSection parse_ini_section(std::string_view text, std::string_view section);
// The text with section/key set to value; every other byte is kept as it was.
std::string ini_with_value(std::string_view text, const std::string& section, const std::string& key,
                           const std::string& value);

// Writes `text` to a new file beside `path`, syncs it and renames it over `path`, so the old file stays
// whole until the new one is complete. A symlink at `path` is written through to its target when the
// link is ours or its target belongs to the link's owner, and refused otherwise; an old file's mode
// (and owner, when allowed) is kept. False when anything failed.
bool replace_file_atomically(const std::string& path, const std::string& text);

class IniStore : public SettingsStore {
public:
    IniStore(std::string user_file, std::string install_file);
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& fallback) override;
    // Refused (false) while the user file exists but cannot be read: writing it would lose what it holds.
    bool save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
    std::optional<std::string> lookup(const std::string& section, const std::string& key) const;
    const std::string& user_file() const { return user_.path; }
    // False while the user file exists but cannot be read.
    bool user_file_readable() const;
    // Why the user file could not be read, when it could not.
    const std::string& user_file_error() const { return user_.error; }
    // How many times a file has been read from the disk; lookups reuse what was read until it changes.
    int file_reads() const { return reads_; }

private:
    // How a file stood when it was read: a change to any of these means it must be read again.
    struct Stamp {
        bool exists = false;
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modified_ns = 0, changed_ns = 0;
        bool operator==(const Stamp&) const = default;
    };
    // One file as last read, and the sections looked up in it so far.
    struct Layer {
        std::string path;
        bool known = false;      // read at least once, and not changed in the clock tick it was read in
        Stamp stamp;
        bool readable = true;
        std::string error;       // why it could not be read
        std::string text;
        std::map<std::string, IniSection, std::less<>> sections;
    };
    void refresh(Layer& layer) const;
    const IniSection& section_of(Layer& layer, const std::string& section) const;

    mutable Layer user_;
    mutable Layer install_;
    mutable int reads_ = 0;
    mutable bool warned_ = false;
};

// The desktop password switch from the [Desktop] section of the same user file.
class IniRegistry : public RegistryReader {
public:
    explicit IniRegistry(const IniStore& store) : store_(store) {}
    std::optional<RegistryData> query(RegistryRoot root, const std::string& sub_key,
                                      const std::string& value_name) override;

private:
    const IniStore& store_;
};

// The user's home folder: $HOME when it is set and not empty, else the password database's entry for
// the user; empty when neither is known. Never a shared folder such as /tmp.
std::string home_folder();
// ${XDG_CONFIG_HOME:-~/.config}/kolvane/settings.ini; empty when there is no home folder.
std::string user_settings_file();
// <prefix>/share/kolvane/settings.ini next to the installed program, or the configured prefix.
std::string install_settings_file(const std::string& program_folder);
// ${XDG_DATA_HOME:-~/.local/share}/kolvane/, created when needed; empty when there is no home folder.
std::string data_folder();

}  // namespace kolvane::sdl
