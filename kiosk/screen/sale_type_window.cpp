#include "kiosk/screen/sale_type_window.h"

namespace hx {

namespace {

constexpr int32_t kMidnightHour = 24;

// Wide enough that any hour and minute the server sends cannot overflow.
int64_t SecondOfDay(int64_t hour, int64_t minute, int64_t second = 0) {
    return hour * 3600 + minute * 60 + second;
}

void NormaliseHour(int32_t& hour) {
    if (hour == kMidnightHour) {
        hour = 0;
    }
}

}  // namespace

stSaleWindow RentalWindow(const stKioskConfig& config) {
    return {config.rentalRestricted != 0, config.rentalStartHour, config.rentalStartMinute,
            config.rentalEndHour, config.rentalEndMinute};
}

stSaleWindow SleepWindow(const stKioskConfig& config) {
    return {config.sleepRestricted != 0, config.sleepStartHour, config.sleepStartMinute,
            config.sleepEndHour, config.sleepEndMinute};
}

void NormaliseWindowHours(stKioskConfig& config) {
    for (int32_t* hour : {&config.rentalStartHour, &config.rentalEndHour, &config.sleepStartHour,
                          &config.sleepEndHour}) {
        NormaliseHour(*hour);
    }
}

bool IsWithinSaleWindow(const stSaleWindow& window, const stLocalTime& now) {
    if (!window.restricted) {
        return true;
    }
    const int64_t start = SecondOfDay(window.startHour, window.startMinute);
    const int64_t end = SecondOfDay(window.endHour, window.endMinute);
    const int64_t moment = SecondOfDay(now.hour, now.minute, now.second);
    if (end > start) {
        return start <= moment && moment <= end;
    }
    // Over midnight: today's part from the start, and the tail of the window
    // that began yesterday.
    return moment >= start || moment <= end;
}

enumSaleType SaleTypeAt(const stKioskConfig& config, const stLocalTime& now) {
    const bool rental = IsWithinSaleWindow(RentalWindow(config), now);
    const bool sleep = IsWithinSaleWindow(SleepWindow(config), now);
    if (rental && sleep) {
        return SALE_TYPE_ALL;
    }
    if (rental) {
        return SALE_TYPE_RENTAL;
    }
    return sleep ? SALE_TYPE_SLEEP : SALE_TYPE_NONE;
}

std::string_view SaleTypeWord(int saleType) {
    switch (saleType) {
        case SALE_TYPE_RENTAL:
            return "Rental";
        case SALE_TYPE_SLEEP:
            return "Sleep";
        case SALE_TYPE_ALL:
            return "All";
        default:
            return "None";
    }
}

}  // namespace hx
