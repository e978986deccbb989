#include "kiosk/cash/board_devices.h"

#include "kiosk/cash/testing_board.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hx {

namespace {

using Calls = std::vector<std::string>;

const auto Record = BoardRecord;

class BoardDevices : public ::testing::Test {
protected:
    Calls Take() { return std::exchange(m_calls, {}); }

    Calls m_calls;
    bool m_float1Low = false;
    stBillsCounted m_lastBills;
    CBoardDevices m_devices{stBoardHooks{
        [this](int code, int state) {
            m_calls.push_back("event " + std::to_string(code) + " " + std::to_string(state));
        },
        [this] { m_calls.push_back("welcome"); },
        [this](const stBillsCounted& bills) {
            m_lastBills = bills;
            m_calls.push_back("bills " + std::to_string(bills.billsAmount));
        },
        [this](const stDispenseResult& result) {
            m_calls.push_back("payout " + std::to_string(result.amount));
        },
        [this](bool fault) { m_calls.push_back(fault ? "finished fault" : "finished ok"); },
        [this](int dispenser) { return dispenser == 1 && m_float1Low; },
        [this](std::string_view line) { m_calls.push_back("log " + std::string(line)); },
        nullptr,
    }};
};

TEST_F(BoardDevices, BillCountsAreRunningTotalsAndEachRiseIsTold) {
    m_devices.Apply(Record(RECORD_BILLS, {1, 1, 0, 0}));
    EXPECT_EQ(m_devices.BillsAmount(), 6000);
    EXPECT_EQ(m_lastBills.rose, (std::array<bool, 4>{true, true, false, false}));
    m_devices.Apply(Record(RECORD_BILLS, {1, 2, 0, 0}));
    EXPECT_EQ(m_devices.BillsAmount(), 11000);
    EXPECT_EQ(m_lastBills.rose, (std::array<bool, 4>{false, true, false, false}));
    m_devices.Apply(Record(RECORD_BILLS, {0, 0, 1, 1}));
    EXPECT_EQ(m_devices.BillsAmount(), 60000);
    EXPECT_EQ(m_lastBills.rose, (std::array<bool, 4>{false, false, true, true}));
    EXPECT_EQ(Take(), (Calls{"bills 6000", "bills 11000", "bills 60000"}));
}

TEST_F(BoardDevices, CoinsCountTowardsTheNextBillsReport) {
    m_devices.Apply(Record(RECORD_COINS, {9, 9, 3, 1}));
    EXPECT_EQ(m_devices.CoinsAmount(), 800);
    EXPECT_TRUE(Take().empty()) << "the screen learns of coins with the next bills record";
    m_devices.Apply(Record(RECORD_BILLS, {1, 0, 0, 0}));
    EXPECT_EQ(m_lastBills.coinsAmount, 800);
}

// A count the board sent before its reset reached it is the old session's
// money: taken for a new note it would be refunded or reported twice.
TEST_F(BoardDevices, CountsSentBeforeTheBoardsResetAreDroppedAfterAClear) {
    m_devices.Apply(Record(RECORD_BILLS, {0, 0, 1, 0}));
    m_devices.Apply(Record(RECORD_COINS, {0, 0, 2, 0}));
    m_devices.ClearCounts();
    EXPECT_EQ(m_devices.BillsAmount() + m_devices.CoinsAmount(), 0);
    Take();
    m_devices.Apply(Record(RECORD_COINS, {0, 0, 2, 0}));
    m_devices.Apply(Record(RECORD_BILLS, {0, 0, 1, 0}));
    EXPECT_EQ(m_devices.BillsAmount() + m_devices.CoinsAmount(), 0);
    EXPECT_EQ(Take(), (Calls{"log 동전 기록 무시: 초기화 전의 수량",
                             "log 지폐 기록 무시: 초기화 전의 수량"}));

    m_devices.OnCountsResetSent();
    m_devices.Apply(Record(RECORD_BILLS, {0, 0, 1, 0}));
    EXPECT_EQ(m_devices.BillsAmount(), 10000);
    EXPECT_TRUE(m_lastBills.rose[2]) << "after the reset the same count is a new note";
}

TEST_F(BoardDevices, RecordsTooShortForTheirTypeChangeNothing) {
    m_devices.Apply(Record(RECORD_BILLS, {1, 2}));
    m_devices.Apply(Record(RECORD_DISPENSER_STATUS, {0, 0, 7}));
    m_devices.Apply(Record(RECORD_BILL_ACCEPTOR, {5}));
    m_devices.Apply(Record(RECORD_COIN_SELECTOR, {}));
    m_devices.Apply(Record(99, {1, 2, 3, 4}));
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(m_devices.BillsAmount(), 0);
    EXPECT_FALSE(m_devices.HasCashDeviceError());
}

TEST_F(BoardDevices, DispenserOneLowIsAnEventAndAMarkButNotAPayoutFault) {
    m_devices.Apply(Record(RECORD_DISPENSER_STATUS, {0, 0, 0x02, 0}));
    EXPECT_EQ(Take(), (Calls{"event 203 0", "finished ok"}));
    EXPECT_EQ(m_devices.DispenserText(), "!!10");
    EXPECT_TRUE(m_devices.HasCashDeviceError());
    EXPECT_EQ(m_devices.DispenserStateCode(), 1);

    m_devices.Apply(Record(RECORD_DISPENSER_STATUS, {0, 0, 0x02, 0}));
    EXPECT_EQ(Take(), (Calls{"finished ok"})) << "a repeat is not an event";

    m_devices.Apply(Record(RECORD_DISPENSER_STATUS, {0, 0, 0, 0}));
    EXPECT_EQ(Take(), (Calls{"event 203 1", "finished ok"}));
    EXPECT_FALSE(m_devices.HasCashDeviceError());

    m_float1Low = true;
    m_devices.Apply(Record(RECORD_DISPENSER_STATUS, {0, 0, 0, 0}));
    EXPECT_EQ(Take(), (Calls{"event 203 0", "finished ok"})) << "a low float marks it too";
    EXPECT_EQ(m_devices.DispenserStateCode(), 1);
}

TEST_F(BoardDevices, DispenserStatusMarksFaultsPerUnit) {
    const struct {
        std::vector<uint8_t> data;
        const char* text;
        int state;
        bool payoutFault;
    } cases[] = {
        {{0x07, 1, 0, 0}, "!1!!1!!!1!5", 0, true}, {{0, 1, 0, 0}, "!5", 0, false},
        {{0, 0, 0x05, 0}, "!10!!!10", 1, true},    {{0, 0, 0, 0x01}, "!50", 2, false},
        {{0, 0, 0, 0x06}, "!!50", 2, true},        {{0, 0, 0x04, 0x04}, "!!!10!!!50", 3, true},
        {{0xF8, 0, 0xF8, 0xF8}, "", 0, false},
    };
    for (const auto& c : cases) {
        m_devices.Apply(Record(RECORD_DISPENSER_STATUS, c.data));
        EXPECT_EQ(m_devices.DispenserText(), c.text) << c.text;
        EXPECT_EQ(m_devices.DispenserStateCode(), c.state) << c.text;
        EXPECT_EQ(Take().back(), c.payoutFault ? "finished fault" : "finished ok") << c.text;
    }
}

TEST_F(BoardDevices, DispenserOneFaultClearsOnlyWhenBothFaultBitsAreGone) {
    m_devices.Apply(Record(RECORD_DISPENSER_STATUS, {0, 0, 0x01, 0}));
    m_devices.Apply(Record(RECORD_DISPENSER_STATUS, {0, 0, 0x04, 0}));
    m_devices.Apply(Record(RECORD_DISPENSER_STATUS, {0, 0, 0, 0x06}));
    m_devices.Apply(Record(RECORD_DISPENSER_STATUS, {0, 0, 0, 0}));
    EXPECT_EQ(Take(), (Calls{"event 202 0", "finished fault", "finished fault", "event 202 1",
                             "event 206 0", "event 205 0", "finished fault", "event 206 1",
                             "event 205 1", "finished ok"}));
}

TEST_F(BoardDevices, BillAcceptorFaultAndDoorAreToldOnChange) {
    m_devices.Apply(Record(RECORD_BILL_ACCEPTOR, {5, 0x30}));
    EXPECT_EQ(Take(), (Calls{"event 201 0", "event 102 0", "welcome"}));
    EXPECT_EQ(m_devices.BillAcceptorText(), "ON!E");
    EXPECT_TRUE(m_devices.IsDoorOpen());
    EXPECT_TRUE(m_devices.HasCashDeviceError());

    m_devices.Apply(Record(RECORD_BILL_ACCEPTOR, {5, 0x30}));
    EXPECT_EQ(Take(), (Calls{"welcome"}));

    m_devices.Apply(Record(RECORD_BILL_ACCEPTOR, {0, 0x10}));
    EXPECT_EQ(Take(), (Calls{"event 201 1", "event 102 1", "welcome"}));
    EXPECT_EQ(m_devices.BillAcceptorText(), "OFF");
    EXPECT_TRUE(m_devices.IsBillAcceptorOff());

    m_devices.Apply(Record(RECORD_BILL_ACCEPTOR, {4, 0x20}));
    EXPECT_EQ(Take(), (Calls{"event 201 0", "event 102 0"}));
    EXPECT_EQ(m_devices.BillAcceptorText(), "OFF!E");

    m_devices.Apply(Record(RECORD_BILL_ACCEPTOR, {7, 0x40}));
    EXPECT_TRUE(Take().empty()) << "unknown state and door codes change nothing";
    EXPECT_EQ(m_devices.BillAcceptorText(), "OFF!E");
}

TEST_F(BoardDevices, CoinSelectorShowsItsFaultBits) {
    const struct {
        uint8_t d0;
        const char* text;
        bool fault;
    } cases[] = {
        {0x01, "ON", false},
        {0x00, "OFF", false},
        {0x8D, "ON!C!S!J", true},
        {0x08, "OFF!J", true},
    };
    for (const auto& c : cases) {
        m_devices.Apply(Record(RECORD_COIN_SELECTOR, {c.d0}));
        EXPECT_EQ(m_devices.CoinSelectorText(), c.text);
        EXPECT_EQ(m_devices.HasCashDeviceError(), c.fault) << c.text;
    }
}

TEST_F(BoardDevices, ADispenseResultIsAPayoutOnlyWhilePending) {
    m_devices.SetDenominations(1000, 10000);
    m_devices.SetDispensing(true);
    m_devices.Apply(Record(RECORD_DISPENSE_RESULT, {3, 1, 2, 1}));
    EXPECT_EQ(m_devices.LastPayout(), 800 + 2000 + 10000);
    EXPECT_EQ(Take(), (Calls{"log 12,800 원 반환", "payout 12800"}));
    EXPECT_FALSE(m_devices.IsDispensing());
    m_devices.Apply(Record(RECORD_DISPENSE_RESULT, {0, 0, 1, 0}));
    EXPECT_EQ(Take(), (Calls{"log 1,000 원 반환"}));
}

TEST_F(BoardDevices, ThePortsFirstOutcomeIsAlwaysTold) {
    m_devices.ReportPortOpened(true);
    m_devices.ReportPortOpened(true);
    m_devices.ReportPortOpened(false);
    m_devices.ReportPortOpened(true);
    EXPECT_EQ(Take(), (Calls{"event 101 1", "event 101 0", "event 101 1"}));
}

}  // namespace

}  // namespace hx
