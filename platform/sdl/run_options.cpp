// Command-line reading for the Linux program.
#include "platform/sdl/run_options.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/sdl/x11_windows.h"
#include "startup/settings.h"

namespace kolvane::sdl {

namespace {

// The settings a hack run may set: every key of the settings table that has an option name.
// A whole number takes a value in its range; a flag is --NAME or --no-NAME.
const SettingField* option_field(const std::string& name, bool& negated) {
    negated = name.rfind("no-", 0) == 0;
    const std::string bare = negated ? name.substr(3) : name;
    for (const SettingField& field : settings_table()) {
        if (field.option.name == nullptr || bare != field.option.name) continue;
        if (negated && field.type != SettingType::flag) return nullptr;
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

}  // namespace

std::string usage_text() {
    std::string text =
        "usage: kolvane /S | /P <window> | /C | /A\n"
        "       kolvane [--root | --window | --window-id <window>] [--fps] [options]\n"
        "options (for this run only; the saved settings stay as they are):\n";
    for (const SettingField& field : settings_table()) {
        const SettingOption& o = field.option;
        if (o.name == nullptr) continue;
        std::string form = "  --" + std::string(o.name);
        if (field.type == SettingType::flag) form += " | --no-" + std::string(o.name);
        else form += " <" + std::to_string(o.low) + ".." + std::to_string(o.high) + ">";
        form.resize(std::max<std::size_t>(form.size() + 1, 33), ' ');
        text += form + o.help + "\n";
    }
    return text + "A window is a decimal number or 0x followed by hexadecimal digits.\n";
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
            const bool known = field != nullptr;
            if (known && field->type == SettingType::flag) {
                options.settings[field->key] = negated ? "0" : "1";
            } else if (known) {
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

bool OverrideStore::save(const std::string& app, const std::string& section, const std::string& key,
                         const std::string& value) {
    return store_.save(app, section, key, value);
}

}  // namespace kolvane::sdl
