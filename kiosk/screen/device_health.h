#pragma once
// The kiosk's device events and its health: every device fault, and its end,
// is logged and reported to the server; a fault that stops sales puts the
// error screen over the customer screen and starts the health check, which
// asks every device every 20 seconds until all are well, then takes the
// error screen away and reports the printers, dispensers and card terminal
// cleared. The server link is checked once a second after start. Everything
// runs on the user interface thread.

#include <functional>
#include <string_view>

#include "kiosk/screen/sales_blocking_fault.h"
#include "kiosk/support/daily_log.h"
#include "platform/wnd.h"

namespace hx {

class CDeviceHealth {
public:
    static constexpr UINT_PTR kHealthCheckTimer = 3;
    static constexpr UINT_PTR kServerCheckTimer = 4;
    static constexpr UINT kFirstCheckMs = 100;
    static constexpr UINT kRecheckMs = 20000;
    static constexpr UINT kServerCheckMs = 1000;
    static constexpr int kPrinterReady = 101;

    // What the health check asks of the devices; the asking may take a while
    // (the window's messages run meanwhile).
    struct stProbes {
        // Settings screens open: the devices are being worked on.
        std::function<bool()> adminScreensOpen;
        // Card terminal: its merchant information is asked for when missing;
        // it is known once the answer arrived, or when card payment is off.
        std::function<void()> askMissingTerminalInfo;
        std::function<bool()> cardTerminalKnown;
        // Control board: asks the cash devices again when one reported a fault.
        std::function<void()> pollFaultyCashDevices;
        std::function<bool()> boardPortOpen;
        std::function<bool()> cashDeviceError;
        // True when a key card can be handed out.
        std::function<bool()> keyCardDispenserReady;
        std::function<int()> printerState;
        std::function<bool()> serverAlive;
    };

    struct stHooks {
        std::function<void(std::string_view command, std::string_view args)> movie;
        // The device event report (505): true when it goes out now.
        std::function<bool(int code, bool cleared, std::string_view text)> sendEvent;
        std::function<stChangeDispensers()> changeDispensers;
        stProbes probes;
        std::function<void(std::string_view)> log = HXKioskLog;
    };

    explicit CDeviceHealth(stHooks hooks);

    // Timers run on `window`, whose timers go to OnTimer.
    void Attach(CWnd& window) { m_window = &window; }
    // The server check, a second from now.
    void StartServerCheck();

    void Report(int code, bool cleared, std::string_view detail = {});
    bool OnTimer(UINT_PTR id);

    // From a fault that stops sales until a health check finds all well.
    bool IsBlocked() const { return m_blocked; }
    // The error screen may go (after a reconnect) only while nothing blocks.
    bool MayClearError();

private:
    void Block();
    void RunHealthCheck();
    bool AllHealthy() const;
    void ReportCleared();

    const stHooks m_hooks;
    CWnd* m_window = nullptr;
    bool m_blocked = false;
    bool m_checking = false;
    // A fault arrived while a check ran: that check's findings are stale.
    bool m_faultDuringCheck = false;
};

}  // namespace hx
