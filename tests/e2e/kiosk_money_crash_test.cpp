// The kiosk loses its power in the middle of a cash sale: 35,000 won paid
// with four 10,000-won notes, 5,000 won of change. Ended at each step of the
// sale (the money journal ends it right after that step's entry is on the
// disk) and started again, it names exactly the money the guest is still
// owed, tells the desk, and its sums agree for everything that completed.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/kiosk_sale_test.h"
#include "tests/support/test_movie_page.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

struct stCrashPoint {
    const char* after;  // the journal entry, "KIND" or "KIND#N"
    int notes;          // 10,000-won notes inserted before it
    bool ordered;       // the guest asked for the ticket
    const char* open;   // what the restarted kiosk names, or nullptr
};

void PrintTo(const stCrashPoint& point, std::ostream* out) {
    *out << point.after;
}

// The board's money against the desk's sales: what neither sold nor paid out.
int UnaccountedWon(const stMoneyTrail& trail) {
    return trail.insertedWon - trail.cashSoldWon - trail.paidOutWon;
}

std::vector<stMoneyEntry> Findings() {
    CMoneyJournal journal;
    std::vector<stMoneyEntry> found;
    if (journal.Open(CMoneyJournal::DefaultFile(), true)) {
        for (const stMoneyEntry& entry : journal.EntriesFrom(0)) {
            if (entry.kind == enumMoneyKind::OpenMoney) {
                found.push_back(entry);
            }
        }
    }
    return found;
}

class KioskMoneyCrash : public CKioskSaleTest, public ::testing::WithParamInterface<stCrashPoint> {
protected:
    void BeforeKiosk() override {
        CKioskSaleTest::BeforeKiosk();
        m_start.environment = {std::string("HXKIOSK_MONEY_CRASH_AFTER=") + GetParam().after};
    }
};

TEST_P(KioskMoneyCrash, TheRestartedKioskNamesTheOpenMoneyExactly) {
    const stCrashPoint& point = GetParam();
    Pay(201, 35000, true);
    // Each note is seen before the next (the last one may end the kiosk).
    for (int note = 1; note <= point.notes; ++note) {
        Insert(10000);
        if (note < point.notes || point.ordered) {
            ExpectScript("SetRecvMoney", "35000||" + std::to_string(note * 10000) + "||" +
                                             std::to_string(note == 4 ? 5000 : 0));
        }
    }
    if (point.ordered) {
        OrderTicket(201, 35000, true);
    }
    ASSERT_EQ(m_kiosk.WaitForExit(), std::optional<int>(137)) << "ended at " << point.after;

    m_start.environment.clear();
    StartKioskWithPage();
    const std::vector<stMoneyEntry> found = Findings();
    const int named = found.empty() ? 0 : found[0].won;
    ASSERT_EQ(found.size(), point.open ? 1u : 0u);
    if (point.open) {
        EXPECT_EQ(found[0].text, point.open);
        EXPECT_TRUE(WaitUntil([&] { return !DeskEventTexts(701).empty(); }));
        EXPECT_EQ(DeskEventTexts(701),
                  (std::vector<std::string>{std::string("미정산 현금 ") + point.open}));
    }
    EXPECT_EQ(named, UnaccountedWon(MoneyTrail()))
        << "what the board took, less the desk's sale and the board's payouts";
    // The money the kiosk named is the guest's, not a break of the sums.
    m_checkCashSide = named == 0;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, KioskMoneyCrash,
    ::testing::Values(
        stCrashPoint{"inlets opened", 0, false, nullptr},
        stCrashPoint{"money counted", 1, false, "투입 후 정산 안됨 10,000원"},
        stCrashPoint{"money counted#2", 2, false, "투입 후 정산 안됨 20,000원"},
        stCrashPoint{"money counted#3", 3, false, "투입 후 정산 안됨 30,000원"},
        stCrashPoint{"money counted#4", 4, false, "투입 후 정산 안됨 40,000원"},
        stCrashPoint{"float saved", 4, true, "거스름돈 지급 안됨 5,000원 (투입 40,000원)"},
        stCrashPoint{"payout requested", 4, true, "방출 확인 안됨 5,000원 (투입 40,000원)"},
        stCrashPoint{"dispense result", 4, true, nullptr},
        stCrashPoint{"float saved#2", 4, true, nullptr}),
    [](const ::testing::TestParamInfo<stCrashPoint>& info) {
        std::string name;
        for (const char c : std::string(info.param.after)) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

using KioskMoneyKill = CKioskSaleTest;

TEST_F(KioskMoneyKill, NotesTakenBeforeAKillAreReportedAndShownAfterTheRestart) {
    Pay(201, 35000, true);
    Insert(10000);
    ASSERT_TRUE(WaitForKioskLog(std::regex("10,000 원 받음"), m_log, m_logFrom));
    ASSERT_TRUE(m_kiosk.Signal(enumChildSignal::Kill));
    EXPECT_EQ(m_kiosk.Stop(), std::nullopt) << "ended by the signal";

    StartKioskWithPage();
    EXPECT_TRUE(DeskReceived(505, 701));
    EXPECT_EQ(DeskEventTexts(701),
              (std::vector<std::string>{"미정산 현금 투입 후 정산 안됨 10,000원"}));
    const std::optional<std::uint16_t> port = WaitForScreenPort(m_log, m_logFrom);
    ASSERT_TRUE(port);
    const stHttpAnswer page = HttpGet(*port, "/service/money");
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("투입 후 정산 안됨 10,000원"), std::string::npos) << page.body;
    m_checkCashSide = false;  // the guest's 10,000 won is in the machine, named
}

}  // namespace

}  // namespace hx
