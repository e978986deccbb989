#pragma once
// What left the machine in one payout, by kind: notes, coins and key cards.

namespace hx {

struct stPaidOut {
    int notes1000 = 0;
    int notes5000 = 0;
    int notes10000 = 0;
    int notes50000 = 0;
    int coins500 = 0;
    int coins100 = 0;
    int keyCards = 0;

    int Notes() const { return notes1000 + notes5000 + notes10000 + notes50000; }
    // In won, coins included; key cards are worth nothing here.
    int Value() const {
        return notes1000 * 1000 + notes5000 * 5000 + notes10000 * 10000 + notes50000 * 50000 +
               coins500 * 500 + coins100 * 100;
    }
};

}  // namespace hx
