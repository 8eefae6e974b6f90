// The Windows backend of the settings store, the registry read, the system services, the clock and the layout.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ports/keyboard_layout.h"
#include "ports/local_clock.h"
#include "ports/registry_reader.h"
#include "ports/settings_store.h"
#include "ports/system_api.h"

namespace kolvane::win32 {

// Per-user settings where the forms runtime keeps them, so an earlier installation's values carry over:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>.
// install_path is the user's own, else the one the installer keeps under HKEY_LOCAL_MACHINE for every user; a
// value naming a folder that is not there (an older installation's, or one the code page cannot spell) is passed
// over, so that a broken installation is reported rather than run without its sounds.
class RegistryStore : public SettingsStore {
public:
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& fallback) override;
    bool save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;

    static constexpr const char* install_path_key = "install_path";
};

// The predefined root's handle: HKEY_CLASSES_ROOT to HKEY_DYN_DATA follow one another in the enum's order.
HKEY registry_root_key(RegistryRoot root);
// REG_SZ reads as text and REG_DWORD as a number; the engine treats every other type alike.
RegistryType registry_type(unsigned long type);

class Win32Registry : public RegistryReader {
public:
    std::optional<RegistryData> query(RegistryRoot root, const std::string& sub_key,
                                      const std::string& value_name) override;
};

class Win32System : public SystemApi {
public:
    std::uint32_t time_get_time() override;
    void pump_events(std::int32_t timeout_ms) override;
    int show_cursor(bool show) override;
    // SPI_SCREENSAVERRUNNING or SPI_SETSCREENSAVEACTIVE with TRUE passed as -1, as the engine always did.
    void set_saver_state(SaverState state, bool on) override;
    // SPI_SETDESKWALLPAPER, written to the user's profile and announced to every window.
    void set_desktop_wallpaper(const std::string& path) override;
    bool window_titled_exists(const std::string& title) override;
    bool scene_found_by_title() override { return true; }
    std::string raw_windows_directory() override;
    // %LOCALAPPDATA%\Kolvane: the user's own, never roamed, as the list files and the snapshot were local too.
    std::string per_user_data_directory() override;
    void message_box(const std::string& text, const std::string& title, MessageKind kind) override;
    bool ask_yes_no(const std::string& text, const std::string& title) override;
    // FlushFileBuffers on the file's own handle.
    bool flush_to_disk(std::FILE* file) override;
    std::string program_folder() override;
    double twips_per_pixel_x() override;
    double twips_per_pixel_y() override;
    float screen_width_twips() override;
    float screen_height_twips() override;
    char path_separator() const override { return '\\'; }
    // CharUpperBuff: the case rules of the system's own code page, not one fixed table.
    std::string upper_case(std::string_view text) override;

    // The modeless dialog whose keys (Tab, Enter, Escape) the pump hands to the dialog manager; null for none.
    void set_modeless_dialog(void* dialog) { dialog_ = dialog; }
    void* modeless_dialog() const { return dialog_; }

private:
    void* dialog_ = nullptr;
};

// The MessageBox style of each kind: MB_OK alone, MB_ICONSTOP or MB_ICONEXCLAMATION.
unsigned message_box_style(MessageKind kind);
// The SystemParametersInfo action that sets a screen-saver state.
unsigned saver_state_action(SaverState state);

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
