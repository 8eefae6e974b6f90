// The caption line and the clock above the scene picture: their state machine, geometry and text.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ports/local_clock.h"
#include "ports/overlay_view.h"

namespace kolvane {

struct Scene;

// Fixed geometry of the boxes, in twips.
inline constexpr float caption_box_height = 420.0f;
inline constexpr float clock_box_width = 1035.0f;
inline constexpr float clock_box_height = 255.0f;
// A caption rests this many frames once in view, and sinks until its top is this far below the edge.
inline constexpr std::int32_t caption_rest_frames = 150;
inline constexpr float caption_sink_depth = 100.0f;

// How the backends draw the two boxes.
struct BoxStyle {
    std::uint32_t background;  // 0x00RRGGBB
    std::uint32_t text;
    const char* font;
    float points;
    bool bold;
};
inline constexpr BoxStyle caption_style{0x000080u, 0xFFFFFFu, "Arial", 14.25f, false};
inline constexpr BoxStyle clock_style{0x000000u, 0xFFFF00u, "Arial", 8.25f, true};

// Once per frame: the clock shows the time of day when show_time is on.
void handle_time(Scene& scene);
// Once per frame, last: starts, raises, rests and sinks the caption line.
void handle_scroller(Scene& scene);

// The clock box in the top right corner of the scene.
void place_time_box(Scene& scene);
// Both boxes hidden.
void hide_overlays(Scene& scene);

// The caption line shows one line of text, so only its start can show, however long the list entry:
// a character that shows is at least a pixel wide and at most four bytes long. The most bytes of a
// caption a box `width_pixels` wide is given, and the caption cut to them before a character.
inline constexpr std::size_t caption_bytes_shown(int width_pixels) {
    return 4 * (static_cast<std::size_t>(width_pixels > 0 ? width_pixels : 0) + 1);
}
std::string_view caption_shown(std::string_view caption, int width_pixels);

// One line of text in a box `box_width` pixels wide: how many of its characters are laid out, and the
// x of the first. A line that fits is centred; a longer one starts at the left edge and ends with the
// character that crosses the right one, so only what shows is measured (never more than box_width + 1
// characters). `advance(i)` is the pen's move over character i, kerning with the one before included.
struct LineLayout {
    std::size_t count = 0;
    int left = 0;
};
template <class Advance>
LineLayout lay_out_line(std::size_t length, int box_width, Advance&& advance) {
    const std::size_t most = static_cast<std::size_t>(box_width > 0 ? box_width : 0) + 1;
    int width = 0;
    std::size_t count = 0;
    for (; count < length; ++count) {
        if (count == most || width > box_width) return {count, 0};
        width += advance(count);
    }
    if (width > box_width) return {count, 0};
    return {count, (box_width - width) / 2};
}

// The time of day as "hh:mm:ss" on a 12-hour clock, a blank and the designator of its half of the day.
struct ClockText {
    std::array<char, 48> chars{};
    std::size_t length = 0;
    std::string_view view() const { return {chars.data(), length}; }
};
ClockText format_clock_text(const TimeOfDay& time, std::string_view morning, std::string_view afternoon);

}  // namespace kolvane
