// The designators from the environment's LC_TIME through a locale object, and the time from localtime_r once a second.
#include "platform/sdl/locale_clock.h"

#include <langinfo.h>
#include <locale.h>

#include <ctime>

namespace kolvane::sdl {

LocaleClock::LocaleClock() {
    // An unknown or broken locale in the environment still gives a clock: the "C" locale's designators.
    locale_t time_locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (time_locale == static_cast<locale_t>(0)) time_locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    if (time_locale == static_cast<locale_t>(0)) {
        morning_ = "AM";
        afternoon_ = "PM";
        return;
    }
    morning_ = nl_langinfo_l(AM_STR, time_locale);
    afternoon_ = nl_langinfo_l(PM_STR, time_locale);
    freelocale(time_locale);
}

TimeOfDay LocaleClock::time_of_day() {
    const std::time_t now = std::time(nullptr);
    if (now == second_shown_) return shown_;
    if (zone_checked_ < 0 || now - zone_checked_ >= 60 || now < zone_checked_) {
        tzset();
        zone_checked_ = now;
    }
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return {};
    second_shown_ = now;
    shown_ = {local.tm_hour, local.tm_min, local.tm_sec};
    return shown_;
}

}  // namespace kolvane::sdl
