#include "kiosk/screen/sale_flow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kiosk/printing/printer_result.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

using Calls = std::vector<std::string>;

// The sale's partners as calls in order; the test says what the money,
// the approval and the dispenser hold.
class SaleFlow : public ::testing::Test {
protected:
    CSaleFlow::stHooks Hooks() {
        CSaleFlow::stHooks hooks;
        hooks.movie = [this](std::string_view command, std::string_view args) {
            Call(std::string(command) + " " + std::string(args));
        };
        hooks.requestSale = [this](const stSaleRequest& request) {
            Call("601 " + std::to_string(request.roomNo) + " cash " +
                 std::to_string(request.cashAmount) + " card " +
                 std::to_string(request.cardAmount) + " approval " +
                 std::to_string(request.approval.roomNo));
            return m_serverUp;
        };
        hooks.cashReceived = [this] { return m_received; };
        hooks.settleCash = [this](bool all) { Call(all ? "refund" : "change"); };
        hooks.approval = [this] { return m_approval; };
        hooks.voidApproval = [this] { Call("void approval"); };
        hooks.boardCommand = [this](int code) { Call("board " + std::to_string(code)); };
        hooks.issueKeyCard = [this](const stRoom4Kiosk& room, int64_t) {
            Call("card " + std::to_string(room.roomNo));
            const int result = m_cardResults.front();
            m_cardResults.erase(m_cardResults.begin());
            return result;
        };
        // The dispenser's answers in turn; the last one stays.
        hooks.dispenserHealth = [this] {
            if (m_onHealth) {
                m_onHealth();
            }
            const int health = m_health.front();
            if (m_health.size() > 1) {
                m_health.erase(m_health.begin());
            }
            return health;
        };
        hooks.keyCardPaidOut = [this] { Call("key card float"); };
        hooks.printTicket = [this](const stShopCardInfo& ticket) {
            Call("ticket " + ticket.amountText);
        };
        hooks.ticketFooter = [] { return std::string(); };
        hooks.pause = [this](std::chrono::milliseconds) { Call("pause"); };
        hooks.reportStep = [this](int code, std::string_view) {
            Call("step " + std::to_string(code));
        };
        hooks.reportEvent = [this](int code, std::string_view) {
            Call("event " + std::to_string(code));
        };
        hooks.log = [](std::string_view) {};
        return hooks;
    }

    void Call(std::string call) { m_calls.push_back(std::move(call)); }
    Calls Take() { return std::exchange(m_calls, {}); }

    static stSaleAnswer Answer(int room, int result) {
        stSaleAnswer answer;
        answer.result = result;
        answer.endTime = "2026-12-11 11:00:00";
        answer.room.roomNo = room;
        return answer;
    }

    void RequestCash(int room, int price) {
        m_received = price + 5000;
        m_sale.OnMakeTicket({room, false, true, price});
    }

    CTempDrive m_drive;
    CRoomCatalogue m_catalogue{[](std::string_view, std::string_view) {},
                               [](int, const std::string&) { return true; },
                               [](std::string_view) {},
                               {m_drive.Folder() / "RoomImages.ini", m_drive.Folder()}};
    Calls m_calls;
    bool m_serverUp = true;
    int m_received = 0;
    stCardApproval m_approval;
    std::vector<int> m_cardResults{30};
    std::vector<int> m_health{30};
    std::function<void()> m_onHealth;
    CSaleFlow m_sale{m_catalogue, Hooks()};
};

TEST_F(SaleFlow, OnlyTheAnswerToTheOutstandingSaleIsActedOnAndOnlyOnce) {
    m_sale.OnSaleAnswer(Answer(201, 1));
    EXPECT_TRUE(Take().empty()) << "no sale outstanding";

    // A second tap that arrives while the dispenser is asked (the window's
    // messages run meanwhile) finds the sale taken.
    bool tapped = false;
    m_onHealth = [&] {
        if (!std::exchange(tapped, true)) {
            RequestCash(201, 35000);
        }
    };
    RequestCash(201, 35000);
    EXPECT_TRUE(tapped);
    EXPECT_EQ(Take(), (Calls{"601 201 cash 35000 card 0 approval 0"}));
    RequestCash(201, 35000);
    EXPECT_TRUE(Take().empty()) << "a second MakeTicket while one is outstanding";
    m_sale.OnSaleAnswer(Answer(202, 1));
    EXPECT_TRUE(Take().empty()) << "another room's answer";

    m_sale.OnSaleAnswer(Answer(201, 1));
    EXPECT_EQ(Take(), (Calls{"board 1005", "board 907", "board 2002", "card 201", "key card float",
                             "ticket 35,000"}));
    EXPECT_TRUE(m_sale.IsAccepted());
    m_sale.OnSaleAnswer(Answer(201, -3));
    RequestCash(201, 35000);
    EXPECT_TRUE(Take().empty()) << "a late refusal refunds nothing of an accepted sale";
    m_sale.OnServerLost();
    EXPECT_TRUE(Take().empty()) << "nor does the loss of the server";
    EXPECT_TRUE(m_sale.IsAccepted());

    m_sale.OnTicketPrinted(PRINTER_READY);
    EXPECT_EQ(Take(), (Calls{"change", "step 15"}));
    m_sale.OnTicketPrinted(PRINTER_READY);
    EXPECT_TRUE(Take().empty()) << "the ticket's result counts once";
}

