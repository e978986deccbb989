#include "platform/time_zone.h"

#include <time.h>

namespace hx {

std::tm LocalCalendarOf(std::time_t moment) {
    std::tm calendar{};
    ::localtime_r(&moment, &calendar);
    return calendar;
}

}  // namespace hx
