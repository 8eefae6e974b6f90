// Port to the options dialog: five sliders, four check boxes and the three dialogs it opens.
#pragma once

namespace kolvane {

// The sliders, top to bottom.
enum class OptionSlider {
    scene_length,       // how long each scene is shown
    object_frequency,
    caption_frequency,
    audio_frequency,
    frame_rate,
};

enum class OptionCheck { play_audio, display_time, display_captions, save_as_wallpaper };

class OptionsView {
public:
    virtual ~OptionsView() = default;
    virtual void set_slider_range(OptionSlider slider, int low, int high) = 0;
    virtual void set_slider(OptionSlider slider, int value) = 0;
    virtual int slider(OptionSlider slider) = 0;
    virtual void set_check(OptionCheck check, bool ticked) = 0;
    virtual bool check(OptionCheck check) = 0;
    // Each runs modally and returns when the dialog has closed.
    virtual void show_audio_files() = 0;
    virtual void show_captions() = 0;
    virtual void show_new_password() = 0;
    // Closes the dialog; its unload handler still runs.
    virtual void unload() = 0;
};

}  // namespace kolvane
