// Port to the options dialog: five sliders, five check boxes, the object size list and the three dialogs it opens.
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

enum class OptionCheck { play_audio, display_time, display_captions, save_as_wallpaper, large_backgrounds };

// A drop-down list of fixed choices; the index is the place in the list, from 0.
enum class OptionChoice { object_size };

class OptionsView {
public:
    virtual ~OptionsView() = default;
    virtual void set_slider_range(OptionSlider slider, int low, int high) = 0;
    virtual void set_slider(OptionSlider slider, int value) = 0;
    virtual int slider(OptionSlider slider) = 0;
    virtual void set_check(OptionCheck check, bool ticked) = 0;
    virtual bool check(OptionCheck check) = 0;
    virtual void set_choice(OptionChoice choice, int index) = 0;
    virtual int choice(OptionChoice choice) = 0;
    // Each runs modally and returns when the dialog has closed.
    virtual void show_audio_files() = 0;
    virtual void show_captions() = 0;
    virtual void show_new_password() = 0;
    // Closes the dialog; its unload handler still runs.
    virtual void unload() = 0;
};

}  // namespace kolvane
