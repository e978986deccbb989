#pragma once
// Which stay types the kiosk sells at a moment: day use and overnight stays
// may each be limited to a daily window set by the server.

#include <cstdint>
#include <string_view>

#include "kiosk/records/config_records.h"
#include "platform/local_time.h"

namespace hx {

enum enumSaleType : int {
    SALE_TYPE_NONE = 0,
    SALE_TYPE_RENTAL = 1,  // day use only
    SALE_TYPE_SLEEP = 2,   // overnight only
    SALE_TYPE_ALL = 3,
};

// One stay type's daily window; hours already taken from 24 to 0.
struct stSaleWindow {
    bool restricted = false;  // false: sold at any time
    int32_t startHour = 0;
    int32_t startMinute = 0;
    int32_t endHour = 0;
    int32_t endMinute = 0;
};

stSaleWindow RentalWindow(const stKioskConfig& config);
stSaleWindow SleepWindow(const stKioskConfig& config);

// The server writes midnight as hour 24; every window hour of 24 becomes 0.
void NormaliseWindowHours(stKioskConfig& config);

// Start and end count to the second, both included. A window whose end is
// not after its start runs over midnight: from the start to the end of the
// next day, so 22:00 to 06:00 covers 23:00 and 03:00 but not noon.
bool IsWithinSaleWindow(const stSaleWindow& window, const stLocalTime& now);

enumSaleType SaleTypeAt(const stKioskConfig& config, const stLocalTime& now);

// "Rental", "Sleep", "All", and "None" for any other value.
std::string_view SaleTypeWord(int saleType);

}  // namespace hx
