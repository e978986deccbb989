#pragma once
// The numbers the serial port classes speak: Win32 result codes, comm event
// and error bits, line setting constants, and the packing of the serial event
// message. They are Windows' own numbers, so where <windows.h> came first its
// macros stand and ours are not declared.

#include <cstdint>

#include "platform/window_types.h"

namespace hx {

using BYTE = std::uint8_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;

// Results: 0 is success, everything else a Win32 error code.
#ifndef ERROR_SUCCESS
inline constexpr LONG ERROR_SUCCESS = 0;
#endif
#ifndef ERROR_INVALID_FUNCTION
inline constexpr LONG ERROR_INVALID_FUNCTION = 1;  // a time limit on a port opened without one
#endif
#ifndef ERROR_FILE_NOT_FOUND
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
#endif
#ifndef ERROR_ACCESS_DENIED
inline constexpr LONG ERROR_ACCESS_DENIED = 5;  // the port is held by someone else
#endif
#ifndef ERROR_INVALID_HANDLE
inline constexpr LONG ERROR_INVALID_HANDLE = 6;  // the port is not open
#endif
#ifndef ERROR_GEN_FAILURE
inline constexpr LONG ERROR_GEN_FAILURE = 31;
#endif
#ifndef ERROR_INVALID_PARAMETER
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
#endif
#ifndef ERROR_DEVICE_NOT_CONNECTED
inline constexpr LONG ERROR_DEVICE_NOT_CONNECTED = 1167;  // the line hung up
#endif
#ifndef ERROR_ALREADY_INITIALIZED
inline constexpr LONG ERROR_ALREADY_INITIALIZED = 1247;  // Open on an open port
#endif
#ifndef ERROR_TIMEOUT
inline constexpr LONG ERROR_TIMEOUT = 1460;
#endif
#ifndef E_INVALIDARG
inline constexpr LONG E_INVALIDARG = static_cast<LONG>(0x80070057u);
#endif
#ifndef INFINITE
inline constexpr DWORD INFINITE = 0xFFFFFFFFu;
#endif

// Comm events (low word of the serial event message).
#ifndef EV_RXCHAR
inline constexpr DWORD EV_RXCHAR = 0x0001;
#endif
#ifndef EV_RXFLAG
inline constexpr DWORD EV_RXFLAG = 0x0002;
#endif
#ifndef EV_TXEMPTY
inline constexpr DWORD EV_TXEMPTY = 0x0004;
#endif
#ifndef EV_CTS
inline constexpr DWORD EV_CTS = 0x0008;
#endif
#ifndef EV_DSR
inline constexpr DWORD EV_DSR = 0x0010;
#endif
#ifndef EV_RLSD
inline constexpr DWORD EV_RLSD = 0x0020;
#endif
#ifndef EV_BREAK
inline constexpr DWORD EV_BREAK = 0x0040;
#endif
#ifndef EV_ERR
inline constexpr DWORD EV_ERR = 0x0080;
#endif
#ifndef EV_RING
inline constexpr DWORD EV_RING = 0x0100;
#endif

// Comm errors (high word of the serial event message).
#ifndef CE_RXOVER
inline constexpr DWORD CE_RXOVER = 0x0001;
#endif
#ifndef CE_OVERRUN
inline constexpr DWORD CE_OVERRUN = 0x0002;
#endif
#ifndef CE_RXPARITY
inline constexpr DWORD CE_RXPARITY = 0x0004;
#endif
#ifndef CE_FRAME
inline constexpr DWORD CE_FRAME = 0x0008;
#endif
#ifndef CE_BREAK
inline constexpr DWORD CE_BREAK = 0x0010;
#endif
// Sent with EV_ERR when the listener has ended on an error: nothing more
// arrives until the port is opened again.
#ifndef CE_IOE
inline constexpr DWORD CE_IOE = 0x0400;
#endif

// Modem status bits.
#ifndef MS_CTS_ON
inline constexpr DWORD MS_CTS_ON = 0x0010;
#endif
#ifndef MS_DSR_ON
inline constexpr DWORD MS_DSR_ON = 0x0020;
#endif
#ifndef MS_RLSD_ON
inline constexpr DWORD MS_RLSD_ON = 0x0080;
#endif

// Parity and stop bits of Setup.
#ifndef NOPARITY
inline constexpr BYTE NOPARITY = 0;
#endif
#ifndef ODDPARITY
inline constexpr BYTE ODDPARITY = 1;
#endif
#ifndef EVENPARITY
inline constexpr BYTE EVENPARITY = 2;
#endif
#ifndef MARKPARITY
inline constexpr BYTE MARKPARITY = 3;
#endif
#ifndef SPACEPARITY
inline constexpr BYTE SPACEPARITY = 4;
#endif
#ifndef ONESTOPBIT
inline constexpr BYTE ONESTOPBIT = 0;
#endif
#ifndef ONE5STOPBITS
inline constexpr BYTE ONE5STOPBITS = 1;
#endif
#ifndef TWOSTOPBITS
inline constexpr BYTE TWOSTOPBITS = 2;
#endif

// The mask every port starts with.
inline constexpr DWORD kSerialDefaultEventMask = EV_RXCHAR | EV_BREAK | EV_ERR;

enum enumSerialHandshake : DWORD { HandshakeOff = 0, HandshakeHardware = 1, HandshakeSoftware = 2 };
enum enumSerialReadMode : DWORD { ReadModeNonblocking = 0, ReadModeBlocking = 1 };

// The serial event message's WPARAM: events in the low word, errors in the high word.
constexpr WPARAM SerialEventWParam(DWORD events, DWORD errors) {
    return (static_cast<WPARAM>(errors & 0xFFFFu) << 16) | (events & 0xFFFFu);
}
constexpr DWORD SerialEventsOf(WPARAM wParam) {
    return static_cast<DWORD>(wParam & 0xFFFFu);
}
constexpr DWORD SerialErrorsOf(WPARAM wParam) {
    return static_cast<DWORD>((wParam >> 16) & 0xFFFFu);
}

}  // namespace hx
