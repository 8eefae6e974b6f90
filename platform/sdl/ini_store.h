// The Linux settings store: an INI file per user, replaced atomically, over a read-only install layer.
#pragma once
#include <map>
#include <optional>
#include <string>

#include "ports/registry_reader.h"
#include "ports/settings_store.h"

namespace kolvane::sdl {

// Parses INI text into section -> key -> value; later duplicates win.
std::map<std::string, std::map<std::string, std::string>> parse_ini(const std::string& text);
// The text with section/key set to value; every other line is kept as it was.
std::string ini_with_value(const std::string& text, const std::string& section, const std::string& key,
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
