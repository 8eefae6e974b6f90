// Port to the local time of day and the system's designators for the two halves of the day.
#pragma once
#include <string_view>

namespace kolvane {

struct TimeOfDay {
    int hour = 0;  // 0 to 23
    int minute = 0;
    int second = 0;
};

class LocalClock {
public:
    virtual ~LocalClock() = default;
    virtual TimeOfDay time_of_day() = 0;
    virtual std::string_view morning_designator() = 0;    // "AM" on an English system
    virtual std::string_view afternoon_designator() = 0;  // "PM" on an English system
};

}  // namespace kolvane
