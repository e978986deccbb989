#include "kiosk/cash/payout_plan.h"

#include <algorithm>

namespace hx {

namespace {

constexpr int kCoin = 100;
constexpr int kThousand = 1000;
constexpr int kBothPay = 0;
constexpr int kDispenser1Only = 2;

// Notes of the preferred dispenser first, the rest in the other's.
void PlanNotes(int amount, int preferred, int other, int& fromPreferred, int& fromOther) {
    fromPreferred = amount / preferred;
    fromOther = (amount - fromPreferred * preferred) / other;
}

}  // namespace

std::optional<stPayoutPlan> PlanPayout(int amount, int denomination1, int denomination2,
                                       int dispenserState) {
    if (amount < std::min(denomination1, denomination2) || denomination1 <= 0 ||
        denomination2 <= 0) {
        return std::nullopt;
    }
    stPayoutPlan plan;
    if (dispenserState == kDispenser1Only) {
        plan.notes1 = amount / denomination1;
    } else if (dispenserState != kBothPay) {  // only 2 pays, or neither (as only 2)
        plan.notes2 = amount / denomination2;
    } else if (denomination1 < denomination2) {
        PlanNotes(amount, denomination2, denomination1, plan.notes2, plan.notes1);
    } else {
        PlanNotes(amount, denomination1, denomination2, plan.notes1, plan.notes2);
    }
    const int hundreds = amount % kThousand;
    if (hundreds >= kCoin) {
        plan.coins100 = hundreds / kCoin;
    }
    plan.exact = plan.Value(denomination1, denomination2) == amount;
    return plan;
}

}  // namespace hx
