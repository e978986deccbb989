#pragma once
// The text the kiosk logs and sends for a device event: by its code, and
// whether the condition occurred or has cleared. Card payment failures
// (402) carry the terminal's own words, the money journal's findings (701,
// 702) the amounts; codes without a text give "".

#include <string>
#include <string_view>

namespace hx {

enum enumDeviceEvent : int {
    EVENT_NORMAL_END = 2,
    EVENT_ABNORMAL_END = 3,
    EVENT_BOARD_LINK = 101,  // the control board's port
    EVENT_DOOR_OPEN = 102,
    EVENT_BILL_ACCEPTOR = 201,
    EVENT_BILL_DISPENSER1 = 202,
    EVENT_BILL_DISPENSER1_LOW = 203,
    EVENT_BILL_DISPENSER2 = 205,
    EVENT_BILL_DISPENSER2_LOW = 206,
    EVENT_PRINTERS_CLEARED = 300,
    EVENT_CARD_TERMINAL = 401,
    EVENT_CARD_PAYMENT_FAILED = 402,
    EVENT_DISPENSERS_CLEARED = 500,
    EVENT_OPEN_MONEY = 701,   // money a payment left undecided or unpaid
    EVENT_MONEY_BREAK = 702,  // cash or float sums that do not agree
    EVENT_INI_WRITE_FAILED = 3000,
};

std::string DeviceEventText(int code, bool cleared, std::string_view detail = {});

}  // namespace hx
