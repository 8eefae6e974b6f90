// The options dialog's logic.
#include "config_ui/options_dialog.h"

#include <algorithm>
#include <iterator>

#include "startup/numeric.h"

namespace kolvane {

namespace {

const SettingField& field_of(OptionSlider slider) { return *find_setting(slider_key(slider)); }

std::int32_t& member_of(Settings& s, OptionSlider slider) {
    switch (slider) {
        case OptionSlider::scene_length: return s.cycle_speed_value;
        case OptionSlider::object_frequency: return s.object_frequency;
        case OptionSlider::caption_frequency: return s.scroller_delay;
        case OptionSlider::audio_frequency: return s.audio_seconds;
        case OptionSlider::frame_rate: break;
    }
    return s.frame_rate;
}

constexpr OptionSlider sliders_in_order[] = {OptionSlider::scene_length, OptionSlider::audio_frequency,
                                             OptionSlider::caption_frequency, OptionSlider::object_frequency,
                                             OptionSlider::frame_rate};

// A stored 0 is replaced in the setting itself (20 ms for the frame rate, 1 for the others).
std::int32_t replacement_for_zero(OptionSlider slider) { return slider == OptionSlider::frame_rate ? 20 : 1; }

constexpr int max_object_size_index = static_cast<int>(std::size(object_size_items)) - 1;

// A check box is ticked by any number other than 0, as a flag is on.
bool ticked(std::int32_t value) { return value != 0; }

}  // namespace

const char* slider_key(OptionSlider slider) {
    switch (slider) {
        case OptionSlider::scene_length: return "cycle_speed_value";
        case OptionSlider::object_frequency: return "object_frequency";
        case OptionSlider::caption_frequency: return "scroller_delay";
        case OptionSlider::audio_frequency: return "audio_seconds";
        case OptionSlider::frame_rate: break;
    }
    return "frame_rate";
}

SliderRange slider_range(OptionSlider slider) {
    const SettingOption& o = field_of(slider).option;
    const int step = std::max(1, o.step);
    return {o.low / step, o.high / step, step};
}

void OptionsDialog::Form_Load() {
    opened_on_ = snapshot_settings(store_, settings_);
    system_.pump_events(0);
    system_.pump_events(0);
    display_settings();
}

void OptionsDialog::display_settings() {
    for (const OptionSlider slider : sliders_in_order) {
        std::int32_t& value = member_of(settings_, slider);
        if (value == 0) value = replacement_for_zero(slider);
        const SliderRange range = slider_range(slider);
        view_.set_slider_range(slider, range.low, range.high);
        // A value the store got from elsewhere shows at the nearest end of the range.
        const double position = round_half_even(static_cast<double>(value) / range.step);
        view_.set_slider(slider, static_cast<int>(std::clamp<double>(position, range.low, range.high)));
    }
    view_.set_check(OptionCheck::play_audio, flag_on(settings_.audio_on));
    view_.set_check(OptionCheck::display_time, flag_on(settings_.show_time));
    view_.set_check(OptionCheck::display_captions, ticked(settings_.scroller_active));
    view_.set_check(OptionCheck::save_as_wallpaper, ticked(settings_.save_as_wallpaper));
    view_.set_check(OptionCheck::large_backgrounds, flag_on(settings_.large_backgrounds));
    view_.set_choice(OptionChoice::object_size, std::clamp(settings_.object_scale, 0, max_object_size_index));
}

bool OptionsDialog::update_settings() {
    // One-character texts assigned as characters: GCC 12 warns wrongly about the literal form at -O3.
    settings_.show_time.assign(1, view_.check(OptionCheck::display_time) ? '1' : '0');
    settings_.audio_on.assign(1, view_.check(OptionCheck::play_audio) ? '1' : '0');
    settings_.scroller_active = view_.check(OptionCheck::display_captions) ? 1 : 0;
    settings_.save_as_wallpaper = view_.check(OptionCheck::save_as_wallpaper) ? 1 : 0;
    settings_.large_backgrounds.assign(1, view_.check(OptionCheck::large_backgrounds) ? '1' : '0');
    // A list with nothing chosen keeps the setting as it was.
    const int size = view_.choice(OptionChoice::object_size);
    if (size >= 0 && size <= max_object_size_index) settings_.object_scale = size;
    for (const OptionSlider slider : sliders_in_order)
        member_of(settings_, slider) = view_.slider(slider) * slider_range(slider).step;
    // Only what this dialog changed: a key stored meanwhile by another program (a password set with /A)
    // is not written over with the copy read when the dialog opened.
    return save_changed_settings(store_, settings_, opened_on_);
}

void OptionsDialog::Command1_Click() { view_.unload(); }
void OptionsDialog::Command2_Click() {
    view_.show_new_password();
    // That dialog stores its password itself: writing it again on closing could only undo a newer one.
    opened_on_.settings.plain_password = settings_.plain_password;
}
void OptionsDialog::Command7_Click() { view_.show_captions(); }
void OptionsDialog::Command8_Click() { view_.show_audio_files(); }
bool OptionsDialog::Form_Unload() {
    if (update_settings() || told_unsaved_) return true;
    told_unsaved_ = true;
    system_.message_box(options_unsaved_text, options_caption, MessageKind::warning);
    return false;
}

}  // namespace kolvane
