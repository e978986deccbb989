#include "platform/serial.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <functional>
#include <future>
#include <string>
#include <utility>
#include <vector>

#include "platform/serial_test_support.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"

namespace hx {
namespace {

using CSerialTest = CSerialPortTest;

std::string ReadAll(CSerial& port) {
    char buffer[64];
    DWORD got = 0;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &got), ERROR_SUCCESS);
    return std::string(buffer, got);
}

TEST_F(CSerialTest, BytesCrossTheLineBothWays) {
    CSerial port;
    ASSERT_EQ(port.Open("COM3"), ERROR_SUCCESS);
    DWORD written = 0;
    ASSERT_EQ(port.Write("\x02\x33\x03", 3, &written), ERROR_SUCCESS);
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(m_device.Read(3, kTestPatience), "\x02\x33\x03");

    ASSERT_TRUE(m_device.WriteAll("ack"));
    std::string received;
    ASSERT_TRUE(WaitUntil([&] { return (received += ReadAll(port)).size() >= 3; }));
    EXPECT_EQ(received, "ack");
}

TEST_F(CSerialTest, OpenOnAnOpenPortIsRefusedAndKeepsThePort) {
    CSerial port;
    ASSERT_EQ(port.Open("COM3"), ERROR_SUCCESS);
    EXPECT_EQ(port.Open("COM3"), ERROR_ALREADY_INITIALIZED);
    EXPECT_EQ(port.LastError(), ERROR_ALREADY_INITIALIZED);
    EXPECT_TRUE(port.IsOpen());
    ASSERT_EQ(port.WriteText("still"), ERROR_SUCCESS);
    EXPECT_EQ(m_device.Read(5, kTestPatience), "still");
}

TEST_F(CSerialTest, EveryOperationOnAClosedPortIsAnInvalidHandle) {
    CSerial port;
    char buffer[8];
    const std::vector<std::pair<const char*, std::function<LONG()>>> operations = {
        {"Read", [&] { return port.Read(buffer, sizeof buffer); }},
        {"Write", [&] { return port.Write("x", 1); }},
        {"Setup", [&] { return port.Setup(9600, 8, EVENPARITY, ONESTOPBIT); }},
        {"SetEventMask", [&] { return port.SetEventMask(EV_RXCHAR); }},
        {"WaitForEvent", [&] { return port.WaitForEvent(); }},
        {"SetReadMode", [&] { return port.SetReadMode(ReadModeBlocking); }},
        {"SetHandshake", [&] { return port.SetHandshake(HandshakeOff); }},
        {"Purge", [&] { return port.Purge(); }},
    };
    for (const auto& [name, operation] : operations) {
        EXPECT_EQ(operation(), ERROR_INVALID_HANDLE) << name;
        EXPECT_EQ(port.LastError(), ERROR_INVALID_HANDLE) << name;
    }
    DWORD count = 99;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &count, 100), ERROR_INVALID_HANDLE);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(port.Close(), ERROR_SUCCESS) << "closing a closed port is no fault";
}

TEST_F(CSerialTest, ATimeLimitNeedsAnOverlappedPort) {
    CSerial port;
    ASSERT_EQ(port.Open("COM3"), ERROR_SUCCESS);
    char buffer[8];
    EXPECT_EQ(port.Read(buffer, sizeof buffer, nullptr, 100), ERROR_INVALID_FUNCTION);
    EXPECT_EQ(port.Write("x", 1, nullptr, 100), ERROR_INVALID_FUNCTION);
    EXPECT_EQ(port.WaitForEvent(100), ERROR_INVALID_FUNCTION);
}

TEST_F(CSerialTest, AReadOfAnIdleLineReturnsNothingWithoutWaiting) {
    CSerial port;
    ASSERT_EQ(port.Open("COM3", 0, 0, true), ERROR_SUCCESS);
    char buffer[100];
    DWORD count = 99;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &count, 100), ERROR_SUCCESS);
    EXPECT_EQ(count, 0u);
    // Even with no time limit at all: a read that waited for data would never end.
    std::future<LONG> unlimited =
        std::async(std::launch::async, [&] { return port.Read(buffer, sizeof buffer, &count); });
    const bool returned = unlimited.wait_for(kTestPatience) == std::future_status::ready;
    if (!returned) {
        m_device.WriteAll("x");  // let the stuck read go before failing
    }
    ASSERT_TRUE(returned);
    EXPECT_EQ(unlimited.get(), ERROR_SUCCESS);
    EXPECT_EQ(count, 0u);
}

TEST_F(CSerialTest, ABlockingReadThatGetsTooLittleTimesOut) {
    CSerial port;
    ASSERT_EQ(port.Open("COM3", 0, 0, true), ERROR_SUCCESS);
    ASSERT_EQ(port.SetReadMode(ReadModeBlocking), ERROR_SUCCESS);
    ASSERT_TRUE(m_device.WriteAll("ab"));
    char buffer[4];
    DWORD count = 0;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &count, 50), ERROR_TIMEOUT);
    EXPECT_EQ(std::string(buffer, count), "ab");
}

TEST_F(CSerialTest, ModesOutsideTheListAreRefused) {
    CSerial port;
    ASSERT_EQ(port.Open("COM3"), ERROR_SUCCESS);
    EXPECT_EQ(port.SetReadMode(2), E_INVALIDARG);
    EXPECT_EQ(port.SetHandshake(3), E_INVALIDARG);
    EXPECT_EQ(port.SetHandshake(HandshakeSoftware), ERROR_SUCCESS);
    EXPECT_EQ(port.QueryHandshake(), HandshakeSoftware);
}

