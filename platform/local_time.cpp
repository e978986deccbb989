#include "platform/local_time.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "platform/time_zone.h"

namespace hx {

namespace {

stLocalTime FromTm(const std::tm& tm, int millisecond) {
    stLocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.millisecond = millisecond;
    return t;
}

}  // namespace

stLocalTime GetLocalTimeNow() {
    const auto now = std::chrono::system_clock::now();
    const auto sinceEpoch = now.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch - seconds);
    const std::time_t asTimeT = static_cast<std::time_t>(seconds.count());
    return FromTm(LocalCalendarOf(asTimeT), static_cast<int>(millis.count()));
}

int64_t EpochFromLocalTime(const stLocalTime& time) {
    std::tm calendar{};
    calendar.tm_year = time.year - 1900;
    calendar.tm_mon = time.month - 1;
    calendar.tm_mday = time.day;
    calendar.tm_hour = time.hour;
    calendar.tm_min = time.minute;
    calendar.tm_sec = time.second;
    return MomentOfLocalCalendar(calendar);
}

stLocalTime LocalTimeFromEpoch(int64_t secondsSince1970) {
    return FromTm(LocalCalendarOf(static_cast<std::time_t>(secondsSince1970)), 0);
}

std::string LocalTimeText(const stLocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year % 10000,
                  time.month % 100, time.day % 100, time.hour % 100, time.minute % 100,
                  time.second % 100);
    return text;
}

}  // namespace hx
