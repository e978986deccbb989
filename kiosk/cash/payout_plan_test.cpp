#include "kiosk/cash/payout_plan.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(PayoutPlan, LargerNotesFirstAndWhatTheStateLeavesOut) {
    struct stCase {
        int amount;
        int denomination1;
        int denomination2;
        int state;
        stPayoutPlan plan;  // coins100, notes1, notes2, exact
    };
    for (const stCase& c : {
             stCase{7300, 1000, 5000, 0, {3, 2, 1, true}},
             stCase{7300, 1000, 5000, 2, {3, 7, 0, true}},
             stCase{7300, 1000, 5000, 1, {3, 0, 1, false}},  // 5,300: not paid
             stCase{7300, 1000, 5000, 3, {3, 0, 1, false}},
             stCase{5000, 1000, 5000, 0, {0, 0, 1, true}},
             stCase{15000, 1000, 5000, 0, {0, 0, 3, true}},
             stCase{27000, 10000, 1000, 0, {0, 2, 7, true}},
             stCase{1500, 1000, 5000, 0, {5, 1, 0, true}},  // 500 as five coins
             stCase{1050, 1000, 5000, 0, {0, 1, 0, false}},
         }) {
        SCOPED_TRACE(c.amount);
        const std::optional<stPayoutPlan> plan =
            PlanPayout(c.amount, c.denomination1, c.denomination2, c.state);
        ASSERT_TRUE(plan);
        EXPECT_EQ(plan->coins100, c.plan.coins100);
        EXPECT_EQ(plan->notes1, c.plan.notes1);
        EXPECT_EQ(plan->notes2, c.plan.notes2);
        EXPECT_EQ(plan->exact, c.plan.exact);
    }
    EXPECT_EQ(PlanPayout(7300, 1000, 5000, 0)->Pieces(), 6) << "a 60 s dispense timeout";
}

TEST(PayoutPlan, AnAmountBelowTheSmallerNoteIsNoPayout) {
    EXPECT_FALSE(PlanPayout(600, 1000, 5000, 0));
    EXPECT_FALSE(PlanPayout(4000, 5000, 10000, 0));
    EXPECT_FALSE(PlanPayout(0, 1000, 5000, 0));
    EXPECT_TRUE(PlanPayout(1000, 1000, 5000, 0));
}

}  // namespace

}  // namespace hx
