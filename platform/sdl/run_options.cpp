// Command-line reading for the Linux program.
#include "platform/sdl/run_options.h"

#include <cerrno>
#include <cstdlib>

#include "platform/sdl/x11_windows.h"
#include "startup/settings.h"

namespace kolvane::sdl {

namespace {

struct NumberOption {
    const char* name;
    const char* key;
    long low;
    long high;
};

// The program's own options, with the ranges its options dialog offers.
constexpr NumberOption number_options[] = {
    {"frame-rate", "frame_rate", 5, 200},
    {"object-frequency", "object_frequency", 1, 20},
    {"caption-frequency", "scroller_delay", 1, 20},
    {"scene-length", "cycle_speed_value", 1, 20},
};

struct FlagOption {
    const char* name;
    const char* key;
    const char* value;
};

constexpr FlagOption flag_options[] = {
    {"audio", "audio_on", "1"},
    {"no-audio", "audio_on", "0"},
    {"clock", "show_time", "1"},
    {"no-clock", "show_time", "0"},
};

std::optional<long> whole_number(const std::string& text, long low, long high) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

const char* usage_text() {
    return "usage: kolvane /S | /P <window> | /C | /A\n"
           "       kolvane [--root | --window | --window-id <window>] [--fps] [options]\n"
           "options (for this run only; the saved settings stay as they are):\n"
           "  --frame-rate <5..200>          milliseconds per frame\n"
           "  --object-frequency <1..20>     higher launches objects less often\n"
           "  --caption-frequency <1..20>    higher shows captions less often\n"
           "  --scene-length <1..20>         how long each background stays\n"
           "  --audio | --no-audio           music and sound effects\n"
           "  --clock | --no-clock           the clock in the top right corner\n"
           "A window is a decimal number or 0x followed by hexadecimal digits.\n";
}

RunOptions parse_run_options(const std::vector<std::string>& args, const char* xscreensaver_window) {
    RunOptions options;
    std::vector<std::string> classic;  // the words Main reads
    bool window_id_given = false;
    bool own_window = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::size_t dashes = arg.rfind("--", 0) == 0 ? 2 : (arg.size() > 1 && arg[0] == '-') ? 1 : 0;
        if (dashes == 0) {
            classic.push_back(arg);
            continue;
        }
        std::string name = arg.substr(dashes);
        std::optional<std::string> value;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        const auto take_value = [&]() -> std::optional<std::string> {
            if (value) return value;
            if (i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };
        if (name == "root") {
            options.root = true;
        } else if (name == "window") {
            own_window = true;
        } else if (name == "fps") {
            options.show_frame_rate = true;
        } else if (name == "window-id") {
            const auto text = take_value();
            const auto id = text ? parse_window_id(*text) : std::nullopt;
            if (!id) {
                options.error = "--window-id wants a window number";
                return options;
            }
            options.host_window = *id;
            window_id_given = true;
        } else {
            bool known = false;
            for (const NumberOption& o : number_options) {
                if (name != o.name) continue;
                known = true;
                const auto text = take_value();
                const auto number = text ? whole_number(*text, o.low, o.high) : std::nullopt;
                if (!number) {
                    options.error = "--" + name + " wants a whole number from " + std::to_string(o.low) + " to " +
                                    std::to_string(o.high);
                    return options;
                }
                options.settings[o.key] = std::to_string(*number);
            }
            for (const FlagOption& o : flag_options) {
                if (name != o.name) continue;
                known = true;
                options.settings[o.key] = o.value;
            }
            // Not one of ours: a word for Main, which ignores what it does not know (as it ignores -s).
            if (!known) {
                classic.push_back(arg);
                continue;
            }
        }
        options.hack = true;
    }

    if (!options.hack) {
        for (std::size_t i = 0; i < classic.size(); ++i) options.command_line += (i ? " " : "") + classic[i];
        return options;
    }
    // A hack run with a classic switch of its own keeps it (/S with settings for the run).
    if (!classic.empty() && classic.front().size() >= 2 && classic.front()[0] == '/') {
        for (std::size_t i = 0; i < classic.size(); ++i) options.command_line += (i ? " " : "") + classic[i];
    } else {
        options.command_line = "/S";
    }
    const auto daemon_window = xscreensaver_window ? parse_window_id(xscreensaver_window) : std::nullopt;
    if (window_id_given) {
        options.host = SceneHost::foreign;
    } else if (daemon_window) {
        options.host = SceneHost::foreign;
        options.host_window = *daemon_window;
    } else if (options.root) {
        options.host = SceneHost::foreign;
        options.host_window = 0;
    } else if (own_window) {
        options.host = SceneHost::window;
    }
    return options;
}

std::string OverrideStore::get(const std::string& app, const std::string& section, const std::string& key,
                               const std::string& fallback) {
    if (app == app_name && section == config_section) {
        const auto found = settings_.find(key);
        if (found != settings_.end()) return found->second;
    }
    return store_.get(app, section, key, fallback);
}

void OverrideStore::save(const std::string& app, const std::string& section, const std::string& key,
                         const std::string& value) {
    store_.save(app, section, key, value);
}

}  // namespace kolvane::sdl
