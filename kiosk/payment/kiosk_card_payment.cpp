#include "kiosk/payment/kiosk_card_payment.h"

#include <utility>

#include "kiosk/payment/vcat_start.h"
#include "kiosk/support/device_event_text.h"
#include "kiosk/support/guest_step.h"
#include "platform/message_loop.h"

namespace hx {

CKioskCardPayment::CKioskCardPayment(stHooks hooks) : m_hooks(std::move(hooks)) {}

bool CKioskCardPayment::Create(HWND kioskWindow, const std::filesystem::path& logFolder,
                               int32_t port) {
    m_kioskWindow = kioskWindow;
    m_terminal = std::make_unique<CVCatDlg>(kioskWindow, logFolder, port);
    return m_terminal->Create();
}

void CKioskCardPayment::StartTerminal() {
    StartVCat(m_hooks.log);
    AskMerchantInfoWhenMissing();
}

void CKioskCardPayment::AskMerchantInfoWhenMissing() {
    if (m_hooks.cardPaymentEnabled() && m_info.terminalNo.empty()) {
        m_terminal->GetVCATInfo();
    }
}

void CKioskCardPayment::Pay(int amount) {
    if (m_waiting) {
        m_hooks.log("카드 결제 대기 중: 새 결제 요청 무시");
        return;
    }
    m_waiting = true;
    if (m_terminal->CreditApproval("", amount) == 0) {
        ::hx::PostMessage(m_kioskWindow, WM_VCAT_TERMEXIT, static_cast<WPARAM>(kNotSent), 0);
    }
}

void CKioskCardPayment::GiveUp() {
    if (m_waiting) {
        m_hooks.log("카드 결제 대기 중 처음 화면으로: 늦은 승인은 취소함");
        m_waiting = false;
        m_abandoned = true;
    }
}

bool CKioskCardPayment::OnMessage(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_VCAT_ANSWER:
            OnAnswer(m_terminal->Answer());
            return true;
        case WM_VCAT_TERMEXIT:
            OnTerminalExit(static_cast<int32_t>(wParam));
            return true;
        case WM_VCAT_FALLBACK:
            m_hooks.movie("SetFallback", "");
            return true;
        case WM_VCAT_INFO:
            m_info = m_terminal->Info();
            return true;
        default:
            return false;
    }
}

// A cancel's answer is only logged: it is no payment, whatever its code.
void CKioskCardPayment::OnAnswer(const stCreditAnswer& answer) {
    if (answer.messageCode != kApprovalAnswerCode) {
        m_hooks.log("신용카드 취소 결과 [" + answer.responseCode + "]" + answer.screenMessage);
        return;
    }
    m_waiting = false;
    if (std::exchange(m_abandoned, false)) {
        if (IsApprovedPayment(answer)) {
            m_approval = CardApprovalOf(answer);
            VoidApproval();
        }
        return;
    }
    if (!IsApprovedPayment(answer)) {
        Refused("[" + answer.responseCode + "]" + answer.screenMessage);
        return;
    }
    m_hooks.reportStep(STEP_CARD_APPROVED, "");
    m_approval = CardApprovalOf(answer);
    if (m_hooks.approved) {
        m_hooks.approved(answer);
    }
    m_hooks.movie("SetCreditRes", "1");
}

// An approval that was not sent leaves the terminal unknown until its
// information is read again; the guest's screen hears of it all the same.
void CKioskCardPayment::OnTerminalExit(int32_t code) {
    const bool paymentWaited = m_waiting;
    m_waiting = false;
    if (std::exchange(m_abandoned, false)) {
        return;  // nobody waits for this payment any more
    }
    if (code == kNotSent && m_hooks.cardPaymentEnabled()) {
        m_info = {};
        m_hooks.reportFault(EVENT_CARD_TERMINAL, "");
        if (paymentWaited) {
            m_hooks.movie("SetCreditRes", "0");
        }
        return;
    }
    Refused("ErrCode=" + std::to_string(code));
}

void CKioskCardPayment::VoidApproval() {
    if (!m_approval.approvalNo.empty()) {
        if (m_cancels.size() == kMaxKeptCancels) {
            m_hooks.reportFault(EVENT_CARD_PAYMENT_FAILED,
                                "취소 포기 " + m_cancels.front().approvalNo);
            m_cancels.pop_front();
        }
        m_cancels.push_back(std::exchange(m_approval, {}));
    }
    SendKeptCancel();
}

void CKioskCardPayment::ForgetApproval() {
    m_approval = {};
    SendKeptCancel();
}

// The terminal takes one request at a time: the oldest cancel goes first,
// the others at the next chance.
void CKioskCardPayment::SendKeptCancel() {
    if (m_cancels.empty()) {
        return;
    }
    const stCardApproval& approval = m_cancels.front();
    m_hooks.log("신용카드 승인 취소 요청 " + approval.approvalNo);
    if (m_terminal->CreditCancel(approval.approvalNo, approval.saleDate, "", approval.amount) ==
        0) {
        m_hooks.reportFault(EVENT_CARD_PAYMENT_FAILED, "취소 실패 " + approval.approvalNo);
        return;
    }
    m_cancels.pop_front();
}

void CKioskCardPayment::Refused(std::string_view detail) {
    m_hooks.movie("SetCreditRes", "0");
    m_hooks.reportFault(EVENT_CARD_PAYMENT_FAILED, detail);
}

}  // namespace hx
