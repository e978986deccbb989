#include "kiosk/screen/sale_end_time.h"

#include "platform/local_time.h"

namespace hx {

namespace {

// The digits at [at, at + count); -1 when one is not a digit or missing.
int DigitsAt(std::string_view text, size_t at, size_t count) {
    if (at + count > text.size()) {
        return -1;
    }
    int value = 0;
    for (const char c : text.substr(at, count)) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::optional<int64_t> ParseSaleEndTime(std::string_view text) {
    stLocalTime time;
    time.year = DigitsAt(text, 0, 4);
    time.month = DigitsAt(text, 5, 2);
    time.day = DigitsAt(text, 8, 2);
    time.hour = DigitsAt(text, 11, 2);
    time.minute = DigitsAt(text, 14, 2);
    time.second = DigitsAt(text, 17, 2);
    const bool inRange = time.year >= 1970 && time.month >= 1 && time.month <= 12 &&
                         time.day >= 1 && time.day <= 31 && time.hour >= 0 && time.hour <= 23 &&
                         time.minute >= 0 && time.minute <= 59 && time.second >= 0 &&
                         time.second <= 60;
    const int64_t epoch = inRange ? EpochFromLocalTime(time) : -1;
    return epoch < 0 ? std::nullopt : std::optional(epoch);
}

}  // namespace hx
