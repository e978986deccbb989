#pragma once
// The money of a cash payment: the inlets opened with the price as target,
// the amount inserted shown on the screen and reported, the inlets closed
// when the price is reached, change or a refund paid out from the float,
// and the screen answered once the payout has ended. The float counts (notes
// in the two bill dispensers, blank key cards) live here and in
// "INI\SaveMoney.ini". Everything runs on the user interface thread.
//
// A payout is answered exactly once: after its dispense result, on a fault
// the board reports, or when its dispense timeout (timer 1, 10 s a piece)
// runs out; a payout that cannot be made up from the dispensers is answered
// at once with the failure answer.

#include <array>
#include <functional>
#include <optional>
#include <string_view>

#include "kiosk/cash/board_command_queue.h"
#include "kiosk/cash/board_devices.h"
#include "kiosk/cash/payout_plan.h"
#include "kiosk/support/daily_log.h"
#include "kiosk/support/float_counts.h"
#include "kiosk/support/money_journal.h"
#include "kiosk/support/paid_out.h"
#include "platform/wnd.h"

namespace hx {

class CCashPayment {
public:
    using MovieSink = std::function<void(std::string_view command, std::string_view args)>;

    struct stHooks {
        MovieSink movie;
        std::function<void(int code, std::string_view text)> reportStep;
        // 507: for 1,000, 5,000, 10,000 and 50,000 won, whether the count rose.
        std::function<void(const std::array<bool, 4>& rose)> reportCashIn;
        // 508 (after a float report); empty without a server channel.
        std::function<void(const stPaidOut& paid)> reportPayout;
        std::function<bool()> isBillInletOpen;
        std::function<void(std::string_view)> log = HXKioskLog;
        // Each money event, before the payment acts on it.
        std::function<void(stMoneyEntry)> journal = nullptr;
    };

    enum enumPayoutMode { PAYOUT_NONE, PAYOUT_CHANGE, PAYOUT_RETURN };

    static constexpr UINT_PTR kDispenseTimer = 1;
    static constexpr UINT kMsPerPiece = 10000;
    static constexpr int kDefaultLowStock = 20;

    CCashPayment(CBoardCommandQueue& queue, CBoardDevices& devices, stHooks hooks);

    // The window whose timer 1 is the dispense timeout.
    void Attach(CWnd& window) { m_window = &window; }
    void SetFloat(const stFloatCounts& counts) { m_float = counts; }
    const stFloatCounts& Float() const { return m_float; }
    // Denominations in won and low thresholds in notes, of dispensers 1 and 2.
    void SetDispensers(int denomination1, int lowStock1, int denomination2, int lowStock2);

    void StartCashAcceptance(int price);
    void StopCashAcceptance(bool reset);
    void SettleCash(bool returnAll);
    // Queues the payout when the dispensers make it up exactly; the pieces
    // it takes either way (0 below the smaller note).
    int DispenseAmount(int amount);
    void RecordPayout(const stPaidOut& paid);
    // The guest is home again: no payout is answered any more, the inlets
    // are closed and the counts cleared.
    void EndCashSession();

    // From the board.
    void OnBillsCounted(const stBillsCounted& counted);
    void OnDispenseResult(const stDispenseResult& result);
    void OnDispenserStatus(bool payoutFault);
    bool IsFloatLow(int dispenser) const;
    // True for the dispense timeout.
    bool OnTimer(UINT_PTR id);

    void ReportReceivedMoney(int received, int target);
    enumPayoutMode Mode() const { return m_mode; }
    int Target() const { return m_target; }
    // What the guest has inserted so far.
    int Received() const;
    // Money inserted that no change or refund has been started for.
    bool HoldsUnsettledMoney() const { return !m_settled && Received() > 0; }
    // From the inlets' opening until the session ends, its payout included.
    bool IsUnderway() const { return m_target > 0 || m_awaitingAnswer || HoldsUnsettledMoney(); }

private:
    std::optional<stPayoutPlan> QueuePayout(int amount);
    bool StartPayout(int amount);
    void AnswerPayout(bool paid);
    void Movie(std::string_view command, std::string_view args) const;
    void ReportStep(int code, std::string_view text) const;
    void Journal(stMoneyEntry entry) const;
    void JournalCounted(int received);

    CBoardCommandQueue& m_queue;
    CBoardDevices& m_devices;
    const stHooks m_hooks;
    CWnd* m_window = nullptr;
    stFloatCounts m_float;
    int m_denominations[2] = {1000, 5000};
    int m_lowStock[2] = {kDefaultLowStock, kDefaultLowStock};
    int m_target = 0;
    enumPayoutMode m_mode = PAYOUT_NONE;
    int m_change = 0;  // of the payout in progress, as settled
    bool m_awaitingAnswer = false;
    bool m_payoutRecorded = false;
    bool m_settled = false;     // since the payment began
    bool m_journalled = false;  // a session's opening is in the journal
    int m_countedInJournal = 0;
};

}  // namespace hx
