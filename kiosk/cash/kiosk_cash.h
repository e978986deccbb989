#pragma once
// The kiosk's cash: the control board's window and the cash payment, wired
// to each other as the kiosk window uses them. The board's records reach the
// payment; the payment's commands go out through the board's queue. What
// goes to the screen and to the server is passed in. Everything runs on the
// user interface thread.

#include <array>
#include <functional>
#include <string_view>

#include "kiosk/cash/cash_payment.h"
#include "kiosk/cash/pcb_dlg.h"
#include "kiosk/support/daily_log.h"
#include "kiosk/support/float_counts.h"
#include "platform/wnd.h"

namespace hx {

class CKioskCash {
public:
    struct stHooks {
        CCashPayment::MovieSink movie;
        // Device events of the board (a code and whether it is raised).
        std::function<void(int code, bool raised)> raiseEvent;
        std::function<void(int code, std::string_view text)> reportStep;
        std::function<void(const std::array<bool, 4>& rose)> reportCashIn;
        std::function<void(const stPaidOut& paid)> reportPayout;
        std::function<void(std::string_view)> log = HXKioskLog;
        std::function<void(stMoneyEntry)> journal = nullptr;
    };

    explicit CKioskCash(stHooks hooks);
    CKioskCash(const CKioskCash&) = delete;
    CKioskCash& operator=(const CKioskCash&) = delete;

    // Creates the board's window with the float counts given; the payment's
    // dispense timeout runs on `window`, whose timers go to OnTimer. The
    // board's port is opened by the caller (OpenBoardPort), when it chooses.
    bool Create(CWnd& window, const stFloatCounts& counts);
    bool OnTimer(UINT_PTR id) { return m_payment.OnTimer(id); }

    CPCBDlg& Board() { return m_board; }
    CCashPayment& Payment() { return m_payment; }

private:
    stBoardHooks BoardHooks();
    CCashPayment::stHooks PaymentHooks();

    const stHooks m_hooks;
    CPCBDlg m_board;
    CCashPayment m_payment;
};

}  // namespace hx
