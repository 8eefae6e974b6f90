// Command-line reading for the Linux program.
#include "platform/sdl/run_options.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "config_ui/about_box.h"
#include "platform/sdl/x11_windows.h"
#include "startup/settings.h"

namespace kolvane::sdl {

namespace {

// A setting is a switch when it is a flag or a whole number that is only off or on (0 or 1):
// --NAME turns it on and --no-NAME off; any other whole number takes a value in its range.
bool is_switch(const SettingField& field) {
    return field.type == SettingType::flag || (field.option.low == 0 && field.option.high == 1);
}

// The settings a hack run may set: every key of the settings table that has an option name.
const SettingField* option_field(const std::string& name, bool& negated) {
    negated = name.rfind("no-", 0) == 0;
    const std::string bare = negated ? name.substr(3) : name;
    for (const SettingField& field : settings_table()) {
        if (field.option.name == nullptr || bare != field.option.name) continue;
        if (negated && !is_switch(field)) return nullptr;
        return &field;
    }
    return nullptr;
}

std::optional<long> whole_number(const std::string& text, long low, long high) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) return std::nullopt;
    return value;
}

bool all_digits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string unrecognised(const std::string& word) { return "Unrecognised option \"" + word + "\""; }

// Options every XScreenSaver hack takes from its host; they mean nothing to this program's drawing.
bool host_option_without_value(const std::string& name) {
    return name == "install" || name == "noinstall" || name == "mono";
}

}  // namespace

std::string usage_text() {
    std::string text =
        "usage: kolvane /S | /P <window> | /C | /A\n"
        "       kolvane [--root | --window | --window-id <window>] [--fps] [options]\n"
        "       kolvane --help | --version\n"
        "options (for this run only; the saved settings stay as they are):\n";
    for (const SettingField& field : settings_table()) {
        const SettingOption& o = field.option;
        if (o.name == nullptr) continue;
        std::string form = "  --" + std::string(o.name);
        if (is_switch(field)) form += " | --no-" + std::string(o.name);
        else form += " <" + std::to_string(o.low) + ".." + std::to_string(o.high) + ">";
        form.resize(std::max<std::size_t>(form.size() + 1, 33), ' ');
        text += form + o.help + "\n";
    }
    return text + "A window is a decimal number or 0x followed by hexadecimal digits (after /P: decimal).\n"
                  "See kolvane(6).\n";
}

std::string version_line(const char* program) {
    return std::string(program) + " " + std::to_string(version_major) + "." + std::to_string(version_minor) + "." +
           std::to_string(version_revision);
}

std::string classic_switch_error(const std::vector<std::string>& words) {
    if (words.empty()) return {};
    const std::string& first = words.front();
    if (first.size() < 2) return unrecognised(first);
    std::string name = first.substr(0, 2);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string rest = first.substr(2);
    if (name == "/P") {
        // Main reads the number after the switch, blanks skipped; anything else would silently be window 0.
        std::string number = rest;
        for (std::size_t i = 1; i < words.size(); ++i) number += " " + words[i];
        const std::size_t start = std::min(number.find_first_not_of(" \t"), number.size());
        const std::string_view digits = std::string_view(number).substr(start);
        if (!all_digits(digits) || digits.size() > 10 || std::stoull(std::string(digits)) > 0xFFFFFFFFull)
            return digits.empty() ? "/P wants a window number"
                                  : "/P wants a window number, not \"" + std::string(digits) + "\"";
        return {};
    }
    if (name != "/S" && name != "/C" && name != "/A") return unrecognised(first);
    // The display settings of Windows add the parent window to /C as "/c:1234".
    if (!rest.empty() && !(name == "/C" && rest[0] == ':' && all_digits(std::string_view(rest).substr(1))))
        return unrecognised(first);
    if (words.size() > 1) return unrecognised(words[1]);
    return {};
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
            if (arg == "/?") {
                RunOptions asked;
                asked.help = true;
                return asked;
            }
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
        if (name == "help" || name == "h" || name == "version") {
            RunOptions asked;
            asked.help = name != "version";
            asked.version = name == "version";
            return asked;
        }
        if (name == "root") {
            options.root = true;
        } else if (name == "window") {
            own_window = true;
        } else if (name == "fps") {
            options.show_frame_rate = true;
        } else if (name == "no-fps") {
            options.show_frame_rate = false;
        } else if (name == "visual") {
            if (!take_value()) {
                options.error = "--visual wants a visual's name";
                return options;
            }
        } else if (host_option_without_value(name)) {
            // Taken as every hack takes it; the scene draws the same on any visual.
        } else if (name == "test-run") {
            // Given by the settings program only, so the usage text leaves it out.
            options.test_run = true;
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
            bool negated = false;
            const SettingField* field = option_field(name, negated);
            if (field == nullptr) {
                options.error = unrecognised(arg);
                return options;
            }
            if (is_switch(*field) && value) {
                options.error = "--" + name + " is a switch and takes no value";
                return options;
            }
            if (is_switch(*field)) {
                options.settings[field->key] = negated ? "0" : "1";
            } else {
                const SettingOption& o = field->option;
                const auto text = take_value();
                const auto number = text ? whole_number(*text, o.low, o.high) : std::nullopt;
                if (!number) {
                    options.error = "--" + name + " wants a whole number from " + std::to_string(o.low) + " to " +
                                    std::to_string(o.high);
                    return options;
                }
                options.settings[field->key] = std::to_string(*number);
            }
        }
        options.hack = true;
    }
    options.error = classic_switch_error(classic);
    if (!options.error.empty()) return options;

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

bool OverrideStore::save(const std::string& app, const std::string& section, const std::string& key,
                         const std::string& value) {
    return store_.save(app, section, key, value);
}

}  // namespace kolvane::sdl
