#pragma once
// Whether the desk sells a room, and for how long: a vacant room is sold
// unless the scenario refuses it; the sold room takes the scenario's sold
// state. Day use lasts the room's own duration ("HHMM"), overnight stays end
// at the next checkout time.

#include <cstdint>
#include <string>
#include <vector>

#include "kiosk/records/room_records.h"
#include "kiosk/records/sale_records.h"
#include "tools/frontdesk/scenario.h"

namespace hx {

// The answer to a sale request; on acceptance the room in `rooms` is changed.
stSaleAnswer DecideSale(const stSaleRules& rules, std::vector<stRoom4Kiosk>& rooms,
                        const stSaleRequest& request, int64_t now);

// When a stay bought at `now` ends, in seconds since 1970.
int64_t StayEnd(const stSaleRules& rules, const stRoom4Kiosk& room, int32_t stayType, int64_t now);
// "YYYY-MM-DD HH:MM:SS" in local time, as the kiosk reads it by position.
std::string FormatEndTime(int64_t secondsSince1970);

}  // namespace hx
