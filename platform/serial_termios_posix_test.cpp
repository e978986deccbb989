#include "platform/serial_termios.h"

#include <gtest/gtest.h>
#include <termios.h>

namespace hx {
namespace {

struct stParityCase {
    BYTE parity;
    tcflag_t controlFlags;  // of PARENB, PARODD and CMSPAR
    bool checked;           // INPCK
};

// What a pseudo-terminal does not keep: the parity the kiosk asks for.
TEST(SerialTermiosTest, ParityIsRequestedAndCheckedOnInput) {
    const stParityCase cases[] = {
        {EVENPARITY, PARENB, true},  // control board, 9600 8E1
        {NOPARITY, 0, false},        // card dispenser, 9600 8N1
        {ODDPARITY, PARENB | PARODD, true},
        {MARKPARITY, PARENB | PARODD | CMSPAR, true},
        {SPACEPARITY, PARENB | CMSPAR, true},
    };
    for (const stParityCase& wanted : cases) {
        SCOPED_TRACE(int{wanted.parity});
        termios attributes{};
        MakeRawLine(attributes);
        // Start from the opposite, so flags left over from before would show.
        attributes.c_cflag |= PARENB | PARODD | CMSPAR;
        attributes.c_iflag |= INPCK | IGNPAR | PARMRK;
        ASSERT_EQ(ApplyLineSetup({9600, 8, wanted.parity, ONESTOPBIT}, attributes), ERROR_SUCCESS);
        EXPECT_EQ(attributes.c_cflag & (PARENB | PARODD | CMSPAR), wanted.controlFlags);
        EXPECT_EQ((attributes.c_iflag & INPCK) != 0, wanted.checked);
        EXPECT_EQ(attributes.c_iflag & (IGNPAR | PARMRK), 0u)
            << "bytes with errors must still arrive, unmarked";
        EXPECT_EQ(LineSetupOf(attributes).parity, wanted.parity);
    }
}

TEST(SerialTermiosTest, TheBoardLineIsRawEightDataBitsOneStopBit) {
    termios attributes{};
    attributes.c_lflag = ICANON | ECHO | ISIG;
    attributes.c_iflag = ICRNL | IXON;
    attributes.c_oflag = OPOST | ONLCR;
    MakeRawLine(attributes);
    ASSERT_EQ(ApplyLineSetup({9600, 8, EVENPARITY, ONESTOPBIT}, attributes), ERROR_SUCCESS);
    EXPECT_EQ(attributes.c_lflag & (ICANON | ECHO | ISIG), 0u) << "no line editing or echo";
    EXPECT_EQ(attributes.c_iflag & (ICRNL | IXON), 0u) << "no byte is translated or swallowed";
    EXPECT_EQ(attributes.c_oflag & OPOST, 0u);
    EXPECT_EQ(attributes.c_cflag & (CSIZE | CSTOPB | CLOCAL | CREAD), CS8 | CLOCAL | CREAD);
    EXPECT_EQ(attributes.c_cc[VMIN], 0) << "reads never wait";
    EXPECT_EQ(::cfgetospeed(&attributes), B9600);
}

TEST(SerialTermiosTest, RefusedValuesLeaveTheAttributesAlone) {
    termios attributes{};
    MakeRawLine(attributes);
    ASSERT_EQ(ApplyLineSetup({9600, 8, EVENPARITY, ONESTOPBIT}, attributes), ERROR_SUCCESS);
    const termios before = attributes;
    EXPECT_EQ(ApplyLineSetup({9600, 8, 7, ONESTOPBIT}, attributes), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(attributes.c_cflag, before.c_cflag);
    EXPECT_EQ(attributes.c_iflag, before.c_iflag);
}

TEST(SerialTermiosTest, HandshakeModesSetOnlyFlowControl) {
    const std::pair<DWORD, std::pair<tcflag_t, tcflag_t>> cases[] = {
        {HandshakeOff, {0, 0}},
        {HandshakeHardware, {CRTSCTS, 0}},
        {HandshakeSoftware, {0, IXON | IXOFF}},
    };
    for (const auto& [mode, flags] : cases) {
        termios attributes{};
        MakeRawLine(attributes);
        ApplyLineSetup({9600, 8, EVENPARITY, ONESTOPBIT}, attributes);
        attributes.c_cflag |= CRTSCTS;
        attributes.c_iflag |= IXON | IXOFF | IXANY;
        ASSERT_EQ(ApplyHandshake(mode, attributes), ERROR_SUCCESS);
        EXPECT_EQ(attributes.c_cflag & CRTSCTS, flags.first) << mode;
        EXPECT_EQ(attributes.c_iflag & (IXON | IXOFF | IXANY), flags.second) << mode;
        EXPECT_EQ(LineSetupOf(attributes).parity, EVENPARITY) << "parity stays";
        EXPECT_EQ(HandshakeOf(attributes), mode);
    }
}

}  // namespace
}  // namespace hx
