// Fuzzes the Linux program's arguments: any words (cut at NUL bytes) and any XSCREENSAVER_WINDOW value.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sdl/run_options.h"
#include "startup/settings.h"
#include "tests/fuzz/fuzz_check.h"

using kolvane::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        words.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    // The first word stands for the daemon's window variable: unset when it is empty.
    const std::string variable = words.front();
    words.erase(words.begin());

    const auto options = kolvane::sdl::parse_run_options(words, variable.empty() ? nullptr : variable.c_str());
    if (!options.error.empty()) return 0;
    check(!options.hack || !options.command_line.empty(), "a hack run always has a mode");
    for (const auto& [key, text] : options.settings) {
        const kolvane::SettingField* field = kolvane::find_setting(key);
        check(field != nullptr && field->option.name != nullptr, "only keys with an option are set");
        char* end = nullptr;
        const long number = std::strtol(text.c_str(), &end, 10);
        check(*end == '\0' && !text.empty(), "a setting for the run is a whole number");
        check(number >= field->option.low && number <= field->option.high, "a setting for the run is in its range");
    }
    if (options.host == kolvane::sdl::SceneHost::foreign && !options.root)
        check(options.host_window != 0, "a foreign window is named unless it is the root");
    return 0;
}
