#include "kiosk/cash/kiosk_cash.h"

namespace hx {

CKioskCash::CKioskCash(stHooks hooks)
    : m_hooks(std::move(hooks)),
      m_board(BoardHooks()),
      m_payment(m_board.Queue(), m_board.Devices(), PaymentHooks()) {}

bool CKioskCash::Create(CWnd& window, const stFloatCounts& counts) {
    m_payment.Attach(window);
    m_payment.SetFloat(counts);
    return m_board.Create();
}

stBoardHooks CKioskCash::BoardHooks() {
    return {[this](int code, int state) {
                if (m_hooks.raiseEvent) {
                    m_hooks.raiseEvent(code, state != 0);
                }
            },
            [this] {
                if (m_hooks.movie) {
                    m_hooks.movie("PlaySndWelcome", "");
                }
            },
            [this](const stBillsCounted& counted) { m_payment.OnBillsCounted(counted); },
            [this](const stDispenseResult& result) { m_payment.OnDispenseResult(result); },
            [this](bool fault) { m_payment.OnDispenserStatus(fault); },
            [this](int dispenser) { return m_payment.IsFloatLow(dispenser); },
            m_hooks.log,
            [this] { return m_payment.IsUnderway(); }};
}

CCashPayment::stHooks CKioskCash::PaymentHooks() {
    return {m_hooks.movie,
            m_hooks.reportStep,
            m_hooks.reportCashIn,
            m_hooks.reportPayout,
            [this] { return m_board.Sender().IsBillInletOpen(); },
            m_hooks.log,
            m_hooks.journal};
}

}  // namespace hx
