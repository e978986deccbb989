#pragma once
// How a payout is made up from the two bill dispensers and the 100-won coin
// hopper: larger notes first, the rest of the thousands in the other
// dispenser's notes, the hundreds in coins (500 won goes as five 100-won
// coins: the 500-won position is never paid from). A dispenser the state
// code marks as out of order or low is left out.

#include <optional>

namespace hx {

// The dispenser state code: bit 0 dispenser 1 cannot pay, bit 1 dispenser 2
// cannot pay (0 both fine, 1 only 2 pays, 2 only 1 pays, 3 neither: then the
// larger-note rule of state 1 applies, as the board has no other way).
struct stPayoutPlan {
    int coins100 = 0;    // X of the dispense command
    int notes1 = 0;      // Y: notes from bill dispenser 1
    int notes2 = 0;      // Z: notes from bill dispenser 2
    bool exact = false;  // the pieces add up to the amount: only then is it paid

    int Pieces() const { return coins100 + notes1 + notes2; }
    int Value(int denomination1, int denomination2) const {
        return coins100 * 100 + notes1 * denomination1 + notes2 * denomination2;
    }
};

// Nullopt when the amount is below the smaller note (nothing is paid, and no
// piece is waited for).
std::optional<stPayoutPlan> PlanPayout(int amount, int denomination1, int denomination2,
                                       int dispenserState);

}  // namespace hx
