#include "tools/vcatsim/charge_ledger.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(ChargeLedgerTest, ApprovalNumbersAreEightDigitsAndNeverRepeat) {
    CChargeLedger ledger(99999999);
    const std::string first = ledger.Approve("1000", "20261210", "101500").approvalNo;
    const std::string second = ledger.Approve("1000", "20261210", "101501").approvalNo;
    EXPECT_EQ(first, "99999999");
    EXPECT_EQ(second, "00000000") << "eight digits even past the last number";
    EXPECT_NE(first, second);
}

TEST(ChargeLedgerTest, CancelsOnlyAnApprovalThatStandsWithItsWholeAmount) {
    struct stCase {
        const char* name;
        std::vector<std::pair<std::string, std::string>> earlierCancels;
        std::string approvalNo;
        std::string amount;
        enumCancelResult expected;
    };
    const stCase kCases[] = {
        {"standing approval", {}, "30000001", "50000", enumCancelResult::Cancelled},
        {"unknown number", {}, "30000009", "50000", enumCancelResult::Unknown},
        {"empty number", {}, "", "50000", enumCancelResult::Unknown},
        {"twice", {{"30000001", "50000"}}, "30000001", "50000", enumCancelResult::AlreadyCancelled},
        {"part of the amount", {}, "30000001", "40000", enumCancelResult::AmountDiffers},
        {"the other approval after one cancel",
         {{"30000001", "50000"}},
         "30000002",
         "70000",
         enumCancelResult::Cancelled},
    };
    for (const stCase& test : kCases) {
        SCOPED_TRACE(test.name);
        CChargeLedger ledger;
        ledger.Approve("50000", "20261210", "101500");
        ledger.Approve("70000", "20261210", "101600");
        for (const auto& [number, amount] : test.earlierCancels) {
            ledger.Cancel(number, amount);
        }
        const int cancelsBefore = ledger.CancelCount();
        EXPECT_EQ(ledger.Cancel(test.approvalNo, test.amount), test.expected);
        EXPECT_EQ(ledger.CancelCount(),
                  cancelsBefore + (test.expected == enumCancelResult::Cancelled ? 1 : 0));
    }
}

}  // namespace

}  // namespace hx