TEST_F(SaleFlow, ASaleThatDoesNotHappenGivesTheMoneyOrTheApprovalBack) {
    RequestCash(201, 35000);
    m_sale.OnSaleAnswer(Answer(201, -3));
    EXPECT_EQ(Take(),
              (Calls{"601 201 cash 35000 card 0 approval 0", "MakeTicketRes 0||4", "refund"}));

    RequestCash(201, 35000);
    EXPECT_TRUE(Take().empty()) << "a refused sale is over until a new payment";

    m_sale.OnPaymentChosen();
    m_approval.approvalNo = "30000001";
    m_approval.amount = 50000;
    m_sale.OnMakeTicket({202, true, false, 40000});
    EXPECT_TRUE(Take().empty()) << "an approval of another amount";
    m_sale.OnMakeTicket({202, true, false, 50000});
    m_sale.OnTimer(CSaleFlow::kSaleAnswerTimer);
    EXPECT_EQ(Take(), (Calls{"601 202 cash 0 card 50000 approval 202", "MakeTicketRes 0||4",
                             "void approval"}))
        << "no answer in time";
    m_sale.OnSaleAnswer(Answer(202, 1));
    EXPECT_TRUE(Take().empty()) << "the late answer";

    m_sale.OnPaymentChosen();
    m_serverUp = false;
    m_received = 30000;
    m_sale.OnMakeTicket({203, false, true, 35000});
    EXPECT_TRUE(Take().empty()) << "cash short of the price";
    RequestCash(203, 35000);
    EXPECT_EQ(Take(), (Calls{"601 203 cash 35000 card 0 approval 0", "PopupError ", "refund"}));

    m_sale.OnPaymentChosen();
    m_serverUp = true;
    m_health = {32};
    RequestCash(203, 35000);
    EXPECT_EQ(Take(), (Calls{"event 502", "MakeTicketRes 0||4", "refund"}))
        << "no sale without a key card to hand out";
    m_health = {33};
    m_sale.OnPaymentChosen();

    m_approval.amount = 35000;
    m_sale.OnMakeTicket({204, false, false, 35000});
    m_sale.OnServerLost();
    EXPECT_EQ(Take().back(), "void approval") << "lost before the answer";
}

TEST_F(SaleFlow, AKeyCardOrTicketThatFailsIsToldBeforeTheSaleEnds) {
    const struct {
        std::vector<int> cardResults;
        std::vector<int> health;  // before the sale, then at the retry
        int printed;
        Calls after;  // from the ticket's result on
    } cases[] = {
        {{30}, {30}, PRINTER_PAPER_OUT, {"MakeTicketRes 0||1", "change", "event 302"}},
        {{34, 34}, {30}, PRINTER_READY, {"MakeTicketRes 0||2", "change", "step 15", "event 503"}},
        {{34}, {30, 40}, PRINTER_FAULT, {"MakeTicketRes 0||3", "change", "event 301", "event 505"}},
    };
    for (const auto& test : cases) {
        m_cardResults = test.cardResults;
        m_health = test.health;
        m_sale.OnHome();
        RequestCash(201, 35000);
        m_sale.OnSaleAnswer(Answer(201, 1));
        Take();
        m_sale.OnTicketPrinted(test.printed);
        EXPECT_EQ(Take(), test.after) << test.cardResults.front() << " " << test.printed;
    }
    m_sale.OnHome();
    m_cardResults = {30};
    m_health = {30};
    m_approval = {};
    m_approval.approvalNo = "30000002";
    m_approval.amount = 35000;
    m_sale.OnMakeTicket({201, false, false, 35000});
    m_sale.OnSaleAnswer(Answer(201, 1));
    Take();
    m_sale.OnTimer(CSaleFlow::kTicketResultTimer);
    EXPECT_EQ(Take(), (Calls{"MakeTicketRes 0||1", "MakeTicketRes 1||0", "event 301"}))
        << "no ticket result in time";
}

}  // namespace

}  // namespace hx
