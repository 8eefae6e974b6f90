// The Windows backend against the real registry and system calls (run under Wine).
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/win32_platform.h"
#include "startup/settings.h"
#include "startup/system_services.h"

namespace kolvane::win32 {
namespace {

constexpr const char* test_app = "Kolvane Backend Test";

TEST(RegistryStore, KeepsValuesWhereEarlierInstallationsKeptThem) {
    RegistryStore store;
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Kolvane Backend Test");
    EXPECT_EQ(store.get(test_app, "Config", "frame_rate", "45"), "45");
    store.save(test_app, "Config", "frame_rate", "30");
    store.save(test_app, "Config", "misc", "");
    EXPECT_EQ(store.get(test_app, "Config", "frame_rate", "45"), "30");
    EXPECT_EQ(store.get(test_app, "Config", "misc", "x"), "");

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Kolvane Backend Test\\Config", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    char buffer[16] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "frame_rate", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(buffer, "30");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Kolvane Backend Test");
}

TEST(Win32Registry, ReadsDwordAndStringValuesAsTheDesktopSwitchNeeds) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Kolvane Backend Test", 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const DWORD one = 1;
    RegSetValueExA(key, "Dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    RegSetValueExA(key, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    const std::string too_long(400, 'x');
    RegSetValueExA(key, "Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(too_long.c_str()),
                   static_cast<DWORD>(too_long.size() + 1));
    RegCloseKey(key);

    Win32Registry registry;
    EXPECT_EQ(read_registry_value(registry, hkey_current_user, "Software\\Kolvane Backend Test", "Dword"), "001");
    EXPECT_EQ(read_registry_value(registry, hkey_current_user, "Software\\Kolvane Backend Test", "Text"), "1");
    EXPECT_EQ(read_registry_value(registry, hkey_current_user, "Software\\Kolvane Backend Test", "Long"), "");
    EXPECT_EQ(read_registry_value(registry, hkey_current_user, "Software\\Kolvane Backend Test", "Missing"), "");
    EXPECT_EQ(read_registry_value(registry, hkey_current_user, "Software\\No Such Key", "Dword"), "");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Kolvane Backend Test");
}

TEST(Win32System, WindowsDirectoryClockAndWindowLookup) {
    Win32System system;
    const std::string dir = windows_directory(system);
    ASSERT_GE(dir.size(), 4u);
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_NE(GetFileAttributesA(dir.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(no_window_titled(system, "no window has this title 7c1e"));
    EXPECT_GT(system.twips_per_pixel_x(), 0.0);

    const std::int32_t start = get_ticks(system);
    pause_ms(system, 30);
    EXPECT_GE(ticks_until(start, get_ticks(system)), 30);
}

}  // namespace
}  // namespace kolvane::win32
