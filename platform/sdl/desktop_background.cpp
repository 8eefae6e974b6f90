// The desktop background through gsettings, for the desktops of the GNOME family.
#include "platform/sdl/desktop_background.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

extern char** environ;

namespace kolvane::sdl {

namespace {

bool desktop_listed(std::string_view list, std::string_view name) {
    while (!list.empty()) {
        const auto colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        const bool same = entry.size() == name.size() &&
                          std::equal(entry.begin(), entry.end(), name.begin(), [](char a, char b) {
                              return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                          });
        if (same) return true;
        if (colon == std::string_view::npos) break;
        list.remove_prefix(colon + 1);
    }
    return false;
}

Command gsettings(const char* schema, const char* key, const std::string& value) {
    return {"gsettings", "set", schema, key, value};
}

constexpr int command_wait_ms = 5000;

}  // namespace

std::string file_uri(std::string_view path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri += c;
        } else {
            uri += '%';
            uri += hex[byte >> 4];
            uri += hex[byte & 15];
        }
    }
    return uri;
}

std::vector<Command> background_commands(std::string_view current_desktop, const std::string& picture) {
    const std::string uri = file_uri(picture);
    if (desktop_listed(current_desktop, "GNOME") || desktop_listed(current_desktop, "Unity") ||
        desktop_listed(current_desktop, "Budgie") || desktop_listed(current_desktop, "Pantheon"))
        // The dark style has a picture of its own; both show the snapshot.
        return {gsettings("org.gnome.desktop.background", "picture-uri", uri),
                gsettings("org.gnome.desktop.background", "picture-uri-dark", uri)};
    if (desktop_listed(current_desktop, "X-Cinnamon") || desktop_listed(current_desktop, "Cinnamon"))
        return {gsettings("org.cinnamon.desktop.background", "picture-uri", uri)};
    if (desktop_listed(current_desktop, "MATE"))
        return {gsettings("org.mate.background", "picture-filename", picture)};
    return {};
}

bool run_command(const Command& command) {
    if (command.empty()) return false;
    std::vector<char*> argv;
    for (const auto& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    for (int waited = 0; waited < command_wait_ms; waited += 10) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0) return false;
        const timespec ten_ms{0, 10'000'000L};
        nanosleep(&ten_ms, nullptr);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
}

void set_desktop_background(const std::string& picture) {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    for (const Command& command : background_commands(desktop ? desktop : "", picture)) run_command(command);
}

}  // namespace kolvane::sdl
