#pragma once
// The calendar fields of a moment in the machine's own time zone.

#include <ctime>

namespace hx {

// Thread-safe: each call fills its own result.
std::tm LocalCalendarOf(std::time_t moment);

// The moment of a local calendar time (tm_isdst is ignored: the zone's own
// daylight-saving rule decides), -1 when it has none.
std::time_t MomentOfLocalCalendar(std::tm calendar);

}  // namespace hx
