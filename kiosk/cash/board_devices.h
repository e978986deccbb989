#pragma once
// What the board's records say about the cash devices: the amounts inserted
// (running totals, not increments), the dispense results, the states and
// faults of the bill acceptor, coin selector and dispenser unit, and the
// door. Changes go out through the hooks; device events only when a
// condition comes or goes.

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "kiosk/cash/board_chunk.h"
#include "kiosk/cash/board_events.h"

namespace hx {

enum enumBoardRecordType : uint8_t {
    RECORD_COINS = 8,
    RECORD_COIN_SELECTOR = 11,
    RECORD_DISPENSE_RESULT = 21,
    RECORD_DISPENSER_STATUS = 22,
    RECORD_BILLS = 24,
    RECORD_BILL_ACCEPTOR = 27,
};

// The bills counted and whether each count rose since the last report, by
// denomination: 1,000, 5,000, 10,000 and 50,000 won.
struct stBillsCounted {
    int billsAmount = 0;
    int coinsAmount = 0;
    std::array<bool, 4> rose{};
};

struct stDispenseResult {
    int coins100 = 0;
    int coins500 = 0;
    int notesDispenser1 = 0;
    int notesDispenser2 = 0;
    int amount = 0;
};

struct stBoardHooks {
    std::function<void(int code, int state)> raiseEvent;
    std::function<void()> playWelcome;
    std::function<void(const stBillsCounted&)> billsCounted;
    // Only for a dispense result that arrives while a payout is pending.
    std::function<void(const stDispenseResult&)> payoutRecorded;
    // On every dispenser status; the fault counts the fault bits only, not
    // the low marks, so a low float does not fail a payout that was made.
    std::function<void(bool payoutFault)> dispenserStatus;
    // Whether the float of dispenser 1 or 2 is below its low threshold.
    std::function<bool(int dispenser)> isFloatLow;
    std::function<void(std::string_view)> kioskLog;
    // True while a guest pays: the board's start-up reset must wait.
    std::function<bool()> cashSessionUnderway;
};

class CBoardDevices {
public:
    explicit CBoardDevices(stBoardHooks hooks);

    // Records shorter than their type needs, and unknown types, change nothing.
    void Apply(const stBoardRecord& record);
    // Door open and greeting as the bill acceptor record reports them.
    void SetDoorState(bool open, bool greeting);
    // Amounts and previous counts back to 0, for a new cash session. The
    // board's own counts go back to 0 only when the inlet's close-and-reset
    // reaches it; money records until then still carry the old counts and
    // are dropped, so that no note counts twice.
    void ClearCounts();
    void OnCountsResetSent() { m_countsStale = false; }
    void ReportPortOpened(bool opened);

    void SetDispensing(bool dispensing) { m_dispensing = dispensing; }
    void SetDenominations(int dispenser1, int dispenser2);

    bool HasCashDeviceError() const;
    int BillsAmount() const { return m_billsAmount; }
    int CoinsAmount() const { return m_coinsAmount; }
    int LastPayout() const { return m_lastPayout; }
    int DispenserStateCode() const { return m_dispenserState; }
    bool IsDoorOpen() const { return m_doorOpen; }
    bool IsDispensing() const { return m_dispensing; }
    bool IsBillAcceptorOff() const { return m_billAcceptorOff; }
    const std::string& BillAcceptorText() const { return m_billAcceptorText; }
    const std::string& CoinSelectorText() const { return m_coinSelectorText; }
    const std::string& DispenserText() const { return m_dispenserText; }

private:
    using Data = std::array<uint8_t, kMaxBoardRecordData>;

    void ApplyCoins(const Data& d);
    void ApplyCoinSelector(const Data& d);
    void ApplyDispenseResult(const Data& d);
    void ApplyDispenserStatus(const Data& d);
    void ApplyBills(const Data& d);
    void ApplyBillAcceptor(const Data& d);
    void ApplyDoorCode(uint8_t code);
    bool IsFloatLow(int dispenser) const;
    bool DropStaleCounts(std::string_view what) const;

    stBoardHooks m_hooks;
    CBoardEvents m_events;
    int m_billsAmount = 0;
    int m_coinsAmount = 0;
    int m_lastPayout = 0;
    std::array<int, 4> m_previousBills{};
    int m_denomination1 = 1000;
    int m_denomination2 = 5000;
    bool m_billAcceptorFault = false;
    bool m_billAcceptorOff = true;
    bool m_coinSelectorFault = false;
    bool m_dispenserFault = false;
    int m_dispenserState = 0;
    bool m_doorOpen = false;
    bool m_dispensing = false;
    bool m_countsStale = false;
    std::string m_billAcceptorText = "OFF";
    std::string m_coinSelectorText;
    std::string m_dispenserText;
};

}  // namespace hx
