// Setting the desktop background on Linux desktops that offer a documented way to do it.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kolvane::sdl {

using Command = std::vector<std::string>;

// A file path as a file: URI, with every byte outside the unreserved set and "/" percent-encoded.
std::string file_uri(std::string_view path);

// The commands that make `picture` the background of the desktop named by XDG_CURRENT_DESKTOP
// (a colon-separated list); none for a desktop without a documented setting.
std::vector<Command> background_commands(std::string_view current_desktop, const std::string& picture);

// Runs a command found on PATH, without a shell, and waits for it a few seconds at most; false
// when it could not be started, failed or took too long (it is then stopped).
bool run_command(const Command& command);

// Makes `picture` the desktop background where the running desktop offers a way; otherwise does nothing.
void set_desktop_background(const std::string& picture);

}  // namespace kolvane::sdl
