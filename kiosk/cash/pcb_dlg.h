#pragma once
// The control board's window: the board's serial port (9600 8E1, the port
// named by [PCB] port in "INI\HXKiosk.ini"), the paced command queue, the
// reading of what the board sends and the state of the cash devices it
// reports. The kiosk window owns it; the service view will show its monitor.
// Everything runs on the user interface thread; the port's listener only
// posts messages.

#include <cstdint>
#include <span>

#include "kiosk/cash/board_command_queue.h"
#include "kiosk/cash/board_command_sender.h"
#include "kiosk/cash/board_devices.h"
#include "kiosk/cash/board_monitor.h"
#include "kiosk/cash/board_receiver.h"
#include "platform/dialog.h"
#include "platform/serial_wnd.h"

namespace hx {

class CPCBDlg : public CDialog {
public:
    static constexpr UINT_PTR kStartUpTimer = 2;
    static constexpr UINT kStartUpMs = 5000;
    static constexpr UINT_PTR kHopperResetTimer = 4;
    static constexpr UINT kHopperResetMs = 2000;
    static constexpr UINT_PTR kDispenser1ResetTimer = 5;
    static constexpr UINT kDispenser1ResetMs = 4000;
    static constexpr DWORD kWriteTimeoutMs = 100;

    explicit CPCBDlg(stBoardHooks hooks);
    ~CPCBDlg() override;

    void OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Closes an open port first; false (and event 101) when it cannot open.
    bool OpenBoardPort();
    void CloseBoardPort();
    void QueueBoardCommand(int code, int x = -1, int y = -1, int z = -1);
    // All-data requests to the bill acceptor, coin selector and dispensers.
    void PollCashDevices();
    // Hopper now, dispenser 1 after 2 s, dispenser 2 after 4 s more.
    void ResetDispensers();
    bool HasCashDeviceError() const { return m_devices.HasCashDeviceError(); }
    bool IsPortOpen() const { return m_sender.IsPortOpen(); }

    CBoardDevices& Devices() { return m_devices; }
    CBoardCommandQueue& Queue() { return m_queue; }
    const CBoardCommandSender& Sender() const { return m_sender; }
    const CBoardMonitor& Monitor() const { return m_monitor; }

private:
    void ResetCashSession();
    void RunStartUpReset();
    void Send(const stControlBoardCommand& command);
    void OnSerialMessage(WPARAM wParam);
    void ReadFromBoard();
    void OnPortLost();
    bool Write(std::span<const uint8_t> bytes);
    void Row(std::string_view command, std::string_view content);

    CSerialMFC m_serial;
    CBoardMonitor m_monitor;
    CBoardCommandSender m_sender;
    CBoardCommandQueue m_queue;
    CBoardDevices m_devices;
    CBoardReceiver m_receiver;
    const std::function<bool()> m_cashSessionUnderway;
};

}  // namespace hx
