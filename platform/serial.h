#pragma once
// A serial port: open, line settings, reads and writes, and the wait for a
// comm event. Every operation returns a Win32 result code (0 = success, see
// serial_codes.h) and leaves it in LastError(); nothing is thrown. Device
// code normally uses CSerialWnd (serial_wnd.h), which adds the listener.
//
// Port names: "COMn" is DRIVE/dosdevices/comn when that link exists, else the
// system's n-th serial device; a name starting with '/' is a device path.

#include <atomic>
#include <cstddef>
#include <memory>
#include <string_view>

#include "platform/serial_codes.h"
#include "platform/serial_termios.h"

namespace hx {

class CSerial {
public:
    CSerial();
    // Closes the port if open.
    virtual ~CSerial();
    CSerial(const CSerial&) = delete;
    CSerial& operator=(const CSerial&) = delete;

    // Opens the port for this object alone (another holder makes it
    // ERROR_ACCESS_DENIED), raw 9600 8N1, event mask kSerialDefaultEventMask,
    // non-blocking reads. Queue sizes are accepted and left to the driver.
    // Only an overlapped port takes finite time limits. 1247 when already open.
    virtual LONG Open(std::string_view port, DWORD inQueue = 0, DWORD outQueue = 0,
                      bool overlapped = false);
    // 0 also when the port is closed already.
    virtual LONG Close();

    // Baud rate, data bits 5-8, NOPARITY..SPACEPARITY, ONESTOPBIT..TWOSTOPBITS;
    // parity is checked on input exactly when parity is not NOPARITY.
    virtual LONG Setup(DWORD baudRate = 9600, BYTE dataBits = 8, BYTE parity = NOPARITY,
                       BYTE stopBits = ONESTOPBIT);
    // Remembered and reported; this system cannot see the character arrive
    // without reading it, so EV_RXFLAG is never raised.
    virtual LONG SetEventCharacter(BYTE character, bool adjustMask = true);
    // Also completes a pending WaitForEvent with no events: how a listener is stopped.
    virtual LONG SetEventMask(DWORD mask = kSerialDefaultEventMask);
    // Waits for new received bytes (EV_RXCHAR), a hang-up (an error result) or
    // a SetEventMask; the events are kept for TakeEvents.
    virtual LONG WaitForEvent(DWORD timeoutMs = INFINITE);
    virtual LONG SetHandshake(DWORD mode);  // enumSerialHandshake, else E_INVALIDARG
    virtual LONG SetReadMode(DWORD mode);   // enumSerialReadMode, else E_INVALIDARG

    // The line as the driver has it now; 0 when the port is not open.
    virtual DWORD QueryBaudRate();
    virtual BYTE QueryDataBits();
    virtual BYTE QueryParity();
    virtual BYTE QueryStopBits();
    virtual DWORD QueryHandshake();
    virtual DWORD QueryEventMask();
    virtual BYTE QueryEventCharacter();

    // `count` (when given) is set to 0 first, then to the bytes moved. A
    // non-blocking read returns at once with what has arrived; a blocking read
    // or a write that does not finish in time gives ERROR_TIMEOUT.
    virtual LONG WriteText(const char* text, DWORD* count = nullptr, DWORD timeoutMs = INFINITE);
    virtual LONG Write(const void* data, std::size_t length, DWORD* count = nullptr,
                       DWORD timeoutMs = INFINITE);
    virtual LONG Read(void* buffer, std::size_t capacity, DWORD* count = nullptr,
                      DWORD timeoutMs = INFINITE);

    // Drops what waits to be sent and what was received.
    LONG Purge();
    // The events seen by the last wait, within the mask; clears them.
    DWORD TakeEvents();
    // Modem lines; false when the device cannot tell.
    bool IsCtsOn();
    bool IsDsrOn();
    bool IsRlsdOn();
    LONG LastError() const { return m_lastError.load(); }
    bool IsOpen() const { return m_port != nullptr; }

    // Opens and closes the port at once: 0 free, 1 no such port, 2 in use, -1 otherwise.
    static int CheckPort(std::string_view port);

protected:
    // Fetches and clears the line errors (CE_* bits) counted since the last call.
    LONG FetchCommErrors(DWORD* errors);
    LONG SetResult(LONG result) {
        m_lastError = result;
        return result;
    }

private:
    struct stPort;  // the system's side of an open port

    LONG CheckUsable(DWORD timeoutMs);
    bool ModemLineOn(DWORD statusBit);
    // False when the port is closed or cannot tell.
    bool CurrentLine(stLineSetup* setup, DWORD* handshake);

    std::atomic<LONG> m_lastError{0};
    std::unique_ptr<stPort> m_port;
    std::atomic<DWORD> m_lastEvents{0};
    std::atomic<DWORD> m_eventMask{0};
    BYTE m_eventCharacter = 0;
    DWORD m_readMode = ReadModeNonblocking;
    bool m_overlapped = false;
};

}  // namespace hx
