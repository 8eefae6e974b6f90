// Interface to the two text boxes above the scene picture (caption line and clock) and to the local time.
#pragma once
#include <string_view>

namespace kolvane {

enum class OverlayBox { caption, clock };

// The backend draws the boxes above the scene picture, never into it; geometry is in twips.
class OverlayView {
public:
    virtual ~OverlayView() = default;
    virtual void set_text(OverlayBox box, std::string_view text) = 0;
    virtual void place(OverlayBox box, float left, float top, float width, float height) = 0;
    virtual void move(OverlayBox box, float left, float top) = 0;
    virtual void set_visible(OverlayBox box, bool visible) = 0;
};

struct TimeOfDay {
    int hour = 0;  // 0 to 23
    int minute = 0;
    int second = 0;
};

// The local time of day and the system's designators for the two halves of the day.
class LocalClock {
public:
    virtual ~LocalClock() = default;
    virtual TimeOfDay time_of_day() = 0;
    virtual std::string_view morning_designator() = 0;    // "AM" on an English system
    virtual std::string_view afternoon_designator() = 0;  // "PM" on an English system
};

}  // namespace kolvane
