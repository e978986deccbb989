// A guest's sale going wrong at the kiosk: a key card that will not come
// out, a change the board never confirms, the desk lost half-way through a
// cash payment. The same processes as a sale that goes right.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "kiosk/support/paths.h"
#include "platform/cp949.h"
#include "tests/e2e/kiosk_sale_test.h"
#include "tests/support/file_text.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

// What the desk hears of a guest's money and steps.
const std::set<int> kMoneyReports = {505, 506, 507, 508, 515, 601};

class KioskSaleFailure : public CKioskSaleTest {
protected:
    void BeforeKiosk() override {
        CKioskSaleTest::BeforeKiosk();
        // A lost desk is looked for again at once, not after minutes.
        CEnvr(kRegistryApplication).WriteInt("TCP/IP", "ReconnectMs", 300);
    }

    static bool ResendFileHolds(const std::string& utf8) {
        return Utf8FromCp949(ReadWholeFile(GetLogPath("ReSend.log"))).find(utf8) !=
               std::string::npos;
    }
};

TEST_F(KioskSaleFailure, AKeyCardThatFailsTwiceLeavesTheGuestTheTicketAndTellsTheDesk) {
    // A card is written block 1, then block 2, then ejected: the first try
    // jams at block 1, the second, after the dispenser says it is ready
    // again, at block 2.
    ASSERT_EQ(m_dispenser->Command("reject-write 1 5").substr(0, 2), "ok");
    ASSERT_EQ(m_dispenser->Command("reject-write 2 5").substr(0, 2), "ok");
    BuyByCard(201, 35000);
    EXPECT_EQ(NextScripts("MakeTicketRes", 2), (std::vector<std::string>{"0||2", "1||0"}))
        << "no key card but a ticket, then the sale itself";
    EXPECT_EQ(JournalCount(601), 1u);
    EXPECT_TRUE(m_dispenser->IssuedCards().empty());
    std::vector<int> refused;
    for (const nlohmann::json& entry : m_dispenser->Journal()) {
        if (entry.value("event", "") == "write refused") {
            refused.push_back(entry.value("block", -1));
        }
    }
    EXPECT_EQ(refused, (std::vector<int>{1, 2}));
    ASSERT_TRUE(m_printer->WaitForDocuments(2)) << "the card receipt and the ticket";
    EXPECT_NE(m_printer->Documents()[1].dump().find("201호"), std::string::npos);
    EXPECT_TRUE(DeskReceived(505, 504)) << "the dispenser's jam";
    EXPECT_EQ(SavedFloat("RFCard"), kFloatAtStart) << "no key card counted out";
    EXPECT_TRUE(m_terminal->Cancels().empty()) << "the room is sold: the payment stands";
}

TEST_F(KioskSaleFailure, AChangeTheBoardNeverConfirmsEndsTheSaleWithoutIt) {
    // The board pays the note but never says so: the kiosk cannot count it
    // out, so its float keeps one 1,000-won note more than the dispenser,
    // which is what this test is about.
    m_checkFloatSide = false;
    // One 1,000-won note of change: its dispense timeout is ten seconds.
    PayWithNotes(201, 35000, {10000, 10000, 10000, 1000, 5000});
    ASSERT_TRUE(WaitForBoardInlets("bill-inlet=closed coin-inlet=closed")) << "at the price";
    ASSERT_EQ(m_board->Command("misbehave silent 1000").substr(0, 2), "ok");
    OrderTicket(201, 35000, true);
    ExpectScript("MakeTicketRes", "0||0");
    EXPECT_EQ(JournalCount(601), 1u);
    EXPECT_EQ(m_dispenser->IssuedCards().size(), 1u);
    EXPECT_TRUE(m_printer->WaitForDocuments(1));
    EXPECT_EQ(SavedFloat("1000"), kFloatAtStart) << "nothing confirmed, nothing counted out";
    EXPECT_EQ(SavedFloat("RFCard"), kFloatAtStart - 1);
}

TEST_F(KioskSaleFailure, ADeskLostDuringACashPaymentRefundsAndHearsOfItOnceBack) {
    Pay(201, 35000, true);
    // The note goes in once the kiosk has opened both inlets, having read the
    // board's counts between them: a note taken before that is reported
    // twice when the payment is cut short
    // (KioskCash.ANoteCancelledBeforeTheCountsWereReadIsReportedOnce).
    ASSERT_TRUE(WaitForBoardInlets("bill-inlet=open coin-inlet=open"));
    Insert(10000);
    ExpectScript("SetRecvMoney", "35000||10000||0");
    ASSERT_TRUE(DeskReceived(507)) << "the note inserted, the last report before the loss";
    // The desk stays away until the refund has been made, so every report
    // of it must wait in the kiosk.
    ASSERT_EQ(m_desk->Stop(), 0);
    ExpectScript("PopupError", "");
    ExpectScript("ReturnRecvMoneyRes", "1");
    const std::vector<nlohmann::json> payouts = m_board->Events("paid out");
    ASSERT_EQ(payouts.size(), 1u);
    EXPECT_EQ(payouts[0].value("won", 0), 10000) << "the note paid back";
    EXPECT_EQ(SavedFloat("10000"), kFloatAtStart - 1);
    EXPECT_TRUE(WaitUntil([] {
        return ResendFileHolds("4||0||0||1||0||0||") && ResendFileHolds("1||7||10000||");
    })) << "the payout and its step, kept to report";

    StartDesk();
    ExpectScript("InitRoomData", "");
    ExpectScript("ClearError", "");
    EXPECT_TRUE(DeskReceived(515, 7));
    std::vector<int> reports;
    for (const nlohmann::json& entry : m_desk->Journal()) {
        const int command = entry.value("command", 0);
        if (entry.value("event", "") != "received" || !kMoneyReports.contains(command)) {
            continue;
        }
        reports.push_back(command);
        if (command == 506) {
            EXPECT_EQ(entry.at("fields").value("notes10000", -1), kFloatAtStart - 1)
                << "the float after the refund";
        }
    }
    EXPECT_EQ(reports, (std::vector<int>{506, 508, 515}));
    EXPECT_FALSE(std::filesystem::exists(GetLogPath("ReSend.log")));
}

}  // namespace

}  // namespace hx
