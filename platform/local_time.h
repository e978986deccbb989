#pragma once
// Wall-clock local time with milliseconds, as the kiosk stamps its logs and files.

#include <cstdint>
#include <string>

namespace hx {

struct stLocalTime {
    int year = 0;   // four digits
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

stLocalTime GetLocalTimeNow();

// Local time of a moment given as seconds since 1970 (the time of records on the wire).
stLocalTime LocalTimeFromEpoch(int64_t secondsSince1970);

// "YYYY-MM-DD hh:mm:ss", as logs, monitors and records show a moment.
std::string LocalTimeText(const stLocalTime& time);

// Seconds since 1970 of a local time (milliseconds ignored); -1 when it is
// none.
int64_t EpochFromLocalTime(const stLocalTime& time);

}  // namespace hx
