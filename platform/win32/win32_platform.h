// The Windows backend of the settings store, the registry read and the system services.
#pragma once
#include "platform/settings_store.h"
#include "platform/system.h"

namespace kolvane::win32 {

// Per-user settings where the forms runtime keeps them, so an earlier installation's values carry over:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>.
class RegistryStore : public SettingsStore {
public:
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& fallback) override;
    void save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
};

class Win32Registry : public RegistryReader {
public:
    std::optional<RegistryData> query(std::uint32_t root, const std::string& sub_key,
                                      const std::string& value_name) override;
};

class Win32System : public SystemApi {
public:
    std::uint32_t time_get_time() override;
    void pump_events(std::int32_t timeout_ms) override;
    int show_cursor(bool show) override;
    void system_parameters_info(std::uint32_t action, std::int32_t param, const char* text,
                                std::uint32_t flags) override;
    bool window_titled_exists(const std::string& title) override;
    std::string raw_windows_directory() override;
    void message_box(const std::string& text, const std::string& title, unsigned flags) override;
    std::string program_folder() override;
    double twips_per_pixel_x() override;
    double twips_per_pixel_y() override;
    float screen_width_twips() override;
    float screen_height_twips() override;
    char path_separator() const override { return '\\'; }
};

// Delivers every pending message to its window; true when there was at least one.
bool deliver_pending_messages();

}  // namespace kolvane::win32
