// Fuzzes loading the settings from a store holding any texts, and the desktop password switch from any registry value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "password/password_codec.h"
#include "platform/headless/headless_platform.h"
#include "startup/numeric.h"
#include "startup/settings.h"
#include "tests/fuzz/fuzz_check.h"

using kolvane::fuzz::check;

namespace {

// A flag held as a fraction that rounds to 0 ("0.4", "-0.5") is on, but the save writes it rounded; until
// the save keeps such texts they are left out of the comparison.
bool saved_as_number(const std::string& flag) {
    const auto number = kolvane::parse_number(flag);
    return !number || *number == 0.0 || kolvane::round_half_even(*number) != 0.0;
}

// What a reload must see again: the whole numbers, whether each flag is on, the folder and the password.
void check_same(const kolvane::Settings& a, const kolvane::Settings& b) {
    check(a.install_path == b.install_path, "install_path reloads unchanged");
    check(a.frame_rate == b.frame_rate, "frame_rate reloads unchanged");
    check(a.save_as_wallpaper == b.save_as_wallpaper, "save_as_wallpaper reloads unchanged");
    check(a.scroller_delay == b.scroller_delay, "scroller_delay reloads unchanged");
    check(a.scroller_active == b.scroller_active, "scroller_active reloads unchanged");
    check(a.audio_seconds == b.audio_seconds, "audio_seconds reloads unchanged");
    check(a.cycle_speed_value == b.cycle_speed_value, "cycle_speed_value reloads unchanged");
    check(a.object_frequency == b.object_frequency, "object_frequency reloads unchanged");
    check(!saved_as_number(a.show_time) || kolvane::flag_on(a.show_time) == kolvane::flag_on(b.show_time),
          "show_time reloads unchanged");
    check(!saved_as_number(a.audio_on) || kolvane::flag_on(a.audio_on) == kolvane::flag_on(b.audio_on),
          "audio_on reloads unchanged");
    check(a.plain_password == b.plain_password, "the password reloads unchanged");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    kolvane::headless::FakeSystem system;
    system.separator = input.ConsumeBool() ? '/' : '\\';
    kolvane::headless::MemoryStore store;
    for (const kolvane::SettingField& field : kolvane::settings_table())
        if (input.ConsumeBool()) store.set(field.key, input.ConsumeRandomLengthString(64));

    kolvane::Settings loaded;
    const bool usable = kolvane::load_settings(store, system, loaded);
    check(usable == (loaded.install_path != "empty"), "only a missing install folder stops the program");
    check(usable == system.boxes.empty(), "the message comes exactly when the program must stop");
    if (usable) {
        check(!loaded.install_path.empty() && loaded.install_path.back() == system.separator,
              "the install folder ends in the separator");
        check(kolvane::decode_password_text(loaded.stored_password) == loaded.plain_password, "the password is decoded");

        // Saving what was loaded and loading it again changes nothing.
        kolvane::headless::MemoryStore saved;
        saved.set("install_path", loaded.install_path);
        (void)kolvane::save_settings(saved, loaded);
        kolvane::Settings reloaded;
        check(kolvane::load_settings(saved, system, reloaded), "saved settings load");
        check_same(loaded, reloaded);
    }

    // The desktop's password switch, as text or as a number, from any value.
    kolvane::headless::MemoryRegistry registry;
    const std::string value = input.ConsumeRandomLengthString(300);
    if (input.ConsumeBool()) {
        registry.set_string(kolvane::RegistryRoot::current_user, "Control Panel\\Desktop", "ScreenSaveUsePassword", value);
    } else {
        registry.set_dword(kolvane::RegistryRoot::current_user, "Control Panel\\Desktop", "ScreenSaveUsePassword",
                           input.ConsumeIntegral<std::uint32_t>());
    }
    (void)kolvane::windows_password_enabled(registry);
    return 0;
}
