#pragma once
// The calendar fields of a moment in the machine's own time zone.

#include <ctime>

namespace hx {

// Thread-safe: each call fills its own result.
std::tm LocalCalendarOf(std::time_t moment);

}  // namespace hx
