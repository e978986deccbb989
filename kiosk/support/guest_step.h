#pragma once
// The step codes of the reports of a guest's visit (the screen's steps, the
// money inserted and paid out, the card approved, receipts printed).

namespace hx {

enum enumGuestStep : int {
    STEP_ROOM_CHOSEN = 0,
    STEP_STAY_CHOSEN = 1,
    STEP_PAYMENT_CHOSEN = 2,
    STEP_MONEY_INSERTED = 4,
    STEP_MONEY_PAID_OUT = 7,  // notes or coins left the float
    STEP_CARD_APPROVED = 10,
    STEP_KEY_CARD_PAID_OUT = 13,  // only key cards left the float
    STEP_RECEIPT_PRINTED = 15,
    STEP_HOME = 16,
    STEP_PREVIOUS_BUTTON = 17,
    STEP_HOME_BUTTON = 18,
    STEP_IDLE_TIMEOUT = 19,
};

}  // namespace hx
