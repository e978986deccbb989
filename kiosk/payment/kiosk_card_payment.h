#pragma once
// The kiosk's card payments: the card terminal's window and what the kiosk
// window makes of its notifications — the screen told whether the card was
// charged, the approval kept for the sale, failures reported as device
// events, the merchant information kept for the receipt and for the health
// check. One charge at a time: a second request while one waits is refused,
// so a double tap cannot charge a card twice. Everything runs on the user
// interface thread.

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "kiosk/payment/vcat_dlg.h"
#include "kiosk/records/approval_record.h"
#include "kiosk/support/daily_log.h"

namespace hx {

class CKioskCardPayment {
public:
    // Cancels kept for a terminal that is away; beyond, the oldest is given up (and said).
    static constexpr size_t kMaxKeptCancels = 16;

    struct stHooks {
        std::function<void(std::string_view command, std::string_view args)> movie;
        std::function<void(int code, std::string_view text)> reportStep;
        // A device event of the terminal (401, 402) with its detail.
        std::function<void(int code, std::string_view detail)> reportFault;
        // True when the kiosk sells by card (its payment types are not cash only).
        std::function<bool()> cardPaymentEnabled;
        // An approved payment, for its receipt.
        std::function<void(const stCreditAnswer&)> approved;
        std::function<void(std::string_view)> log = HXKioskLog;
    };

    explicit CKioskCardPayment(stHooks hooks);
    CKioskCardPayment(const CKioskCardPayment&) = delete;
    CKioskCardPayment& operator=(const CKioskCardPayment&) = delete;

    // Creates the terminal's window; its notifications go to `kioskWindow`,
    // which hands them to OnMessage.
    bool Create(HWND kioskWindow, const std::filesystem::path& logFolder,
                int32_t port = CVCatDlg::kPort);
    // Starts the terminal program when it does not run, and asks for the
    // merchant information when the kiosk sells by card and has none.
    void StartTerminal();
    void AskMerchantInfoWhenMissing();

    // Asks the terminal to charge `amount` won; the screen hears the result.
    void Pay(int amount);
    // The guest left before the terminal answered: an approval that still
    // comes is cancelled at once, and the screen hears nothing of it.
    void GiveUp();
    bool IsWaitingForCard() const { return m_waiting; }
    // True for the terminal's notifications (handled), false for others.
    bool OnMessage(UINT message, WPARAM wParam);

    // The approved payment not yet used by a sale; all zero when none.
    const stCardApproval& Approval() const { return m_approval; }
    // Cancels that approval on the terminal (the sale did not happen). A
    // cancel that cannot be sent (the terminal program is gone, or busy) is
    // reported and kept, and sent again at the next cancel or the end of the
    // next sale, one at a time, until it goes out.
    void VoidApproval();
    // A sale used the approval: it is no longer the guest's to get back.
    void ForgetApproval();
    const stVCatInfo& MerchantInfo() const { return m_info; }
    CVCatDlg& Terminal() { return *m_terminal; }

private:
    void OnAnswer(const stCreditAnswer& answer);
    void OnTerminalExit(int32_t code);
    void Refused(std::string_view args);
    void SendKeptCancel();

    const stHooks m_hooks;
    HWND m_kioskWindow = 0;
    std::unique_ptr<CVCatDlg> m_terminal;
    bool m_waiting = false;
    bool m_abandoned = false;
    stCardApproval m_approval{};
    std::deque<stCardApproval> m_cancels;  // approvals whose cancel has not gone out
    stVCatInfo m_info;
};

}  // namespace hx
