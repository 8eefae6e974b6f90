// The Linux program's command line: the classic switches, the conventions of XScreenSaver hacks, and settings for one run.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ports/settings_store.h"

namespace kolvane::sdl {

// How the scene is shown.
enum class SceneHost {
    full_screen,  // the program's own window over the whole primary screen
    window,       // the program's own window, not full screen
    foreign,      // a window of another program (a screen-saver daemon, a settings preview, the root)
};

struct RunOptions {
    // What Main reads: "/S", "/P 1234", ... (a hack run reads as "/S").
    std::string command_line;
    bool hack = false;  // started with the conventions of an XScreenSaver hack
    SceneHost host = SceneHost::full_screen;
    unsigned long host_window = 0;  // for SceneHost::foreign; 0 means the root window
    bool root = false;
    bool show_frame_rate = false;
    // --test-run: the settings program's preview; the first input ends the scene, no password is asked.
    bool test_run = false;
    // Settings given on the command line, by their key in the settings store; they hold for this run only.
    std::map<std::string, std::string> settings;
    bool help = false;     // --help, -h or /?: print the usage and end
    bool version = false;  // --version: print the version and end
    std::string error;     // set when the command line cannot be used: one line, without the program's name
};

// Reads the program's arguments (without its own name). `xscreensaver_window` is the value of the
// XSCREENSAVER_WINDOW variable, or nullptr.
RunOptions parse_run_options(const std::vector<std::string>& args, const char* xscreensaver_window);

// The options text for --help and command-line errors.
std::string usage_text();

// "kolvane 2.0.8": what --version prints, for the named program.
std::string version_line(const char* program);

// Checks the classic words of a command line (those not starting with a dash): one switch of
// /S, /P, /C or /A (any case; /C may carry the ":<number>" the display settings add), and after /P
// a window number. Returns the one-line complaint, or an empty text when they can be used.
std::string classic_switch_error(const std::vector<std::string>& words);

// The settings store with the run's command-line settings laid over it: reads see them, saves go
// through to the store underneath and leave them in force.
class OverrideStore : public SettingsStore {
public:
    OverrideStore(SettingsStore& store, std::map<std::string, std::string> settings)
        : store_(store), settings_(std::move(settings)) {}
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& fallback) override;
    bool save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;

private:
    SettingsStore& store_;
    std::map<std::string, std::string> settings_;
};

}  // namespace kolvane::sdl
