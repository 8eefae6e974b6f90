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

// The time of day as "hh:mm:ss" on a 12-hour clock, a blank and the designator of its half of the day.
struct ClockText {
    std::array<char, 48> chars{};
    std::size_t length = 0;
    std::string_view view() const { return {chars.data(), length}; }
};
ClockText format_clock_text(const TimeOfDay& time, std::string_view morning, std::string_view afternoon);

}  // namespace kolvane
