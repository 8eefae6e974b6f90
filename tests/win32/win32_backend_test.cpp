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

// install_path under HKCU, HKLM or both, each naming a folder that is there or not.
TEST(RegistryStore, InstallPathIsTheUsersElseTheMachinesNamingAFolderThatIsThere) {
    const std::string key = "Software\\VB and VBA Program Settings\\Kolvane Backend Test\\Config";
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string mine = std::string(temp) + "kolvane-store-user\\";
    const std::string machine = std::string(temp) + "kolvane-store-machine\\";
    const std::string gone = std::string(temp) + "kolvane-store-gone\\";
    CreateDirectoryA(mine.c_str(), nullptr);
    CreateDirectoryA(machine.c_str(), nullptr);
    RemoveDirectoryA(gone.c_str());
    const auto put = [&](HKEY root, const char* name, const std::string& value) {
        HKEY handle = nullptr;
        ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(handle);
    };
    struct Case {
        const char* what;
        std::string user, machine, expected;
    } cases[] = {
        {"the machine's for a user with none", "", machine, machine},
        {"the user's before the machine's", mine, machine, mine},
        {"the machine's over the user's that is gone", gone, machine, machine},
        {"none when every one is gone", gone, gone, "empty"},
        {"the user's with no machine value", mine, "", mine},
    };
    RegistryStore store;
    for (const Case& c : cases) {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            RegDeleteTreeA(root, "Software\\VB and VBA Program Settings\\Kolvane Backend Test");
        if (!c.user.empty()) put(HKEY_CURRENT_USER, "install_path", c.user);
        if (!c.machine.empty()) put(HKEY_LOCAL_MACHINE, "install_path", c.machine);
        EXPECT_EQ(store.get(test_app, "Config", "install_path", "empty"), c.expected) << c.what;
    }
    // Only the install folder is kept for every user; the rest is each user's own.
    put(HKEY_LOCAL_MACHINE, "frame_rate", "30");
    EXPECT_EQ(store.get(test_app, "Config", "frame_rate", "45"), "45");
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        RegDeleteTreeA(root, "Software\\VB and VBA Program Settings\\Kolvane Backend Test");
    RemoveDirectoryA(mine.c_str());
    RemoveDirectoryA(machine.c_str());
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

TEST(Win32Registry, EachRootIsThePredefinedKeyOfTheSameName) {
    EXPECT_EQ(registry_root_key(RegistryRoot::classes_root), HKEY_CLASSES_ROOT);
    EXPECT_EQ(registry_root_key(RegistryRoot::current_user), HKEY_CURRENT_USER);
    EXPECT_EQ(registry_root_key(RegistryRoot::local_machine), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(registry_root_key(RegistryRoot::users), HKEY_USERS);
    EXPECT_EQ(registry_root_key(RegistryRoot::performance_data), HKEY_PERFORMANCE_DATA);
    EXPECT_EQ(registry_root_key(RegistryRoot::current_config), HKEY_CURRENT_CONFIG);
    EXPECT_EQ(registry_root_key(RegistryRoot::dyn_data), HKEY_DYN_DATA);
}

TEST(Win32Registry, ReportsTheTypeTheEngineKnowsAndTheLengthAsQueried) {
    EXPECT_EQ(registry_type(REG_SZ), RegistryType::text);
    EXPECT_EQ(registry_type(REG_DWORD), RegistryType::dword);
    EXPECT_EQ(registry_type(REG_EXPAND_SZ), RegistryType::other);
    EXPECT_EQ(registry_type(REG_BINARY), RegistryType::other);
    EXPECT_EQ(registry_type(REG_NONE), RegistryType::other);

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Kolvane Backend Types", 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const DWORD seven = 7;
    const BYTE raw[3] = {1, 2, 3};
    RegSetValueExA(key, "Dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), sizeof seven);
    RegSetValueExA(key, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>("on"), 3);
    RegSetValueExA(key, "Raw", 0, REG_BINARY, raw, sizeof raw);
    RegCloseKey(key);

    Win32Registry registry;
    const auto dword = registry.query(RegistryRoot::current_user, "Software\\Kolvane Backend Types", "Dword");
    ASSERT_TRUE(dword.has_value());
    EXPECT_EQ(dword->type, RegistryType::dword);
    EXPECT_EQ(dword->length, 4u);
    EXPECT_EQ(dword->bytes, std::string("\x07\0\0\0", 4));
    const auto text = registry.query(RegistryRoot::current_user, "Software\\Kolvane Backend Types", "Text");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->type, RegistryType::text);
    EXPECT_EQ(text->length, 3u);
    EXPECT_EQ(text->bytes, std::string("on", 3));
    const auto binary = registry.query(RegistryRoot::current_user, "Software\\Kolvane Backend Types", "Raw");
    ASSERT_TRUE(binary.has_value());
    EXPECT_EQ(binary->type, RegistryType::other);
    EXPECT_EQ(binary->length, 3u);
    // The same path under another root is another key.
    EXPECT_FALSE(registry.query(RegistryRoot::local_machine, "Software\\Kolvane Backend Types", "Text").has_value());
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Kolvane Backend Types");
}

TEST(Win32System, MessageKindsCarryTheirIcons) {
    EXPECT_EQ(message_box_style(MessageKind::plain), static_cast<unsigned>(MB_OK));
    EXPECT_EQ(message_box_style(MessageKind::error), static_cast<unsigned>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(message_box_style(MessageKind::warning), static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
    // The numbers the program's message boxes have always been shown with.
    EXPECT_EQ(message_box_style(MessageKind::error), 16u);
    EXPECT_EQ(message_box_style(MessageKind::warning), 48u);
}

TEST(Win32System, SaverStatesReachTheSystemsOwnSettings) {
    EXPECT_EQ(saver_state_action(SaverState::running), static_cast<unsigned>(SPI_SCREENSAVERRUNNING));
    EXPECT_EQ(saver_state_action(SaverState::active), static_cast<unsigned>(SPI_SETSCREENSAVEACTIVE));

    BOOL before = FALSE;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &before, 0));
    Win32System system;
    BOOL active = TRUE;
    system.set_saver_state(SaverState::active, false);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
    EXPECT_FALSE(active);
    system.set_saver_state(SaverState::active, true);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
    EXPECT_TRUE(active);
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, static_cast<UINT>(before), nullptr, 0);

    BOOL running = FALSE;
    system.set_saver_state(SaverState::running, true);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0));
    EXPECT_TRUE(running);
    system.set_saver_state(SaverState::running, false);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0));
    EXPECT_FALSE(running);
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
