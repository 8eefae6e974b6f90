// A deterministic backend: settable clock, in-memory settings and registry, recorded system calls.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ports/registry_reader.h"
#include "ports/settings_store.h"
#include "ports/system_api.h"

namespace kolvane::headless {

class MemoryStore : public SettingsStore {
public:
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& fallback) override;
    bool save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
    bool has(const std::string& key) const;
    std::string value(const std::string& key) const;  // in the program's own application and section
    void set(const std::string& key, const std::string& value);
    int saves = 0;
    // A store that keeps nothing, as one whose file cannot be read or written.
    bool refuse_saves = false;

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

class MemoryRegistry : public RegistryReader {
public:
    std::optional<RegistryData> query(RegistryRoot root, const std::string& sub_key,
                                      const std::string& value_name) override;
    void set_string(RegistryRoot root, const std::string& sub_key, const std::string& name, const std::string& text);
    void set_dword(RegistryRoot root, const std::string& sub_key, const std::string& name, std::uint32_t number);
    int queries = 0;

private:
    std::map<std::tuple<RegistryRoot, std::string, std::string>, RegistryData> values_;
};

// A change the scene asked of the system: one of its screen-saver states, or the wallpaper.
struct SystemCall {
    enum class Kind { saver_state, wallpaper } kind;
    SaverState state = SaverState::running;
    bool on = false;
    std::string path;  // the wallpaper's file
};

class FakeSystem : public SystemApi {
public:
    std::uint32_t time_get_time() override { return clock_ms; }
    // Runs the scripted event handler, then moves the clock by the time the wait would have slept.
    void pump_events(std::int32_t timeout_ms) override;
    int show_cursor(bool show) override { return show ? ++cursor_counter : --cursor_counter; }
    void set_saver_state(SaverState state, bool on) override;
    void set_desktop_wallpaper(const std::string& path) override;
    bool window_titled_exists(const std::string& title) override;
    bool scene_found_by_title() override { return scene_by_title; }
    // The Western code page's rules unless a test gives its own.
    std::string upper_case(std::string_view text) override;
    std::function<std::string(std::string_view)> case_rules;
    std::string raw_windows_directory() override { return windows_dir; }
    std::string per_user_data_directory() override { return per_user_dir; }
    void message_box(const std::string& text, const std::string& title, MessageKind kind) override;
    // Kept in `boxes` as a warning; answers `answer_yes`.
    bool ask_yes_no(const std::string& text, const std::string& title) override;
    // Counts the files it was given; the bytes stay in the C library's hands.
    bool flush_to_disk(std::FILE* file) override;
    std::string program_folder() override { return folder; }
    double twips_per_pixel_x() override { return twips_x; }
    double twips_per_pixel_y() override { return twips_y; }
    float screen_width_twips() override { return screen_twips_w; }
    float screen_height_twips() override { return screen_twips_h; }
    char path_separator() const override { return separator; }

    std::uint32_t clock_ms = 0;
    int cursor_counter = 0;
    int pump_rounds = 0;
    std::int32_t longest_wait = 0;
    std::int32_t current_wait = 0;  // the wait of the round being delivered
    std::function<void()> on_pump;  // scripted input delivered in each round
    std::vector<SystemCall> calls;
    std::vector<std::string> windows;  // titles of existing top-level windows
    bool scene_by_title = true;        // as on Windows
    std::vector<std::tuple<std::string, std::string, MessageKind>> boxes;
    int questions = 0;         // how many of the boxes asked Yes or No
    bool answer_yes = false;
    int flushes = 0;
    std::string windows_dir = "C:\\WINDOWS";
    std::string per_user_dir;  // none unless a test gives one
    std::string folder = "C:\\Program Files\\Kolvane";
    double twips_x = 15.0;
    double twips_y = 15.0;
    float screen_twips_w = 640 * 15.0f;
    float screen_twips_h = 480 * 15.0f;
    char separator = '\\';
};

}  // namespace kolvane::headless
