// A guest pays cash at the kiosk: the kiosk, our front-desk server, the
// control board simulator on the kiosk's COM3 and a movie client on the
// screen's socket, each a real process or socket.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kiosk/support/paths.h"
#include "platform/ini_file.h"
#include "tests/e2e/kiosk_with_desk_test.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

class KioskCash : public CKioskWithDeskTest {
protected:
    // The board's port opens a second after the kiosk starts; the guest
    // chooses cash once the kiosk has opened the bill inlet.
    void PayCash(int price) {
        ASSERT_TRUE(DevicesStarted());
        ASSERT_TRUE(
            m_page.SendCommand("SetPay", "201||false||" + std::to_string(price) + "||true"));
    }

    // Where the desk's journal first shows `command` received; the end when never.
    size_t FirstReceived(int command) const {
        const std::vector<nlohmann::json> journal = m_desk->Journal();
        for (size_t i = 0; i < journal.size(); ++i) {
            if (journal[i].value("event", "") == "received" &&
                journal[i].value("command", 0) == command) {
                return i;
            }
        }
        return journal.size();
    }
};

TEST_F(KioskCash, NotesUpToThePriceAreShownAndTheInletsClose) {
    // The test ends with the guest's notes in the machine, neither sold nor
    // paid back yet.
    m_checkCashSide = false;
    PayCash(35000);
    // Each note shows the new total (a record the board repeats shows it again).
    for (const auto& [won, shown] : {std::pair{10000, "35000||10000||0"},
                                     {10000, "35000||20000||0"},
                                     {10000, "35000||30000||0"},
                                     {5000, "35000||35000||0"}}) {
        Insert(won);
        ExpectScript("SetRecvMoney", shown);
    }
    EXPECT_TRUE(WaitUntil([&] { return m_board->Command("bill 1000").starts_with("error"); }))
        << "the bill inlet is closed at the price";
}

TEST_F(KioskCash, ACancelPaysBackFromTheFloatAndReportsThePayout) {
    PayCash(35000);
    Insert(10000);
    Insert(5000);
    ExpectScript("SetRecvMoney", "35000||15000||0");
    ASSERT_TRUE(m_page.SendCommand("ReturnRecvMoney", ""));
    ExpectScript("ReturnRecvMoneyRes", "1");
    // The sample motel's dispensers hold 1,000 and 10,000-won notes.
    EXPECT_TRUE(WaitUntil([&] { return SavedFloat("10000") == 99; })) << "one 10,000-won note";
    EXPECT_EQ(SavedFloat("1000"), 95) << "and five 1,000-won notes";
    EXPECT_EQ(SavedFloat("5000"), 100);
    EXPECT_TRUE(DeskReceived(508));
    EXPECT_EQ(JournalCount(601), 0u) << "nothing sold";
    EXPECT_TRUE(m_desk->WaitForJournal([](const nlohmann::json& entry) {
        const nlohmann::json fields = entry.value("fields", nlohmann::json::object());
        return entry.value("event", "") == "received" && entry.value("command", 0) == 515 &&
               fields.value("code", 0) == 7 && fields.value("text", "") == "15000";
    })) << "step 7 with what was paid back";
    EXPECT_LT(FirstReceived(506), FirstReceived(508)) << "the float, then the payout";
}

// A payment opens the bill inlet, then asks the board for its counts; a
// cancel in between clears the kiosk's counts, and the board's answer, still
// counting the note, must not pass for a new one (reported and refunded twice).
TEST_F(KioskCash, ANoteCancelledBeforeTheCountsWereReadIsReportedOnce) {
    ASSERT_TRUE(DevicesStarted());
    // The board carries out the sale signal and the inlet's opening without
    // answering them: the counts are then asked for at the queue's tick
    // after the note's own record, and the cancel comes first.
    ASSERT_EQ(m_board->Command("misbehave silent 2").rfind("ok", 0), 0u);
    PayCash(35000);
    Insert(10000);
    ExpectScript("SetRecvMoney", "35000||10000||0");
    ASSERT_TRUE(m_page.SendCommand("ReturnRecvMoney", ""));
    ExpectScript("ReturnRecvMoneyRes", "1");
    EXPECT_TRUE(DeskReceived(508));
    EXPECT_EQ(JournalCount(507), 1u) << "one note, one cash-in report";
}

TEST_F(KioskCash, ARefundTheBoardNeverConfirmsFailsAtItsDispenseTimeout) {
    // The board pays the note back without saying so: the kiosk cannot count
    // it out, so its float keeps one note more than the dispenser, which is
    // what this test is about.
    m_checkFloatSide = false;
    PayCash(35000);
    Insert(10000);
    ExpectScript("SetRecvMoney", "35000||10000||0");
    EXPECT_EQ(m_board->Command("misbehave silent 1000").rfind("ok", 0), 0u);
    ASSERT_TRUE(m_page.SendCommand("ReturnRecvMoney", ""));
    // One note: ten seconds from the settlement.
    ExpectScript("ReturnRecvMoneyRes", "0");
    EXPECT_EQ(SavedFloat("10000"), 100) << "nothing confirmed, nothing counted out";
    EXPECT_EQ(JournalCount(508), 0u);
}

}  // namespace

}  // namespace hx
