#include "kiosk/cash/pcb_dlg.h"

#include <string>

#include "kiosk/support/daily_log.h"
#include "kiosk/support/paths.h"
#include "kiosk/support/serial_chunks.h"
#include "platform/ini_file.h"

namespace hx {

namespace {

constexpr std::string_view kBoardKind = "보드";

std::string BoardPortName() {
    return GetPrivateProfileString("PCB", "port", "COM3", GetProgramPath("INI\\HXKiosk.ini"));
}

}  // namespace

CPCBDlg::CPCBDlg(stBoardHooks hooks)
    : m_monitor(PCBLog),
      m_sender(m_monitor, [this](std::span<const uint8_t> bytes) { return Write(bytes); }),
      m_queue([this](const stControlBoardCommand& command) { Send(command); }),
      m_devices(hooks),
      m_receiver(m_monitor, m_devices, m_queue),
      m_cashSessionUnderway(std::move(hooks.cashSessionUnderway)) {}

CPCBDlg::~CPCBDlg() {
    CloseBoardPort();
    DestroyWindow();
}

void CPCBDlg::OnInitDialog() {
    m_queue.Attach(*this);
}

LRESULT CPCBDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CSerialWnd::DefaultComMsg()) {
        OnSerialMessage(wParam);
        return 0;
    }
    if (message != WM_TIMER || m_queue.OnTimer(wParam)) {
        return message == WM_TIMER ? 0 : CDialog::WindowProc(message, wParam, lParam);
    }
    KillTimer(wParam);
    if (wParam == kStartUpTimer) {
        RunStartUpReset();
    } else if (wParam == kHopperResetTimer) {
        QueueBoardCommand(BOARD_DISPENSER1_INIT);
        SetTimer(kDispenser1ResetTimer, kDispenser1ResetMs);
    } else if (wParam == kDispenser1ResetTimer) {
        QueueBoardCommand(BOARD_DISPENSER2_INIT);
    }
    return 0;
}

bool CPCBDlg::OpenBoardPort() {
    if (m_serial.IsOpen()) {
        CloseBoardPort();
    }
    const std::string port = BoardPortName();
    if (m_serial.Open(port, this) != ERROR_SUCCESS) {
        m_devices.ReportPortOpened(false);
        Row("포트 Open", "연결실패!!!");
        return false;
    }
    Row("포트 Open", port + " 연결성공");
    m_serial.Setup(9600, 8, EVENPARITY, ONESTOPBIT);
    Row("포트 설정", "9600 / Data 8 / Even Parity / Stop 1");
    m_sender.SetPortOpen(true);
    m_queue.Start();
    SetTimer(kStartUpTimer, kStartUpMs);
    m_devices.ReportPortOpened(true);
    return true;
}

void CPCBDlg::CloseBoardPort() {
    if (!m_serial.IsOpen() && !m_sender.IsPortOpen()) {
        return;
    }
    m_serial.Close();
    m_sender.SetPortOpen(false);
    Row("포트 Close", "");
}

void CPCBDlg::QueueBoardCommand(int code, int x, int y, int z) {
    m_queue.QueueBoardCommand(code, x, y, z);
}

void CPCBDlg::PollCashDevices() {
    for (int code : {BOARD_BILL_ALL_DATA, BOARD_COIN_ALL_DATA, BOARD_DISPENSER_ALL_DATA}) {
        QueueBoardCommand(code);
    }
}

void CPCBDlg::ResetDispensers() {
    QueueBoardCommand(BOARD_HOPPER_INIT);
    SetTimer(kHopperResetTimer, kHopperResetMs);
}

void CPCBDlg::Send(const stControlBoardCommand& command) {
    m_sender.SendBoardCommand(command);
    if (command.code == BOARD_BILL_INLET_CLOSE_RESET) {
        m_devices.OnCountsResetSent();
    }
}

// A guest who began paying before the reset keeps the open inlets and the
// money counted so far: the reset waits until the payment is over.
void CPCBDlg::RunStartUpReset() {
    if (m_cashSessionUnderway && m_cashSessionUnderway()) {
        Row("초기화", "결제 중: 연기");
        SetTimer(kStartUpTimer, kStartUpMs);
        return;
    }
    ResetCashSession();
}

void CPCBDlg::ResetCashSession() {
    for (int code : {BOARD_BILL_INLET_CLOSE_RESET, BOARD_BILL_ALL_DATA,
                     BOARD_COIN_INLET_CLOSE_RESET, BOARD_COIN_ALL_DATA, BOARD_DISPENSER_ALL_DATA}) {
        QueueBoardCommand(code);
    }
    m_devices.ClearCounts();
}

void CPCBDlg::OnSerialMessage(WPARAM wParam) {
    const DWORD events = SerialEventsOf(wParam);
    if ((events & EV_ERR) && (SerialErrorsOf(wParam) & CE_IOE)) {
        OnPortLost();
        return;
    }
    if (events & EV_RXCHAR) {
        ReadFromBoard();
    }
}

void CPCBDlg::ReadFromBoard() {
    ReadSerialChunks(m_serial,
                     [this](std::span<const uint8_t> chunk) { m_receiver.ParseBoardChunk(chunk); });
}

// The listener ended on an error: a port that looks open while nothing is
// read would lose every note inserted. It closes, and the health check opens
// it again.
void CPCBDlg::OnPortLost() {
    CloseBoardPort();
    m_devices.ReportPortOpened(false);
}

bool CPCBDlg::Write(std::span<const uint8_t> bytes) {
    DWORD written = 0;
    return m_serial.Write(bytes.data(), bytes.size(), &written, kWriteTimeoutMs) == ERROR_SUCCESS &&
           written == bytes.size();
}

void CPCBDlg::Row(std::string_view command, std::string_view content) {
    m_monitor.AddBoardLogRow(kBoardKind, false, command, content);
}

}  // namespace hx
