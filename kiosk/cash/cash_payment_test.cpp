#include "kiosk/cash/cash_payment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kiosk/cash/testing_board.h"
#include "kiosk/support/paths.h"
#include "platform/ini_file.h"
#include "platform/loop_test_support.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

using Calls = std::vector<std::string>;

// The cash payment on a board whose records the test plays, with the
// board's commands sent (and answered) as the queue paces them.
class CashPayment : public CManualClockTest {
protected:
    void SetUp() override {
        CManualClockTest::SetUp();
        m_window.onMessage = [this](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            return message == WM_TIMER && (m_queue.OnTimer(wParam) || m_payment.OnTimer(wParam))
                       ? 0
                       : 1;
        };
        m_window.Create();
        m_queue.Attach(m_window);
        m_queue.Start();
        m_payment.Attach(m_window);
        m_payment.SetFloat({50, 50, 50, 10});
    }

    // The commands the queue sent since the last call.
    Calls Sent() {
        while (m_queue.Pending() > 0) {
            PumpMessagesFor(CBoardCommandQueue::kTickMs);
        }
        return std::exchange(m_sent, {});
    }
    Calls Take() { return std::exchange(m_calls, {}); }

    void Insert(std::vector<uint8_t> billCounts) {
        m_devices.Apply(BoardRecord(RECORD_BILLS, billCounts));
    }

    CTempDrive m_drive;
    Calls m_sent;
    Calls m_calls;
    CRecordingWnd m_window;
    CBoardCommandQueue m_queue{[this](const stControlBoardCommand& command) {
        std::string text = std::to_string(command.code);
        if (command.code == BOARD_DISPENSE) {
            text += " " + std::to_string(command.x) + "," + std::to_string(command.y) + "," +
                    std::to_string(command.z);
        }
        m_sent.push_back(text);
        if (command.code == BOARD_BILL_INLET_CLOSE_RESET) {
            m_devices.OnCountsResetSent();
        }
        m_queue.OnBoardAnswer();
    }};
    CBoardDevices m_devices{stBoardHooks{
        nullptr, nullptr, [this](const stBillsCounted& c) { m_payment.OnBillsCounted(c); },
        [this](const stDispenseResult& r) { m_payment.OnDispenseResult(r); },
        [this](bool fault) { m_payment.OnDispenserStatus(fault); },
        [this](int dispenser) { return m_payment.IsFloatLow(dispenser); }, nullptr, nullptr}};
    CCashPayment m_payment{
        m_queue, m_devices,
        CCashPayment::stHooks{
            [this](std::string_view command, std::string_view args) {
                m_calls.push_back(std::string(command) + ";" + std::string(args));
            },
            [this](int code, std::string_view text) {
                m_calls.push_back("step " + std::to_string(code) + " " + std::string(text));
            },
            [this](const std::array<bool, 4>& rose) {
                m_calls.push_back(std::string("cash in ") + (rose[0] ? "1" : "0") +
                                  (rose[1] ? "1" : "0") + (rose[2] ? "1" : "0"));
            },
            [this](const stPaidOut& paid) {
                m_calls.push_back("payout " + std::to_string(paid.notes1000) + "," +
                                  std::to_string(paid.notes5000) + "," +
                                  std::to_string(paid.notes10000));
            },
            [] { return false; },
            [this](std::string_view line) { m_calls.push_back("log " + std::string(line)); }}};
};

