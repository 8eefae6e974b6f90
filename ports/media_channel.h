// Port to one playback device with the operations of a media-player control.
#pragma once
#include <string>

namespace kolvane {

// What a channel reports of its device.
enum class MediaMode { stopped, playing, other };

class MediaChannel {
public:
    virtual ~MediaChannel() = default;
    // "Open", "Play" or "Close".
    virtual void command(const std::string& name) = 0;
    virtual void set_notify(bool on) = 0;
    virtual void set_wait(bool on) = 0;
    virtual void set_shareable(bool on) = 0;
    // "Sequencer" or "WaveAudio".
    virtual void set_device_type(const std::string& type) = 0;
    virtual void set_file_name(const std::string& path) = 0;
    // MediaMode::stopped once the device has stopped or could not play.
    virtual MediaMode mode() = 0;
};

}  // namespace kolvane
