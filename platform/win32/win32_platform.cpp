// Windows registry, clock, pointer, window lookup and message boxes.
#include "platform/win32/win32_platform.h"

#include <windows.h>
#include <io.h>
#include <mmsystem.h>
#include <shlobj.h>

#include <vector>

namespace kolvane::win32 {

namespace {
std::string settings_key(const std::string& app, const std::string& section) {
    return "Software\\VB and VBA Program Settings\\" + app + "\\" + section;
}

int screen_dpi(int index) {
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, index) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}
}  // namespace

namespace {
// The text value `key` under `root`, when there is one.
std::optional<std::string> registry_text(HKEY root, const std::string& sub_key, const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, sub_key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    std::optional<std::string> result;
    if (RegQueryValueExA(handle, key.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<char> buffer(size + 1, '\0');
        if (RegQueryValueExA(handle, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
            ERROR_SUCCESS)
            result = std::string(buffer.data());
    }
    RegCloseKey(handle);
    return result;
}

bool folder_exists(const std::string& folder) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
}  // namespace

std::string RegistryStore::get(const std::string& app, const std::string& section, const std::string& key,
                               const std::string& fallback) {
    const std::string sub_key = settings_key(app, section);
    if (key != install_path_key) return registry_text(HKEY_CURRENT_USER, sub_key, key).value_or(fallback);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        const auto folder = registry_text(root, sub_key, key);
        if (folder && folder_exists(*folder)) return *folder;
    }
    return fallback;
}

bool RegistryStore::save(const std::string& app, const std::string& section, const std::string& key,
                         const std::string& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, settings_key(app, section).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG status = RegSetValueExA(handle, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

HKEY registry_root_key(RegistryRoot root) {
    const auto index = static_cast<ULONG_PTR>(static_cast<std::uint32_t>(root));
    return reinterpret_cast<HKEY>(reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT) + index);
}

RegistryType registry_type(unsigned long type) {
    if (type == REG_SZ) return RegistryType::text;
    if (type == REG_DWORD) return RegistryType::dword;
    return RegistryType::other;
}

std::optional<RegistryData> Win32Registry::query(RegistryRoot root, const std::string& sub_key,
                                                 const std::string& value_name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(registry_root_key(root), sub_key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return std::nullopt;
    char buffer[255];
    for (char& c : buffer) c = ' ';
    DWORD type = 0;
    DWORD length = sizeof buffer;
    const LONG status =
        RegQueryValueExA(handle, value_name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &length);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS) return std::nullopt;
    RegistryData data;
    data.type = registry_type(type);
    data.length = length;
    data.bytes.assign(buffer, buffer + (length < sizeof buffer ? length : sizeof buffer));
    return data;
}

std::uint32_t Win32System::time_get_time() { return timeGetTime(); }

bool deliver_pending_messages(void* modeless_dialog) {
    bool any = false;
    MSG msg;
    // Wide messages: a character typed into the password prompt on any layout reaches its box whole.
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        any = true;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        HWND dialog = static_cast<HWND>(modeless_dialog);
        if (dialog && IsWindow(dialog) && IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return any;
}

void Win32System::pump_events(std::int32_t timeout_ms) {
    if (deliver_pending_messages(dialog_) || timeout_ms <= 0) return;
    // Sleeps until a message arrives or the time is over; never spins.
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(timeout_ms), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    deliver_pending_messages(dialog_);
}

int Win32System::show_cursor(bool show) { return ShowCursor(show ? TRUE : FALSE); }

unsigned saver_state_action(SaverState state) {
    return state == SaverState::running ? SPI_SCREENSAVERRUNNING : SPI_SETSCREENSAVEACTIVE;
}

void Win32System::set_saver_state(SaverState state, bool on) {
    // TRUE travels as -1 (all bits set), the value the engine has always passed.
    const UINT param = on ? static_cast<UINT>(-1) : 0u;
    SystemParametersInfoA(saver_state_action(state), param, nullptr, 0);
}

void Win32System::set_desktop_wallpaper(const std::string& path) {
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()),
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

std::string Win32System::upper_case(std::string_view text) {
    std::string upper(text);
    if (!upper.empty()) CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

bool Win32System::window_titled_exists(const std::string& title) {
    return FindWindowA(nullptr, title.c_str()) != nullptr;
}

std::string Win32System::raw_windows_directory() {
    char buffer[256] = {};
    const UINT n = GetWindowsDirectoryA(buffer, 255);
    if (n == 0 || n > 255) return "";
    return std::string(buffer, n);
}

std::string Win32System::per_user_data_directory() {
    char buffer[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK) return "";
    std::string dir(buffer);
    if (dir.empty()) return "";
    if (dir.back() != '\\') dir += '\\';
    return dir + "Kolvane";
}

unsigned message_box_style(MessageKind kind) {
    switch (kind) {
        case MessageKind::error:
            return MB_OK | MB_ICONSTOP;
        case MessageKind::warning:
            return MB_OK | MB_ICONEXCLAMATION;
        case MessageKind::plain:
            break;
    }
    return MB_OK;
}

void Win32System::message_box(const std::string& text, const std::string& title, MessageKind kind) {
    // Owned by the active window, as a form's message box is, so it stays above a top-most window.
    MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), message_box_style(kind));
}

bool Win32System::ask_yes_no(const std::string& text, const std::string& title) {
    return MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool Win32System::flush_to_disk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
    const intptr_t handle = _get_osfhandle(_fileno(file));
    return handle != -1 && FlushFileBuffers(reinterpret_cast<HANDLE>(handle)) != 0;
}

std::string Win32System::program_folder() {
    char buffer[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, n);
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

double Win32System::twips_per_pixel_x() { return 1440.0 / screen_dpi(LOGPIXELSX); }
double Win32System::twips_per_pixel_y() { return 1440.0 / screen_dpi(LOGPIXELSY); }

float Win32System::screen_width_twips() {
    return static_cast<float>(GetSystemMetrics(SM_CXSCREEN) * twips_per_pixel_x());
}

float Win32System::screen_height_twips() {
    return static_cast<float>(GetSystemMetrics(SM_CYSCREEN) * twips_per_pixel_y());
}

namespace {
std::string locale_text(LCTYPE type, const char* fallback) {
    char buffer[32] = {};
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return n > 1 ? std::string(buffer) : std::string(fallback);
}
}  // namespace

Win32LocalClock::Win32LocalClock()
    : morning_(locale_text(LOCALE_S1159, "AM")), afternoon_(locale_text(LOCALE_S2359, "PM")) {}

TimeOfDay Win32LocalClock::time_of_day() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond};
}

std::int16_t Win32KeyboardLayout::vk_key_scan(unsigned char character) {
    return VkKeyScanA(static_cast<CHAR>(character));
}

std::uint32_t Win32KeyboardLayout::map_virtual_key(std::uint32_t code, std::uint32_t map_type) {
    return MapVirtualKeyA(code, map_type);
}

}  // namespace kolvane::win32
