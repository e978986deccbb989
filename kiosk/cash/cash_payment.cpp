#include "kiosk/cash/cash_payment.h"

#include <string>
#include <utility>

#include "kiosk/support/guest_step.h"
#include "kiosk/support/money_text.h"

namespace hx {

namespace {

// The notes of a denomination among counts (the float, a payout).
template <class Counts>
auto& NotesOf(Counts& counts, int denomination) {
    if (denomination == 1000) {
        return counts.notes1000;
    }
    return denomination == 5000 ? counts.notes5000 : counts.notes10000;
}

}  // namespace

CCashPayment::CCashPayment(CBoardCommandQueue& queue, CBoardDevices& devices, stHooks hooks)
    : m_queue(queue), m_devices(devices), m_hooks(std::move(hooks)) {}

void CCashPayment::SetDispensers(int denomination1, int lowStock1, int denomination2,
                                 int lowStock2) {
    m_denominations[0] = denomination1;
    m_denominations[1] = denomination2;
    m_lowStock[0] = lowStock1;
    m_lowStock[1] = lowStock2;
    m_devices.SetDenominations(denomination1, denomination2);
}

void CCashPayment::StartCashAcceptance(int price) {
    Journal({.kind = enumMoneyKind::InletsOpened, .target = price});
    m_journalled = true;
    if (!m_hooks.isBillInletOpen || !m_hooks.isBillInletOpen()) {
        for (int code : {BOARD_SIGNAL_SALE_START, BOARD_BILL_INLET_OPEN, BOARD_BILL_ALL_DATA,
                         BOARD_COIN_INLET_OPEN, BOARD_COIN_ALL_DATA}) {
            m_queue.QueueBoardCommand(code);
        }
    }
    m_target = price;
    m_settled = false;
}

void CCashPayment::StopCashAcceptance(bool reset) {
    m_queue.QueueBoardCommand(reset ? BOARD_BILL_INLET_CLOSE_RESET : BOARD_BILL_INLET_CLOSE);
    m_queue.QueueBoardCommand(BOARD_COIN_INLET_CLOSE_RESET);
    if (reset) {
        m_target = 0;
        m_countedInJournal = 0;
        m_devices.ClearCounts();
    }
}

// The inlets close before the payout is queued, so a note fed while the
// guest presses cancel is not taken and lost.
void CCashPayment::SettleCash(bool returnAll) {
    m_settled = true;
    const int received = Received();
    const int target = m_target;
    StopCashAcceptance(true);
    m_mode = returnAll ? PAYOUT_RETURN : PAYOUT_CHANGE;
    m_change = returnAll ? 0 : received - target;
    const int amount = returnAll ? received : received - target;
    Journal({.kind = returnAll ? enumMoneyKind::RefundDecided : enumMoneyKind::ChangeDecided,
             .won = amount > 0 ? amount : 0,
             .received = received,
             .target = target});
    if (amount <= 0) {
        m_change = 0;
        AnswerPayout(true);
    } else if (!StartPayout(amount)) {
        AnswerPayout(false);
    }
}

int CCashPayment::DispenseAmount(int amount) {
    const std::optional<stPayoutPlan> plan = QueuePayout(amount);
    return plan ? plan->Pieces() : 0;
}

// Queued only when the dispensers make the amount up exactly.
std::optional<stPayoutPlan> CCashPayment::QueuePayout(int amount) {
    m_devices.SetDispensing(true);
    const std::optional<stPayoutPlan> plan =
        PlanPayout(amount, m_denominations[0], m_denominations[1], m_devices.DispenserStateCode());
    if (!plan) {
        m_hooks.log("잘못된 반환금액 입니다.[" + std::to_string(amount) + "]");
    } else if (plan->exact) {
        stMoneyEntry asked{.kind = enumMoneyKind::PayoutRequested, .won = amount};
        asked.pieces.coins100 = plan->coins100;
        NotesOf(asked.pieces, m_denominations[0]) += plan->notes1;
        NotesOf(asked.pieces, m_denominations[1]) += plan->notes2;
        Journal(asked);
        m_queue.QueueBoardCommand(BOARD_SIGNAL_SALE_ACCEPTED);
        m_queue.QueueBoardCommand(BOARD_DISPENSE, plan->coins100, plan->notes1, plan->notes2);
    }
    return plan;
}

// True when the payout went to the board and its answer is awaited.
bool CCashPayment::StartPayout(int amount) {
    const std::optional<stPayoutPlan> plan = QueuePayout(amount);
    if (!plan || !plan->exact) {
        if (plan) {
            m_hooks.log("방출기로 만들 수 없는 금액: " + MoneyText(amount) + " 원");
        }
        return false;
    }
    m_awaitingAnswer = true;
    m_payoutRecorded = false;
    if (m_window != nullptr) {
        m_window->SetTimer(kDispenseTimer, static_cast<UINT>(plan->Pieces()) * kMsPerPiece);
    }
    return true;
}

void CCashPayment::RecordPayout(const stPaidOut& paid) {
    // Counts may go below zero: the float is what the operator must refill.
    const auto lower = [](int& held, int count) { held -= count > 0 ? count : 0; };
    lower(m_float.notes1000, paid.notes1000);
    lower(m_float.notes5000, paid.notes5000);
    lower(m_float.notes10000, paid.notes10000);
    lower(m_float.keyCards, paid.keyCards);
    const bool saved = SaveFloatCounts(m_float);
    Journal({.kind = enumMoneyKind::FloatSaved,
             .pieces = PiecesOfFloat(m_float),
             .result = saved ? 1 : 0});
    if (!m_hooks.reportPayout) {
        return;
    }
    m_hooks.reportPayout(paid);
    if (paid.Notes() < 1) {
        ReportStep(STEP_KEY_CARD_PAID_OUT, "");
    } else {
        ReportStep(STEP_MONEY_PAID_OUT, std::to_string(paid.Value()));
    }
}

void CCashPayment::EndCashSession() {
    if (std::exchange(m_journalled, false)) {
        Journal({.kind = enumMoneyKind::SessionEnded});
    }
    m_mode = PAYOUT_NONE;
    m_settled = false;
    m_awaitingAnswer = false;
    if (m_window != nullptr) {
        m_window->KillTimer(kDispenseTimer);
    }
    StopCashAcceptance(true);
    m_queue.QueueBoardCommand(BOARD_SIGNAL_SALE_ENDED);
}

void CCashPayment::OnBillsCounted(const stBillsCounted& counted) {
    const int received = counted.billsAmount + counted.coinsAmount;
    JournalCounted(received);
    if (received > 0 && m_target > 0) {
        if (received >= m_target) {
            StopCashAcceptance(false);
        }
        ReportReceivedMoney(received, m_target);
    }
    if (counted.rose[0] || counted.rose[1] || counted.rose[2] || counted.rose[3]) {
        if (m_hooks.reportCashIn) {
            m_hooks.reportCashIn(counted.rose);
        }
        if (received > 0) {
            m_hooks.log(MoneyText(received) + " 원 받음");
        }
    }
}

void CCashPayment::OnDispenseResult(const stDispenseResult& result) {
    stPaidOut paid;
    paid.coins100 = result.coins100;
    paid.coins500 = result.coins500;
    NotesOf(paid, m_denominations[0]) += result.notesDispenser1;
    NotesOf(paid, m_denominations[1]) += result.notesDispenser2;
    m_devices.SetDispensing(false);
    m_payoutRecorded = true;
    Journal({.kind = enumMoneyKind::DispenseResult, .won = paid.Value(), .pieces = paid});
    RecordPayout(paid);
}

// Answers the payout in progress once: after its dispense result, or on a
// fault; a status record on its own answers nothing.
void CCashPayment::OnDispenserStatus(bool payoutFault) {
    if (m_awaitingAnswer && (m_payoutRecorded || payoutFault)) {
        AnswerPayout(!payoutFault);
    }
}

bool CCashPayment::IsFloatLow(int dispenser) const {
    if (dispenser != 1 && dispenser != 2) {
        return false;
    }
    return NotesOf(m_float, m_denominations[dispenser - 1]) < m_lowStock[dispenser - 1];
}

bool CCashPayment::OnTimer(UINT_PTR id) {
    if (id != kDispenseTimer) {
        return false;
    }
    if (m_awaitingAnswer) {
        AnswerPayout(false);
    }
    return true;
}

void CCashPayment::ReportReceivedMoney(int received, int target) {
    const int change = received >= target ? received - target : 0;
    Movie("SetRecvMoney",
          std::to_string(target) + "||" + std::to_string(received) + "||" + std::to_string(change));
    ReportStep(STEP_MONEY_INSERTED, std::to_string(received));
}

int CCashPayment::Received() const {
    return m_devices.BillsAmount() + m_devices.CoinsAmount();
}

void CCashPayment::AnswerPayout(bool paid) {
    if (m_mode != PAYOUT_NONE) {
        Journal({.kind = enumMoneyKind::PayoutAnswered,
                 .won = m_mode == PAYOUT_CHANGE ? m_change : 0,
                 .result = paid ? 1 : 0});
    }
    m_awaitingAnswer = false;
    if (m_window != nullptr) {
        m_window->KillTimer(kDispenseTimer);
    }
    if (m_mode == PAYOUT_CHANGE) {
        Movie("MakeTicketRes", paid ? "1||" + std::to_string(m_change) : "0||0");
    } else if (m_mode == PAYOUT_RETURN) {
        Movie("ReturnRecvMoneyRes", paid ? "1" : "0");
    }
    if (!paid) {
        m_mode = PAYOUT_NONE;
    }
}

void CCashPayment::ReportStep(int code, std::string_view text) const {
    if (m_hooks.reportStep) {
        m_hooks.reportStep(code, text);
    }
}

void CCashPayment::Journal(stMoneyEntry entry) const {
    if (m_hooks.journal) {
        m_hooks.journal(std::move(entry));
    }
}

// The running total as it changes; a repeated record adds nothing.
void CCashPayment::JournalCounted(int received) {
    if (received > 0 && received != m_countedInJournal) {
        m_countedInJournal = received;
        Journal({.kind = enumMoneyKind::MoneyCounted, .received = received, .target = m_target});
    }
}

void CCashPayment::Movie(std::string_view command, std::string_view args) const {
    if (m_hooks.movie) {
        m_hooks.movie(command, args);
    }
}

}  // namespace hx
