// The caption line's phases and the clock text, told to the platform's overlay view.
#include "scene/render/overlays.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>

#include "scene/scene.h"

namespace kolvane {

namespace {

void put_two_digits(ClockText& text, int value) {
    text.chars[text.length++] = static_cast<char>('0' + value / 10 % 10);
    text.chars[text.length++] = static_cast<char>('0' + value % 10);
}

// Without a clock of the platform's the standard library's local time and English designators serve.
struct TimeReading {
    TimeOfDay time;
    std::string_view morning = "AM";
    std::string_view afternoon = "PM";
};

TimeReading read_time(LocalClock* clock) {
    TimeReading reading;
    if (clock) {
        reading.time = clock->time_of_day();
        reading.morning = clock->morning_designator();
        reading.afternoon = clock->afternoon_designator();
        return reading;
    }
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now)) reading.time = {local->tm_hour, local->tm_min, local->tm_sec};
    return reading;
}

float pixel_height_twips(Scene& scene) { return static_cast<float>(scene.platform.system.twips_per_pixel_y()); }

// Every frame in which the caption moves, input counted so far is replaced by half the limit.
void caption_moved(Scene& scene) {
    const ScrollerState& scroller = scene.scroller;
    if (OverlayView* view = scene.platform.overlays) view->move(OverlayBox::caption, 0.0f, scroller.scroller_top);
    scene.run.input_count = static_cast<std::int16_t>(scene.run.input_limit / 2);
}

// A width in twips as whole pixels, for how much of a caption can show; within 64K pixels whatever the
// screen reports.
int pixels_across(Scene& scene, float twips) {
    constexpr double widest = 65536.0;
    const double per_pixel = scene.platform.system.twips_per_pixel_x();
    if (!(per_pixel > 0.0)) return static_cast<int>(widest);
    const double across = static_cast<double>(twips) / per_pixel;
    if (!(across < widest)) return static_cast<int>(widest);
    return across > 0.0 ? static_cast<int>(std::lround(across)) : 0;
}

void start_caption(Scene& scene, float window_height) {
    ScrollerState& scroller = scene.scroller;
    const float window_width = scene.platform.system.screen_width_twips();
    const int width_pixels = pixels_across(scene, window_width);
    scroller.scroller_top = window_height;  // just below the bottom edge
    scroller.caption_index += 1;
    if (scroller.caption_index > scene.lists.caption_count) scroller.caption_index = 1;
    if (OverlayView* view = scene.platform.overlays) {
        view->place(OverlayBox::caption, 0.0f, scroller.scroller_top, window_width, caption_box_height);
        const std::string& caption = scene.lists.captions[static_cast<std::size_t>(scroller.caption_index)];
        view->set_text(OverlayBox::caption, caption_shown(caption, width_pixels));
        view->set_visible(OverlayBox::caption, true);
    }
    scroller.scroller_phase = 1;
}

}  // namespace

std::string_view caption_shown(std::string_view caption, int width_pixels) {
    std::size_t cut = caption_bytes_shown(width_pixels);
    if (caption.size() <= cut) return caption;
    // A byte 10xxxxxx continues a UTF-8 character: the cut goes before the byte that starts it.
    for (int back = 0; back < 3 && (static_cast<unsigned char>(caption[cut]) & 0xC0u) == 0x80u; ++back) --cut;
    return caption.substr(0, cut);
}

ClockText format_clock_text(const TimeOfDay& time, std::string_view morning, std::string_view afternoon) {
    ClockText text;
    const int hour = time.hour % 12 == 0 ? 12 : time.hour % 12;
    put_two_digits(text, hour);
    text.chars[text.length++] = ':';
    put_two_digits(text, time.minute);
    text.chars[text.length++] = ':';
    put_two_digits(text, time.second);
    text.chars[text.length++] = ' ';
    const std::string_view designator = time.hour < 12 ? morning : afternoon;
    const std::size_t room = text.chars.size() - text.length;
    const std::size_t n = std::min(designator.size(), room);
    std::copy_n(designator.data(), n, text.chars.data() + text.length);
    text.length += n;
    return text;
}

void handle_time(Scene& scene) {
    if (!flag_on(scene.settings.show_time)) return;
    OverlayView* view = scene.platform.overlays;
    if (!view) return;
    const TimeReading reading = read_time(scene.platform.local_clock);
    const ClockText text = format_clock_text(reading.time, reading.morning, reading.afternoon);
    view->set_text(OverlayBox::clock, text.view());
    view->set_visible(OverlayBox::clock, true);
}

void handle_scroller(Scene& scene) {
    ScrollerState& scroller = scene.scroller;
    if (scene.settings.scroller_active == 0 || scene.lists.caption_count == 0) return;
    if (scroller.scroller_countdown != 0) {
        // A negative count acts every frame however low it is; it stops at the bottom of its range.
        if (scroller.scroller_countdown > std::numeric_limits<std::int32_t>::min()) scroller.scroller_countdown -= 1;
        if (scroller.scroller_countdown > 0) return;
    }
    // Positions are twips held in single precision and compared as such.
    const float window_height = scene.platform.system.screen_height_twips();
    if (scroller.scroller_phase == 0) start_caption(scene, window_height);
    if (scroller.scroller_phase == 1) {
        if (window_height - caption_box_height >= scroller.scroller_top) {
            scroller.scroller_phase = 2;
            scroller.scroller_countdown = caption_rest_frames;
        } else {
            scroller.scroller_top -= pixel_height_twips(scene);
            caption_moved(scene);
        }
    }
    if (scroller.scroller_phase == 2) {
        if (window_height + caption_sink_depth > scroller.scroller_top) {
            scroller.scroller_top += pixel_height_twips(scene);
            caption_moved(scene);
        } else {
            scroller.scroller_phase = 0;
            scroller.scroller_countdown = scene.run.scroller_period;
        }
    }
}

void place_time_box(Scene& scene) {
    OverlayView* view = scene.platform.overlays;
    if (!view) return;
    const float left = scene.platform.system.screen_width_twips() - clock_box_width;
    view->place(OverlayBox::clock, left, 0.0f, clock_box_width, clock_box_height);
}

void hide_overlays(Scene& scene) {
    if (OverlayView* view = scene.platform.overlays) {
        view->set_visible(OverlayBox::caption, false);
        view->set_visible(OverlayBox::clock, false);
    }
}

}  // namespace kolvane
