// Fuzzes the reading of the classic command line: the mode switch and the host window number.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "startup/command_line.h"
#include "tests/fuzz/fuzz_check.h"

using kolvane::fuzz::check;
using kolvane::Mode;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    const Mode mode = kolvane::parse_switch(line);
    const bool slash = size >= 2 && line[0] == '/';
    const char letter = slash ? static_cast<char>(std::toupper(static_cast<unsigned char>(line[1]))) : '\0';
    if (size == 0) check(mode == Mode::configure, "no switch opens the configuration");
    if (size > 0 && !slash) check(mode == Mode::none, "only a slash starts a switch");
    if (slash) {
        const Mode expected = letter == 'C' ? Mode::configure : letter == 'S' ? Mode::scene
                              : letter == 'P' ? Mode::preview : letter == 'A' ? Mode::new_password : Mode::none;
        check(mode == expected, "the switch is its first two characters, case-blind");
    }
    (void)kolvane::read_host_window(line);

    // A window number as the display settings write it reads back as itself.
    if (size >= sizeof(std::uint32_t)) {
        std::uint32_t window = 0;
        std::memcpy(&window, data, sizeof window);
        check(kolvane::read_host_window("/P " + std::to_string(window)) == window, "a window number reads back");
        check(kolvane::read_host_window("/p" + std::to_string(window)) == window, "a window number without a blank");
    }
    return 0;
}
