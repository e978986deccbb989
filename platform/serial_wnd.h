#pragma once
// Serial ports for device windows: a port whose line events arrive as posted
// window messages, so all reading and writing happens on the window's thread.
//
// Usage (a device window on the UI thread):
//
//     CSerialMFC m_serial;                       // a member of the window
//     if (m_serial.Open("COM3", this) != 0) { /* connection failure path */ }
//     m_serial.Setup(9600, 8, EVENPARITY, ONESTOPBIT);   // board; NOPARITY for the dispenser
//     m_serial.Write(bytes, length, &written, 100);
//
//     // in WindowProc, for message == CSerialWnd::DefaultComMsg():
//     const DWORD events = SerialEventsOf(wParam), errors = SerialErrorsOf(wParam);
//     if (errors & CE_IOE) { /* listener ended: Close, clear the open flag, report */ }
//     if (events & EV_RXCHAR) {
//         PumpMessagesFor(40);                      // let the rest of the frame arrive
//         DWORD got = 0;
//         do { m_serial.Read(buffer, 100, &got, 100); Parse(buffer, got); } while (got == 100);
//     }
//
// "COMn" opens DRIVE/dosdevices/comn when that link exists (tests and the demo
// point it at a simulator's pseudo-terminal), else the system's n-th port.

#include "platform/serial_ex.h"
#include "platform/window_types.h"

namespace hx {

class CWnd;

class CSerialWnd : public CSerialEx {
public:
    CSerialWnd() = default;
    ~CSerialWnd() override;

    // The id of the registered message "CSerialWnd_DefaultComMsg".
    static UINT DefaultComMsg();

    using CSerialEx::Open;
    // Opens the port and starts the listener, which posts `message` (0: the
    // default message) to `hwnd` with SerialEventWParam(events, errors) and
    // `lParam`. A listener that cannot start closes the port again.
    virtual LONG Open(std::string_view port, HWND hwnd, UINT message = 0, LPARAM lParam = 0,
                      DWORD inQueue = 0, DWORD outQueue = 0);
    LONG Close() override;

protected:
    void OnSerialEvent(DWORD events, DWORD errors) override;
    // Posts EV_ERR with CE_IOE: the window learns that nothing more will arrive.
    void OnListenerEnded(LONG error) override;

private:
    std::atomic<HWND> m_hwndDest{0};
    std::atomic<UINT> m_nComMsg{0};
    std::atomic<LPARAM> m_lParam{0};
};

// The same, taking the window object; a null window posts nowhere.
class CSerialMFC : public CSerialWnd {
public:
    using CSerialWnd::Open;
    virtual LONG Open(std::string_view port, CWnd* wnd, UINT message = 0, LPARAM lParam = 0,
                      DWORD inQueue = 0, DWORD outQueue = 0);
};

}  // namespace hx
