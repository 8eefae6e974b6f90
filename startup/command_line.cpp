// Reading the command-line switch and the host window number.
#include "startup/command_line.h"

#include <cctype>
#include <string>

#include "startup/numeric.h"

namespace kolvane {

Mode parse_switch(std::string_view command_line) {
    std::string sw(command_line.substr(0, 2));
    for (char& c : sw) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (sw.empty() || sw == "/C") return Mode::configure;
    if (sw == "/S") return Mode::scene;
    if (sw == "/P") return Mode::preview;
    if (sw == "/A") return Mode::new_password;
    return Mode::none;
}

std::uint32_t read_host_window(std::string_view command_line) {
    std::string_view rest = command_line.size() > 2 ? command_line.substr(2) : std::string_view{};
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    std::size_t end = 0;
    if (end < rest.size() && (rest[end] == '-' || rest[end] == '+')) ++end;
    while (end < rest.size() && ((rest[end] >= '0' && rest[end] <= '9') || rest[end] == '.')) ++end;
    const auto number = parse_number(rest.substr(0, end));
    if (!number) return 0;
    const double rounded = round_half_even(*number);
    // A window number is 32 bits; anything outside reads as no window.
    if (rounded < -2147483648.0 || rounded > 4294967295.0) return 0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(rounded));
}

}  // namespace kolvane
