// The local time of day and the AM/PM designators of the user's LC_TIME locale.
#pragma once
#include <ctime>
#include <string>
#include <string_view>

#include "ports/local_clock.h"

namespace kolvane::sdl {

// The designators are read once, when the clock is made, from a locale object of its own: the
// process's locale is left alone. A locale without them (a 24-hour one) gives empty designators.
class LocaleClock : public LocalClock {
public:
    LocaleClock();
    TimeOfDay time_of_day() override;
    std::string_view morning_designator() override { return morning_; }
    std::string_view afternoon_designator() override { return afternoon_; }

private:
    std::string morning_;
    // The broken-down time is worked out once per second; the system's time zone is looked at
    // again once a minute, so that a change of zone shows without a file check every frame.
    std::time_t second_shown_ = -1;
    std::time_t zone_checked_ = -1;
    TimeOfDay shown_{};
    std::string afternoon_;
};

}  // namespace kolvane::sdl
