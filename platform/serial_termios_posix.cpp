#include "platform/serial_termios.h"

#include <termios.h>

#include <array>
#include <utility>

namespace hx {

namespace {

constexpr std::array<std::pair<DWORD, speed_t>, 18> kSpeeds{{
    {50, B50},
    {75, B75},
    {110, B110},
    {134, B134},
    {150, B150},
    {200, B200},
    {300, B300},
    {600, B600},
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
    {460800, B460800},
}};

bool SpeedOf(DWORD baudRate, speed_t* speed) {
    for (const auto& [rate, code] : kSpeeds) {
        if (rate == baudRate) {
            *speed = code;
            return true;
        }
    }
    return false;
}

DWORD BaudRateOf(speed_t speed) {
    for (const auto& [rate, code] : kSpeeds) {
        if (code == speed) {
            return rate;
        }
    }
    return 0;
}

bool CharacterSizeOf(BYTE dataBits, tcflag_t* size) {
    constexpr std::array<tcflag_t, 4> kSizes{CS5, CS6, CS7, CS8};
    if (dataBits < 5 || dataBits > 8) {
        return false;
    }
    *size = kSizes[dataBits - 5];
    return true;
}

// PARENB, PARODD and CMSPAR for one parity; false for an unknown one.
bool ParityFlagsOf(BYTE parity, tcflag_t* flags) {
    constexpr std::array<tcflag_t, 5> kFlags{
        0,                         // NOPARITY
        PARENB | PARODD,           // ODDPARITY
        PARENB,                    // EVENPARITY
        PARENB | PARODD | CMSPAR,  // MARKPARITY
        PARENB | CMSPAR,           // SPACEPARITY
    };
    if (parity >= kFlags.size()) {
        return false;
    }
    *flags = kFlags[parity];
    return true;
}

// One and a half stop bits exist only with five data bits, as on Windows.
bool StopBitsValid(BYTE stopBits, BYTE dataBits) {
    return stopBits == ONESTOPBIT || stopBits == TWOSTOPBITS ||
           (stopBits == ONE5STOPBITS && dataBits == 5);
}

}  // namespace

void MakeRawLine(::termios& attributes) {
    ::cfmakeraw(&attributes);
    attributes.c_cflag |= CLOCAL | CREAD;
    attributes.c_cflag &= ~static_cast<tcflag_t>(HUPCL);
    attributes.c_cc[VMIN] = 0;
    attributes.c_cc[VTIME] = 0;
}

LONG ApplyLineSetup(const stLineSetup& setup, ::termios& attributes) {
    speed_t speed = 0;
    tcflag_t size = 0;
    tcflag_t parity = 0;
    if (!SpeedOf(setup.baudRate, &speed) || !CharacterSizeOf(setup.dataBits, &size) ||
        !ParityFlagsOf(setup.parity, &parity) || !StopBitsValid(setup.stopBits, setup.dataBits)) {
        return ERROR_INVALID_PARAMETER;
    }
    ::cfsetispeed(&attributes, speed);
    ::cfsetospeed(&attributes, speed);
    attributes.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    attributes.c_cflag |= size | parity;
    if (setup.stopBits != ONESTOPBIT) {
        attributes.c_cflag |= CSTOPB;
    }
    // Bytes with a parity or framing error still arrive (as 0) and are
    // counted by the driver, so the listener can report them.
    attributes.c_iflag &= ~static_cast<tcflag_t>(INPCK | IGNPAR | PARMRK | ISTRIP);
    if (setup.parity != NOPARITY) {
        attributes.c_iflag |= INPCK;
    }
    return ERROR_SUCCESS;
}

stLineSetup LineSetupOf(const ::termios& attributes) {
    stLineSetup setup;
    setup.baudRate = BaudRateOf(::cfgetospeed(&attributes));
    switch (attributes.c_cflag & CSIZE) {
        case CS5:
            setup.dataBits = 5;
            break;
        case CS6:
            setup.dataBits = 6;
            break;
        case CS7:
            setup.dataBits = 7;
            break;
        default:
            setup.dataBits = 8;
            break;
    }
    setup.parity = NOPARITY;
    if ((attributes.c_cflag & PARENB) != 0) {
        const bool odd = (attributes.c_cflag & PARODD) != 0;
        const bool sticky = (attributes.c_cflag & CMSPAR) != 0;
        setup.parity = sticky ? (odd ? MARKPARITY : SPACEPARITY) : (odd ? ODDPARITY : EVENPARITY);
    }
    const bool extra = (attributes.c_cflag & CSTOPB) != 0;
    setup.stopBits = !extra ? ONESTOPBIT : (setup.dataBits == 5 ? ONE5STOPBITS : TWOSTOPBITS);
    return setup;
}

LONG ApplyHandshake(DWORD mode, ::termios& attributes) {
    if (mode > HandshakeSoftware) {
        return E_INVALIDARG;
    }
    attributes.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    attributes.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (mode == HandshakeHardware) {
        attributes.c_cflag |= CRTSCTS;
    } else if (mode == HandshakeSoftware) {
        attributes.c_iflag |= IXON | IXOFF;
    }
    return ERROR_SUCCESS;
}

DWORD HandshakeOf(const ::termios& attributes) {
    if ((attributes.c_cflag & CRTSCTS) != 0) {
        return HandshakeHardware;
    }
    return (attributes.c_iflag & (IXON | IXOFF)) != 0 ? HandshakeSoftware : HandshakeOff;
}

}  // namespace hx
