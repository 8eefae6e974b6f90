// Fuzzes the INI settings file reader and the rewrite that sets one key, on any file contents.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/sdl/ini_store.h"
#include "startup/settings.h"
#include "tests/fuzz/fuzz_check.h"

using kolvane::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    // The program writes only its own keys, in its two sections; the file and the value can be anything.
    std::vector<std::string> keys{"ScreenSaveUsePassword"};
    for (const kolvane::SettingField& field : kolvane::settings_table()) keys.emplace_back(field.key);
    const std::string section = input.ConsumeBool() ? kolvane::config_section : "Desktop";
    const std::string& key = keys[input.ConsumeIntegralInRange<std::size_t>(0, keys.size() - 1)];
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    (void)kolvane::sdl::parse_ini(text);
    const std::string updated = kolvane::sdl::ini_with_value(text, section, key, value);
    const auto reread = kolvane::sdl::parse_ini(updated);
    const auto s = reread.find(section);
    check(s != reread.end() && s->second.count(key) == 1, "a key just saved can be read");
    return 0;
}
