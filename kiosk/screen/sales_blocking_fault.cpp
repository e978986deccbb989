#include "kiosk/screen/sales_blocking_fault.h"

#include "kiosk/support/device_event_text.h"

namespace hx {

namespace {

bool IsBillDispenserFault(int code) {
    return code == EVENT_BILL_DISPENSER1 || code == EVENT_BILL_DISPENSER1_LOW ||
           code == EVENT_BILL_DISPENSER2 || code == EVENT_BILL_DISPENSER2_LOW;
}

// Change needs the dispenser of the smaller note, and only while that note
// is not below what the prices are made of.
bool ChangeStillPossible(const stChangeDispensers& change) {
    constexpr int kBoth = 3;
    if (change.outOfOrder == kBoth) {
        return false;
    }
    if (change.denomination1 < change.denomination2) {
        return !(change.outOfOrder == 1 && change.denomination1 >= change.billUnit);
    }
    return !(change.outOfOrder == 2 && change.denomination2 >= change.billUnit);
}

}  // namespace

// An open door is worth knowing but stops nothing.
bool IsBlockingFault(int code) {
    if (code == EVENT_DOOR_OPEN) {
        return false;
    }
    return (code >= 101 && code <= 206) || (code >= 301 && code <= 303) ||
           (code >= 501 && code <= 505) || code == EVENT_CARD_TERMINAL;
}

bool BlocksSales(int code, const stChangeDispensers& change) {
    if (!IsBlockingFault(code)) {
        return false;
    }
    return !IsBillDispenserFault(code) || !ChangeStillPossible(change);
}

}  // namespace hx
