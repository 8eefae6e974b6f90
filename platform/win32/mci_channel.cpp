// MCI playback: open, play with notification, close, and the mode as the status reports read it.
#include "platform/win32/mci_channel.h"

#include <mmsystem.h>

#include <array>
#include <cctype>
#include <cstdlib>

namespace kolvane::win32 {

namespace {

constexpr const char* notify_class = "KolvaneMciNotify";

using Reply = std::array<char, 128>;

// Sends one command string; true when it succeeded, its answer in `reply`.
bool mci(const std::string& command, Reply* reply = nullptr, HWND callback = nullptr) {
    Reply scratch{};
    Reply& buffer = reply ? *reply : scratch;
    buffer[0] = '\0';
    return mciSendStringA(command.c_str(), buffer.data(), static_cast<UINT>(buffer.size()), callback) == 0;
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

int mci_mode_number(std::string_view mode_text) {
    std::array<char, 16> buffer{};
    if (mode_text.size() >= buffer.size()) return mci_mode_stopped;
    for (std::size_t i = 0; i < mode_text.size(); ++i)
        buffer[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(mode_text[i])));
    const std::string_view mode(buffer.data(), mode_text.size());
    if (mode == "not ready") return 524;
    if (mode == "stopped") return mci_mode_stopped;
    if (mode == "playing") return mci_mode_playing;
    if (mode == "recording") return 527;
    if (mode == "seeking") return 528;
    if (mode == "paused") return 529;
    if (mode == "open") return 530;
    return mci_mode_stopped;
}

MediaMode media_mode(int mode_number) {
    if (mode_number == mci_mode_stopped) return MediaMode::stopped;
    if (mode_number == mci_mode_playing) return MediaMode::playing;
    return MediaMode::other;
}

MciChannel::MciChannel(std::string alias)
    : alias_(std::move(alias)), status_mode_("status " + alias_ + " mode"),
      status_position_("status " + alias_ + " position") {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(instance, notify_class, &wc)) {
        wc.lpfnWndProc = notify_proc;
        wc.hInstance = instance;
        wc.lpszClassName = notify_class;
        RegisterClassExA(&wc);
    }
    notify_window_ = CreateWindowExA(0, notify_class, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (notify_window_) SetWindowLongPtrA(notify_window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MciChannel::~MciChannel() {
    if (open_) mci("close " + alias_);
    if (notify_window_) {
        SetWindowLongPtrA(notify_window_, GWLP_USERDATA, 0);
        DestroyWindow(notify_window_);
    }
}

LRESULT CALLBACK MciChannel::notify_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == MM_MCINOTIFY) {
        // The notification is a status report: the next mode() reads the device at once.
        if (auto* self = reinterpret_cast<MciChannel*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
            self->notified_ = true;
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void MciChannel::command(const std::string& name) {
    const std::string verb = lower(name);
    if (verb == "open") {
        if (open_) mci("close " + alias_);
        std::string text = "open \"" + file_name_ + "\" type " + lower(device_type_) + " alias " + alias_;
        if (shareable_) text += " shareable";
        open_ = mci(text);
        refused_ = false;
        checked_ = false;
        return;
    }
    if (verb == "close") {
        if (open_) mci("close " + alias_);
        open_ = false;
        refused_ = false;
        return;
    }
    if (!open_) return;
    std::string text = verb + " " + alias_;
    if (verb == "play" || verb == "stop" || verb == "pause") {
        if (notify_ && notify_window_) text += " notify";
        if (wait_) text += " wait";
    }
    const bool ok = mci(text, nullptr, notify_ ? notify_window_ : nullptr);
    if (verb == "play") {
        refused_ = !ok;
        checked_ = false;
        last_position_ = -1;
        position_since_ = timeGetTime();
    }
}

int MciChannel::query_mode(DWORD now) {
    Reply reply{};
    if (!mci(status_mode_, &reply)) return mci_mode_stopped;
    const int mode = mci_mode_number(reply.data());
    if (mode != mci_mode_playing) return mode;
    // Playing with the position standing still: nothing is being played.
    if (!mci(status_position_, &reply)) return mode;
    const long position = std::strtol(reply.data(), nullptr, 10);
    if (position != last_position_) {
        last_position_ = position;
        position_since_ = now;
        return mode;
    }
    return now - position_since_ >= stall_ms ? mci_mode_stopped : mode;
}

MediaMode MciChannel::mode() {
    if (!open_ || refused_) return MediaMode::stopped;
    const DWORD now = timeGetTime();
    if (checked_ && !notified_ && now - last_check_ < check_interval_ms) return media_mode(last_mode_);
    notified_ = false;
    checked_ = true;
    last_check_ = now;
    last_mode_ = query_mode(now);
    return media_mode(last_mode_);
}

}  // namespace kolvane::win32
