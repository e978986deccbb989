// A guest buys a room at the kiosk: the kiosk, our front-desk server, the
// control board on COM3, the key card dispenser on COM4, the receipt
// printer on COM0 and a movie client on the screen's socket, each a real
// process or socket.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/kiosk_sale_test.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

using KioskSale = CKioskSaleTest;

struct stCashSale {
    std::vector<int> notes;
    std::string answer;  // MakeTicketRes
    int changeNotes;     // 1,000-won notes
};

void PrintTo(const stCashSale& sale, std::ostream* out) {
    *out << "answered " << sale.answer;
}

class KioskCashSale : public CKioskSaleTest, public ::testing::WithParamInterface<stCashSale> {};

TEST_P(KioskCashSale, EndsInAKeyCardATicketAndTheChange) {
    const stCashSale& sale = GetParam();
    PayWithNotes(201, 35000, sale.notes);
    OrderTicket(201, 35000, true);
    OrderTicket(201, 35000, true);  // a double tap is ignored
    ExpectScript("MakeTicketRes", sale.answer);
    EXPECT_EQ(JournalCount(601), 1u);
    ASSERT_EQ(m_dispenser->IssuedCards().size(), 1u);
    ASSERT_TRUE(m_printer->WaitForDocuments(1));
    EXPECT_EQ(m_printer->Documents()[0].at("lines").at(0).at("text"), "201호");
    EXPECT_EQ(SavedFloat("1000"), kFloatAtStart - sale.changeNotes);
    EXPECT_EQ(SavedFloat("10000"), kFloatAtStart);
    EXPECT_EQ(SavedFloat("RFCard"), kFloatAtStart - 1) << "one key card";
    EXPECT_EQ(m_board->Events("paid out").size(), sale.changeNotes > 0 ? 1u : 0u);
}

// The sample motel's dispensers hold 1,000 and 10,000-won notes.
INSTANTIATE_TEST_SUITE_P(Notes, KioskCashSale,
                         ::testing::Values(stCashSale{{10000, 10000, 10000, 10000}, "1||5000", 5},
                                           stCashSale{{10000, 10000, 10000, 5000}, "1||0", 0}),
                         [](const ::testing::TestParamInfo<stCashSale>& info) {
                             return info.param.changeNotes > 0 ? "WithChange" : "OfTheExactPrice";
                         });

TEST_F(KioskSale, ACardSaleCarriesItsApprovalAndPrintsTheTicketAndTheReceipt) {
    BuyByCard(201, 35000);
    ExpectScript("MakeTicketRes", "1||0");
    ASSERT_EQ(m_terminal->Approvals().size(), 1u);
    ASSERT_EQ(m_dispenser->IssuedCards().size(), 1u);
    ASSERT_TRUE(m_printer->WaitForDocuments(2));
    const std::vector<nlohmann::json> documents = m_printer->Documents();
    const std::string approvalNo = m_terminal->Approvals()[0].at("approvalNo");
    EXPECT_NE(documents[0].dump().find("[승 인 번 호]  " + approvalNo), std::string::npos)
        << "the card receipt, queued at the approval, comes first";
    EXPECT_NE(documents[1].dump().find("201호"), std::string::npos);
    EXPECT_TRUE(m_terminal->Cancels().empty());
}

TEST_F(KioskSale, ASaleTheServerRefusesGivesTheCashBackAndCancelsTheApproval) {
    ASSERT_EQ(m_desk->Command("room 202 state=1").substr(0, 2), "ok");
    Pay(202, 20000, true);
    Insert(10000);
    Insert(10000);
    ExpectScript("SetRecvMoney", "20000||20000||0");
    ASSERT_TRUE(m_page.SendCommand("MakeTicket", "202||false||true||20000"));
    ExpectScript("MakeTicketRes", "0||4");
    ExpectScript("ReturnRecvMoneyRes", "1");
    EXPECT_TRUE(WaitUntil([&] { return SavedFloat("10000") == 98; })) << "both notes back";

    ASSERT_TRUE(m_page.SendCommand("SetHome", "true"));
    BuyByCard(202, 20000);
    ExpectScript("MakeTicketRes", "0||4");
    EXPECT_TRUE(WaitUntil([&] { return m_terminal->Cancels().size() == 1; }))
        << "the guest is not charged for a room they did not get";
    EXPECT_TRUE(m_dispenser->IssuedCards().empty());
}

TEST_F(KioskSale, ACancelTheTerminalCannotTakeIsKeptUntilItGoesOut) {
    Pay(201, 35000, false);
    ExpectScript("SetCreditRes", "1");
    const std::string approvalNo = m_terminal->Approvals().at(0).at("approvalNo");
    const uint16_t port = static_cast<uint16_t>(m_start.cardTerminalPort);
    m_terminal.reset();  // the terminal program is gone when the guest leaves
    ASSERT_TRUE(m_page.SendCommand("SetHome", "0||true"));
    EXPECT_TRUE(WaitUntil([&] { return !DeskEventTexts(402).empty(); }));
    EXPECT_EQ(DeskEventTexts(402),
              (std::vector<std::string>{"신용카드 결제 실패 취소 실패 " + approvalNo}));

    m_terminal = std::make_unique<CVCatSimProcess>("127.0.0.1", port, m_drive.MakeFolder("vcat2"));
    ASSERT_TRUE(m_terminal->WaitUntilListening());
    ASSERT_TRUE(m_page.SendCommand("SetHome", "0||true"));  // the next guest leaves
    EXPECT_TRUE(WaitUntil([&] {
        const std::vector<nlohmann::json> refused = m_terminal->Events("cancel refused");
        return !refused.empty() && refused[0].at("approvalNo") == approvalNo;
    })) << "the cancel went out (this terminal program never charged it)";
    EXPECT_EQ(DeskEventTexts(402).size(), 1u);
}

TEST_F(KioskSale, AGuestWhoGoesHomeWithMoneyInTheMachineGetsItBack) {
    Pay(201, 35000, true);
    Insert(10000);
    ExpectScript("SetRecvMoney", "35000||10000||0");
    ASSERT_TRUE(m_page.SendCommand("SetHome", "0||true"));
    EXPECT_TRUE(WaitUntil([&] { return SavedFloat("10000") == 99; })) << "the note paid back";
    EXPECT_TRUE(m_desk->WaitForJournal([](const nlohmann::json& entry) {
        return entry.value("event", "") == "received" && entry.value("command", 0) == 508;
    }));
    EXPECT_EQ(JournalCount(601), 0u);
}

TEST_F(KioskSale, NothingIsChargedWhileTheDispenserCannotHandOutACard) {
    ASSERT_EQ(m_dispenser->Command("fault empty on").substr(0, 2), "ok");
    Pay(201, 35000, true);
    EXPECT_TRUE(WaitForScript("PopupError"));
    EXPECT_TRUE(m_desk->WaitForJournal([](const nlohmann::json& entry) {
        return entry.value("event", "") == "received" && entry.value("command", 0) == 505;
    })) << "the dispenser's fault";
    EXPECT_TRUE(m_board->Command("bill 10000").starts_with("error")) << "the inlet stays shut";
    Pay(201, 35000, false);
    EXPECT_TRUE(WaitForScript("PopupError"));
    for (const nlohmann::json& request : m_terminal->Events("request")) {
        EXPECT_NE(request.value("code", ""), "0101") << "no card is charged";
    }
}

}  // namespace

}  // namespace hx