TEST_F(CashPayment, ChangeIsPaidFromTheFloatAndAnsweredOnceAfterItsResult) {
    m_payment.StartCashAcceptance(35000);
    EXPECT_EQ(Sent(), (Calls{"2001", "1004", "1001", "904", "901"}));
    Insert({0, 0, 4, 0});
    EXPECT_EQ(Take(), (Calls{"SetRecvMoney;35000||40000||5000", "step 4 40000", "cash in 001",
                             "log 40,000 원 받음"}));
    EXPECT_EQ(Sent(), (Calls{"1005", "907"})) << "the price is reached: inlets close";

    m_payment.SettleCash(false);
    EXPECT_EQ(Sent(), (Calls{"1007", "907", "2002", "806 0,0,1"}));
    m_devices.Apply(BoardRecord(RECORD_DISPENSER_STATUS, {0, 0, 0, 0}));
    EXPECT_TRUE(Take().empty()) << "a status before the result answers nothing";
    m_devices.Apply(BoardRecord(RECORD_DISPENSE_RESULT, {0, 0, 0, 1}));
    EXPECT_EQ(Take(), (Calls{"payout 0,1,0", "step 7 5000"}));
    EXPECT_EQ(m_payment.Float().notes5000, 49);
    EXPECT_EQ(GetPrivateProfileNumber("Money", "5000", -1, GetProgramPath("INI\\SaveMoney.ini")),
              49);
    m_devices.Apply(BoardRecord(RECORD_DISPENSER_STATUS, {0, 0, 0, 0}));
    m_devices.Apply(BoardRecord(RECORD_DISPENSER_STATUS, {0, 0, 0, 0}));
    EXPECT_EQ(Take(), (Calls{"MakeTicketRes;1||5000"})) << "once";
    PumpMessagesFor(60000);
    EXPECT_TRUE(Take().empty()) << "the dispense timeout went with the answer";
}

TEST_F(CashPayment, SettlementsWithoutAPayoutAreAnsweredAtOnce) {
    struct stCase {
        const char* what;
        int price;
        std::vector<uint8_t> bills;
        std::vector<uint8_t> coins;
        std::vector<uint8_t> status;
        bool returnAll;
        Calls answer;
    };
    for (const stCase& c : {
             stCase{
                 "exactly the price", 20000, {0, 0, 2, 0}, {}, {}, false, {"MakeTicketRes;1||0"}},
             stCase{"a cancel with nothing in", 20000, {}, {}, {}, true, {"ReturnRecvMoneyRes;1"}},
             stCase{"600 won in coins",
                    20000,
                    {},
                    {0, 0, 1, 1},
                    {},
                    true,
                    {"log 잘못된 반환금액 입니다.[600]", "ReturnRecvMoneyRes;0"}},
             stCase{"7,300 with dispenser 1 out of order",
                    2700,
                    {0, 0, 1, 0},
                    {},
                    {0, 0, 1, 0},
                    false,
                    {"log 방출기로 만들 수 없는 금액: 7,300 원", "MakeTicketRes;0||0"}},
         }) {
        SCOPED_TRACE(c.what);
        m_payment.StartCashAcceptance(c.price);
        if (!c.status.empty()) {
            m_devices.Apply(BoardRecord(RECORD_DISPENSER_STATUS, c.status));
        }
        if (!c.coins.empty()) {
            m_devices.Apply(BoardRecord(RECORD_COINS, c.coins));
        }
        if (!c.bills.empty()) {
            Insert(c.bills);
        }
        Take();
        m_payment.SettleCash(c.returnAll);
        EXPECT_EQ(Take(), c.answer);
        const Calls sent = Sent();
        EXPECT_TRUE(std::none_of(sent.begin(), sent.end(),
                                 [](const std::string& s) { return s.starts_with("806"); }));
        m_payment.EndCashSession();
        m_devices.Apply(BoardRecord(RECORD_DISPENSER_STATUS, {0, 0, 0, 0}));
        Sent();
        Take();
    }
}

TEST_F(CashPayment, ARefundTheBoardNeverConfirmsFailsAfterItsDispenseTimeout) {
    m_payment.StartCashAcceptance(35000);
    Insert({0, 1, 1, 0});
    Sent();
    Take();
    m_payment.SettleCash(true);
    EXPECT_EQ(Sent(), (Calls{"1007", "907", "2002", "806 0,0,3"}));
    PumpMessagesFor(30000 - 1200 - 1);  // three pieces: 30 s from the settlement
    EXPECT_TRUE(Take().empty());
    PumpMessagesFor(1);
    EXPECT_EQ(Take(), (Calls{"ReturnRecvMoneyRes;0"}));
    m_devices.Apply(BoardRecord(RECORD_DISPENSER_STATUS, {0, 0, 0, 0}));
    EXPECT_TRUE(Take().empty());
}

}  // namespace

}  // namespace hx