struct stReadBack {
    DWORD baudRate;
    BYTE dataBits;
    BYTE parity;
    BYTE stopBits;
    speed_t speed;
    tcflag_t size;
    bool twoStopBits;
};

// A pseudo-terminal keeps speed and stop bits but forces eight data bits and
// no parity; the parity requested is checked on the attributes built.
TEST_F(CSerialTest, TheDeviceSideReadsBackTheLineTheKioskSets) {
    const stReadBack cases[] = {
        {9600, 8, EVENPARITY, ONESTOPBIT, B9600, CS8, false},  // control board
        {9600, 8, NOPARITY, ONESTOPBIT, B9600, CS8, false},    // card dispenser
        {19200, 8, ODDPARITY, TWOSTOPBITS, B19200, CS8, true},
        {115200, 8, NOPARITY, ONESTOPBIT, B115200, CS8, false},
    };
    for (const stReadBack& line : cases) {
        SCOPED_TRACE(line.baudRate);
        CSerial port;
        ASSERT_EQ(port.Open("COM3"), ERROR_SUCCESS);
        ASSERT_EQ(port.Setup(line.baudRate, line.dataBits, line.parity, line.stopBits),
                  ERROR_SUCCESS);
        termios seen{};
        ASSERT_EQ(::tcgetattr(m_device.MasterDescriptor(), &seen), 0);
        EXPECT_EQ(::cfgetospeed(&seen), line.speed);
        EXPECT_EQ(::cfgetispeed(&seen), line.speed);
        EXPECT_EQ(seen.c_cflag & CSIZE, line.size);
        EXPECT_EQ((seen.c_cflag & CSTOPB) != 0, line.twoStopBits);
        EXPECT_EQ(port.QueryBaudRate(), line.baudRate);
        EXPECT_EQ(port.QueryDataBits(), line.dataBits);
        EXPECT_EQ(port.QueryStopBits(), line.stopBits);
    }
}

TEST_F(CSerialTest, LineValuesTheDriverCannotTakeAreRefused) {
    CSerial port;
    ASSERT_EQ(port.Open("COM3"), ERROR_SUCCESS);
    ASSERT_EQ(port.Setup(9600, 8, EVENPARITY, ONESTOPBIT), ERROR_SUCCESS);
    const stLineSetup refused[] = {
        {12345, 8, NOPARITY, ONESTOPBIT},  {9600, 9, NOPARITY, ONESTOPBIT},
        {9600, 4, NOPARITY, ONESTOPBIT},   {9600, 8, 5, ONESTOPBIT},
        {9600, 8, NOPARITY, ONE5STOPBITS}, {9600, 8, NOPARITY, 3},
    };
    for (const stLineSetup& line : refused) {
        EXPECT_EQ(port.Setup(line.baudRate, line.dataBits, line.parity, line.stopBits),
                  ERROR_INVALID_PARAMETER)
            << line.baudRate << " " << int{line.dataBits} << " " << int{line.parity} << " "
            << int{line.stopBits};
    }
    EXPECT_EQ(port.QueryBaudRate(), 9600u) << "a refused setup leaves the line as it was";
}

TEST_F(CSerialTest, CheckPortTellsFreeMissingAndNotAPort) {
    LinkPort(4, m_drive.Folder() / "unplugged");
    WriteWholeFile(m_drive.Folder() / "plain.txt", "not a device");
    LinkPort(5, m_drive.Folder() / "plain.txt");
    const std::pair<const char*, int> cases[] = {
        {"COM3", 0}, {"COM4", 1}, {"COM5", 1}, {"LPT1", 1}, {"COM0", 1},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(CSerial::CheckPort(name), expected) << name;
    }
    EXPECT_EQ(CSerial::CheckPort(m_device.SlavePath()), 0) << "a device path as it is";
}

TEST_F(CSerialTest, CheckPortSeesAPortThatThisProgramHolds) {
    CSerial holder;
    ASSERT_EQ(holder.Open("COM3"), ERROR_SUCCESS);
    EXPECT_EQ(CSerial::CheckPort("COM3"), 2);
    CSerial second;
    EXPECT_EQ(second.Open("COM3"), ERROR_ACCESS_DENIED);
    holder.Close();
    EXPECT_EQ(CSerial::CheckPort("COM3"), 0);
    EXPECT_EQ(second.Open("COM3"), ERROR_SUCCESS);
}

TEST_F(CSerialTest, CheckPortSeesAPortThatAnotherProcessHolds) {
    stChildLaunch launch;
    launch.args = {"flock", "--exclusive", m_device.SlavePath(), "cat"};
    launch.withInput = true;  // holds the lock until its input ends
    CChildProcess holder;
    ASSERT_TRUE(holder.Start(launch));
    EXPECT_TRUE(WaitUntil([] { return CSerial::CheckPort("COM3") == 2; }));
    CSerial port;
    EXPECT_EQ(port.Open("COM3"), ERROR_ACCESS_DENIED);
    holder.Stop();
    // The lock goes with the last process that has it open.
    EXPECT_TRUE(WaitUntil([] { return CSerial::CheckPort("COM3") == 0; }));
}

}  // namespace
}  // namespace hx
