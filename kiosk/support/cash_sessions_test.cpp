#include "kiosk/support/cash_sessions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hx {

namespace {

using K = enumMoneyKind;

stMoneyEntry E(K kind, int won = 0, int received = 0) {
    return {.kind = kind, .won = won, .received = received};
}

stMoneyEntry Float(int notes1000, int notes5000) {
    return {.kind = K::FloatSaved, .pieces = {.notes1000 = notes1000, .notes5000 = notes5000}};
}

stMoneyEntry Dispensed(int notes1000, int notes5000) {
    const stPaidOut pieces{.notes1000 = notes1000, .notes5000 = notes5000};
    return {.kind = K::DispenseResult, .won = pieces.Value(), .pieces = pieces};
}

stMoneyEntry Sale(K kind, int won, int result = 1) {
    return {.kind = kind, .won = won, .room = 201, .result = result};
}

// A cash sale of 35,000 won paid with four 10,000-won notes, step by step
// as the kiosk writes it; each case stops at one step.
std::vector<stMoneyEntry> SaleUpTo(size_t steps) {
    std::vector<stMoneyEntry> all = {
        Float(100, 100),
        {.kind = K::InletsOpened, .target = 35000},
        E(K::MoneyCounted, 0, 10000),
        E(K::MoneyCounted, 0, 40000),
        Sale(K::SaleRequested, 35000),
        Sale(K::SaleAnswered, 35000),
        {.kind = K::KeyCardIssued, .pieces = {.keyCards = 1}},
        E(K::ChangeDecided, 5000, 40000),
        {.kind = K::PayoutRequested, .won = 5000, .pieces = {.notes5000 = 1}},
        Dispensed(0, 1),
        {.kind = K::FloatSaved, .pieces = {.notes1000 = 100, .notes5000 = 99, .keyCards = -1}},
        {.kind = K::PayoutAnswered, .won = 5000, .result = 1},
        E(K::SessionEnded),
    };
    all.resize(steps);
    for (size_t i = 0; i < all.size(); ++i) {
        all[i].id = static_cast<int64_t>(i + 1);
    }
    return all;
}

TEST(CashSessions, EveryStepOfASaleNamesExactlyTheMoneyStillOpen) {
    const struct {
        size_t steps;
        const char* open;  // nullptr: nothing open
    } cases[] = {
        {2, nullptr},
        {3, "투입 후 정산 안됨 10,000원"},
        {4, "투입 후 정산 안됨 40,000원"},
        {5, "투입 후 정산 안됨 40,000원 (201 룸 구매 응답 전)"},
        {6, "거스름돈 지급 안됨 5,000원 (투입 40,000원)"},
        {8, "지급 안됨 5,000원 (투입 40,000원)"},
        {9, "방출 확인 안됨 5,000원 (투입 40,000원)"},
        {10, nullptr},
        {13, nullptr},
    };
    for (const auto& test : cases) {
        const std::vector<stCashSession> sessions = CashSessions(SaleUpTo(test.steps));
        ASSERT_EQ(sessions.size(), 1u) << test.steps;
        const auto open = OpenMoneyOf(sessions[0]);
        EXPECT_EQ(open ? open->text : "", test.open ? test.open : "") << test.steps;
        if (test.steps >= 10) {
            EXPECT_TRUE(CashBreaksOf(sessions[0]).empty()) << test.steps;
        }
    }
}

TEST(CashSessions, SumsThatDoNotAgreeAreEachASentence) {
    std::vector<stMoneyEntry> entries = SaleUpTo(13);
    // The board took one more note than the kiosk decided on, and paid a
    // 1,000-won note the float never lost.
    entries.insert(entries.begin() + 4, E(K::MoneyCounted, 0, 41000));
    entries.insert(entries.begin() + 11, Dispensed(1, 0));
    const std::vector<stCashSession> sessions = CashSessions(entries);
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(CashBreaksOf(sessions[0]),
              (std::vector<std::string>{
                  "현금 합계 불일치: 투입 41,000원, 판매 35,000원, 거스름돈·반환 5,000원",
                  "방출 초과: 지급할 돈 5,000원, 방출 6,000원",
                  "시재 불일치: 1,000원권 100장에서 100장, 방출 1장"}));
}

TEST(CashSessions, ASecondCashChoiceGoesOnWithTheMoneyAlreadyIn) {
    const std::vector<stMoneyEntry> entries = {
        {.kind = K::InletsOpened, .target = 35000},
        E(K::MoneyCounted, 0, 10000),
        {.kind = K::InletsOpened, .target = 30000},  // chosen again, nothing decided
        E(K::MoneyCounted, 0, 20000),
        E(K::RefundDecided, 20000, 20000),
        {.kind = K::PayoutRequested, .won = 20000},
        Dispensed(0, 4),
        {.kind = K::PayoutAnswered, .result = 1},
        {.kind = K::InletsOpened, .target = 30000},  // settled: a new payment
        E(K::MoneyCounted, 0, 5000),
    };
    const std::vector<stCashSession> sessions = CashSessions(entries);
    ASSERT_EQ(sessions.size(), 2u);
    EXPECT_EQ(sessions[0].inserted, 20000);
    EXPECT_FALSE(OpenMoneyOf(sessions[0]));
    EXPECT_TRUE(CashBreaksOf(sessions[0]).empty());
    EXPECT_EQ(OpenMoneyOf(sessions[1])->won, 5000);
}

TEST(CashSessions, APayoutAnsweredAsFailedLeavesTheGuestOwed) {
    std::vector<stMoneyEntry> entries = SaleUpTo(9);
    entries.push_back({.kind = K::PayoutAnswered, .won = 5000, .result = 0});
    entries.push_back(E(K::SessionEnded));
    const stCashSession session = CashSessions(entries).at(0);
    EXPECT_EQ(OpenMoneyOf(session)->text, "지급 안됨 5,000원 (투입 40,000원)");
    EXPECT_TRUE(CashBreaksOf(session).empty()) << "owed money is open, not a break";
}

}  // namespace

}  // namespace hx
