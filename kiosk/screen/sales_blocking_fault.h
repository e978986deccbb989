#pragma once
// Which device faults stop the kiosk selling. A bill dispenser that failed or
// ran low stops it only when change can no longer be given in the notes the
// rooms' prices call for.

namespace hx {

// What the cash handling knows of the two bill dispensers for change.
struct stChangeDispensers {
    int outOfOrder = 0;  // 1 = dispenser 1, 2 = dispenser 2, 3 = both
    int denomination1 = 1000;
    int denomination2 = 5000;
    int billUnit = 1000;  // the largest note that divides every room's price
};

// True for a fault of the board, the bill acceptors and dispensers, the
// printer, the card terminal or the key card dispenser (a condition that
// occurred, not its end).
bool IsBlockingFault(int code);

// True when the fault `code` (occurred) must stop sales now.
bool BlocksSales(int code, const stChangeDispensers& change);

}  // namespace hx
