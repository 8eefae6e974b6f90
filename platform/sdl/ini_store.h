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

// Parses INI text into section -> key -> value. A byte-order mark at the start is skipped; of two
// equal keys the first counts (as with Windows' own INI functions), and ini_with_value replaces that one.
std::map<std::string, IniSection> parse_ini(std::string_view text);
// One section's keys, with the same rules as parse_ini; sections of the same name read as one.
IniSection parse_ini_section(std::string_view text, std::string_view section);
// The text with section/key set to value; every other byte is kept as it was.
std::string ini_with_value(std::string_view text, const std::string& section, const std::string& key,
                           const std::string& value);

class IniStore : public SettingsStore {
public:
    IniStore(std::string user_file, std::string install_file);
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& fallback) override;
    bool save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
    std::optional<std::string> lookup(const std::string& section, const std::string& key) const;
    const std::string& user_file() const { return user_file_; }

private:
    std::string user_file_;
    std::string install_file_;
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

// ${XDG_CONFIG_HOME:-~/.config}/kolvane/settings.ini
std::string user_settings_file();
// <prefix>/share/kolvane/settings.ini next to the installed program, or the configured prefix.
std::string install_settings_file(const std::string& program_folder);
// ${XDG_DATA_HOME:-~/.local/share}/kolvane/, created when needed.
std::string data_folder();

}  // namespace kolvane::sdl
