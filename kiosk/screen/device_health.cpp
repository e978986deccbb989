#include "kiosk/screen/device_health.h"

#include "kiosk/support/device_event_text.h"

namespace hx {

CDeviceHealth::CDeviceHealth(stHooks hooks) : m_hooks(std::move(hooks)) {}

void CDeviceHealth::StartServerCheck() {
    m_window->SetTimer(kServerCheckTimer, kServerCheckMs);
}

void CDeviceHealth::Report(int code, bool cleared, std::string_view detail) {
    const std::string text = DeviceEventText(code, cleared, detail);
    if (!text.empty()) {
        m_hooks.log(text);
    }
    if (!cleared && BlocksSales(code, m_hooks.changeDispensers())) {
        Block();
    }
    if (!m_hooks.sendEvent(code, cleared, text)) {
        m_hooks.movie("PopupError", "");
    }
}

// The error screen again, and the next check soon.
void CDeviceHealth::Block() {
    m_blocked = true;
    m_faultDuringCheck = m_checking;
    m_hooks.movie("PopupError", "");
    if (m_window) {
        m_window->SetTimer(kHealthCheckTimer, kFirstCheckMs);
    }
}

bool CDeviceHealth::OnTimer(UINT_PTR id) {
    if (id == kServerCheckTimer) {
        m_window->KillTimer(id);
        if (!m_hooks.probes.serverAlive()) {
            m_hooks.log("서버와 연결 실패.");
            m_hooks.movie("PopupError", "");
        }
        return true;
    }
    if (id != kHealthCheckTimer) {
        return false;
    }
    m_window->KillTimer(id);
    if (m_checking) {
        m_faultDuringCheck = true;  // run again when this one ends
    } else {
        RunHealthCheck();
    }
    return true;
}

void CDeviceHealth::RunHealthCheck() {
    m_hooks.log("하드웨어 체크 시작.");
    if (m_hooks.probes.adminScreensOpen()) {
        m_hooks.log("설정창 팝업으로 인해 체크 ByPass.");
        m_window->SetTimer(kHealthCheckTimer, kRecheckMs);
        return;
    }
    m_checking = true;
    m_faultDuringCheck = false;
    const bool healthy = AllHealthy();
    m_checking = false;
    if (m_faultDuringCheck) {
        m_window->SetTimer(kHealthCheckTimer, kFirstCheckMs);
    } else if (healthy) {
        m_blocked = false;
        m_hooks.movie("ClearError", "");
        ReportCleared();
        m_hooks.log("하드웨어 정상 동작 확인.");
    } else {
        m_hooks.movie("PopupError", "");
        m_window->SetTimer(kHealthCheckTimer, kRecheckMs);
    }
}

// Every device is asked, even after one was found unwell, so that each gets
// its chance to recover. The terminal's information arrives as a message,
// handled while the other devices are waited for, so it is looked at last.
bool CDeviceHealth::AllHealthy() const {
    const stProbes& probe = m_hooks.probes;
    probe.askMissingTerminalInfo();
    probe.pollFaultyCashDevices();
    const bool dispenser = probe.keyCardDispenserReady();
    const bool printer = probe.printerState() == kPrinterReady;
    return dispenser && printer && probe.boardPortOpen() && !probe.cashDeviceError() &&
           probe.serverAlive() && probe.cardTerminalKnown();
}

void CDeviceHealth::ReportCleared() {
    for (const int code : {EVENT_DISPENSERS_CLEARED, EVENT_PRINTERS_CLEARED, EVENT_CARD_TERMINAL}) {
        Report(code, true);
    }
}

bool CDeviceHealth::MayClearError() {
    if (m_blocked) {
        m_hooks.log("장치 이상 중: 오류 화면 유지");
    }
    return !m_blocked;
}

}  // namespace hx
