#pragma once
// What a card dispenser command ended with: the dispenser's own result
// characters ('0' to '5', 0x40) as the codes 30 to 40, and the kiosk's own
// failures (no answer, a bad check byte, an answer it cannot read).

#include <string_view>

namespace hx {

enum enumDispenserResult {
    // A command asked for while another one waits for its answer: nothing
    // is sent.
    DISPENSER_BUSY = -4,
    DISPENSER_UNKOWN_PACKET = -3,
    DISPENSER_BCC_ERROR = -2,
    DISPENSER_RECV_ERROR = -1,
    DISPENSER_OK = 30,
    DISPENSER_ERROR = 31,
    DISPENSER_NO_CARD = 32,
    DISPENSER_EMPTY_CARD = 33,
    DISPENSER_CARD_HOLD = 34,
    DISPENSER_CARD_JAM = 35,
    DISPENSER_COMMUNICATION_ERROR = 40,
};

// A dispenser whose state is one of these can hand out a key card (a low
// stack still holds cards).
constexpr bool CanIssueKeyCard(int state) {
    return state == DISPENSER_OK || state == DISPENSER_EMPTY_CARD;
}

// The program's name of a result ("DISPENSER_OK"); empty for other values.
std::string_view DispenserResultName(int result);

}  // namespace hx
