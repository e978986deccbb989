#include "platform/time_zone.h"

#include <time.h>

namespace hx {

// tzset first: localtime_r alone keeps the zone it found first, and a
// kiosk must follow a change of the machine's zone without a restart.
std::tm LocalCalendarOf(std::time_t moment) {
    ::tzset();
    std::tm calendar{};
    ::localtime_r(&moment, &calendar);
    return calendar;
}

std::time_t MomentOfLocalCalendar(std::tm calendar) {
    calendar.tm_isdst = -1;
    return ::mktime(&calendar);
}

}  // namespace hx
