#include "platform/time_zone.h"

#include <time.h>

namespace hx {

std::tm LocalCalendarOf(std::time_t moment) {
    std::tm calendar{};
    ::localtime_r(&moment, &calendar);
    return calendar;
}

std::time_t MomentOfLocalCalendar(std::tm calendar) {
    calendar.tm_isdst = -1;
    return ::mktime(&calendar);
}

}  // namespace hx
