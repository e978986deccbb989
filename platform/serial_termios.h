#pragma once
// The POSIX back end's translation between the line settings a caller asks
// for and the terminal attributes the driver takes. Apart from the port so
// tests can check what is requested: a pseudo-terminal keeps no parity, so
// reading the line back cannot prove it.

#include "platform/serial_codes.h"

struct termios;  // the system's; only POSIX files see its members

namespace hx {

struct stLineSetup {
    DWORD baudRate = 9600;
    BYTE dataBits = 8;
    BYTE parity = NOPARITY;
    BYTE stopBits = ONESTOPBIT;
};

// A raw line: no echo, no line editing, no translation, no signals, reads
// that never wait, the modem lines ignored; then `setup` on top.
void MakeRawLine(::termios& attributes);
// Sets speed, character size, parity (checked on input exactly when there is
// one) and stop bits. ERROR_INVALID_PARAMETER, with `attributes` untouched,
// for values the driver cannot take.
LONG ApplyLineSetup(const stLineSetup& setup, ::termios& attributes);
stLineSetup LineSetupOf(const ::termios& attributes);

// Flow control only; E_INVALIDARG for a mode outside enumSerialHandshake.
LONG ApplyHandshake(DWORD mode, ::termios& attributes);
DWORD HandshakeOf(const ::termios& attributes);

}  // namespace hx
