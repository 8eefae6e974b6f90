// A playback channel over MCI: the MIDI sequencer or the waveform-audio device, as a media-player control.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/media_channel.h"

namespace kolvane::win32 {

inline constexpr int mci_mode_stopped = 525;
inline constexpr int mci_mode_playing = 526;

// The number a media-player control reports for an MCI mode text ("stopped" is 525); 525 for
// anything it does not know, so an unknown state never holds a channel.
int mci_mode_number(std::string_view mode_text);
// What the engine is told of a mode number: only stopped and playing steer it.
MediaMode media_mode(int mode_number);

class MciChannel : public MediaChannel {
public:
    // The device is opened under this alias, so the two channels never meet.
    explicit MciChannel(std::string alias);
    ~MciChannel() override;
    MciChannel(const MciChannel&) = delete;
    MciChannel& operator=(const MciChannel&) = delete;

    void command(const std::string& name) override;
    void set_notify(bool on) override { notify_ = on; }
    void set_wait(bool on) override { wait_ = on; }
    void set_shareable(bool on) override { shareable_ = on; }
    void set_device_type(const std::string& type) override { device_type_ = type; }
    void set_file_name(const std::string& path) override { file_name_ = path; }
    // The device's mode, read from MCI at most every check_interval_ms and at once after a notification.
    // A device that did not open, refused to play, or reports playing while its position stands still
    // for stall_ms (a device with no sound hardware behind it) reports stopped.
    MediaMode mode() override;

    bool is_open() const { return open_; }
    HWND notify_window() const { return notify_window_; }

    static constexpr DWORD check_interval_ms = 250;
    static constexpr DWORD stall_ms = 3000;

private:
    static LRESULT CALLBACK notify_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    int query_mode(DWORD now);

    std::string alias_;
    std::string status_mode_;      // the two status queries, made once
    std::string status_position_;
    std::string device_type_;
    std::string file_name_;
    bool notify_ = false;
    bool wait_ = false;
    bool shareable_ = false;
    bool open_ = false;
    bool refused_ = false;  // Play failed
    bool notified_ = false;
    bool checked_ = false;
    DWORD last_check_ = 0;
    int last_mode_ = mci_mode_stopped;
    long last_position_ = -1;
    DWORD position_since_ = 0;
    HWND notify_window_ = nullptr;
};

}  // namespace kolvane::win32
