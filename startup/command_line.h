// The command-line switch that picks the mode, the host window number, and the titles a second start looks for.
#pragma once
#include <cstdint>
#include <string_view>

namespace kolvane {

enum class Mode { scene, preview, new_password, configure, none };

inline constexpr const char* scene_window_title = "screen saver running";
inline constexpr const char* configuration_window_title = "Kolvane Screen Saver Configuration";

// The switch is the first two characters, upper-cased; empty counts as "/C".
Mode parse_switch(std::string_view command_line);
// The decimal number after the first two characters, blanks skipped; 0 when there is none.
std::uint32_t read_host_window(std::string_view command_line);

}  // namespace kolvane
