// The Windows backend of the settings store, the registry read, the system services, the clock and the layout.
#pragma once
#include <string>

#include "platform/keyboard_layout.h"
#include "platform/overlay_view.h"
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

    // The modeless dialog whose keys (Tab, Enter, Escape) the pump hands to the dialog manager; null for none.
    void set_modeless_dialog(void* dialog) { dialog_ = dialog; }
    void* modeless_dialog() const { return dialog_; }

private:
    void* dialog_ = nullptr;
};

// Delivers every pending message to its window, the modeless dialog's keys through the dialog
// manager; true when there was at least one.
bool deliver_pending_messages(void* modeless_dialog = nullptr);

// The time of day and the designators of the user's regional settings.
class Win32LocalClock : public LocalClock {
public:
    Win32LocalClock();
    TimeOfDay time_of_day() override;
    std::string_view morning_designator() override { return morning_; }
    std::string_view afternoon_designator() override { return afternoon_; }

private:
    std::string morning_;
    std::string afternoon_;
};

// The active keyboard layout through VkKeyScanA and MapVirtualKeyA.
class Win32KeyboardLayout : public KeyboardLayout {
public:
    std::int16_t vk_key_scan(unsigned char character) override;
    std::uint32_t map_virtual_key(std::uint32_t code, std::uint32_t map_type) override;
};

}  // namespace kolvane::win32
