// A guest's sale going wrong at the kiosk: a key card that will not come
// out, a change the board never confirms. The same processes as a sale
// that goes right.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/kiosk_sale_test.h"

namespace hx {

namespace {

using KioskSaleFailure = CKioskSaleTest;

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

}  // namespace

}  // namespace hx
