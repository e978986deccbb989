#include "platform/serial_wnd.h"

#include <gtest/gtest.h>

#include <future>
#include <string>

#include "platform/serial_test_support.h"

namespace hx {
namespace {

constexpr UINT kBoardMessage = WM_USER + 77;

class CSerialWndTest : public CSerialPortTest {
protected:
    void SetUp() override {
        CSerialPortTest::SetUp();
        ASSERT_TRUE(m_window.Create());
    }
    void TearDown() override {
        m_port.Close();
        m_window.DestroyWindow();
        CSerialPortTest::TearDown();
    }

    std::vector<WPARAM> Events(UINT message = kBoardMessage) const {
        return m_window.WParamsOf(message);
    }
    bool PumpUntilEvents(std::size_t count, UINT message = kBoardMessage) {
        return PumpUntil([&] { return Events(message).size() >= count; });
    }
    std::string ReadWaiting() {
        char buffer[100];
        DWORD got = 0;
        EXPECT_EQ(m_port.Read(buffer, sizeof buffer, &got, 100), ERROR_SUCCESS);
        return std::string(buffer, got);
    }

    CRecordingWnd m_window;
    CSerialMFC m_port;
};

TEST_F(CSerialWndTest, ArrivingBytesPostTheMessageWithTheCallersValue) {
    ASSERT_EQ(m_port.Open("COM3", &m_window, kBoardMessage, 1234), ERROR_SUCCESS);
    EXPECT_TRUE(m_port.IsListening());
    ASSERT_TRUE(m_device.WriteAll("\x33\x06"));
    ASSERT_TRUE(PumpUntilEvents(1));
    EXPECT_EQ(Events()[0], SerialEventWParam(EV_RXCHAR, 0));
    EXPECT_EQ(m_window.seen.back().lParam, 1234);
    EXPECT_EQ(ReadWaiting(), "\x33\x06");
}

TEST_F(CSerialWndTest, MessageZeroMeansTheRegisteredDefault) {
    const UINT byName = RegisterWindowMessage("CSerialWnd_DefaultComMsg");
    EXPECT_EQ(CSerialWnd::DefaultComMsg(), byName);
    CSerialWnd port;
    ASSERT_EQ(port.Open("COM3", m_window.GetSafeHwnd()), ERROR_SUCCESS);
    ASSERT_TRUE(m_device.WriteAll("x"));
    ASSERT_TRUE(PumpUntilEvents(1, byName));
}

// The window reads only after its settle time: bytes it has not read yet are
// not news, so each arrival is reported once, not over and over meanwhile.
TEST_F(CSerialWndTest, EachArrivalIsReportedOnceWhileTheBytesWaitUnread) {
    ASSERT_EQ(m_port.Open("COM3", &m_window, kBoardMessage), ERROR_SUCCESS);
    for (std::size_t arrival = 1; arrival <= 3; ++arrival) {
        ASSERT_TRUE(m_device.WriteAll("n"));
        ASSERT_TRUE(PumpUntilEvents(arrival));
    }
    EXPECT_EQ(Events().size(), 3u);
    EXPECT_EQ(ReadWaiting(), "nnn");
}

TEST_F(CSerialWndTest, CloseWhileTheListenerWaitsReturns) {
    ASSERT_EQ(m_port.Open("COM3", &m_window, kBoardMessage), ERROR_SUCCESS);
    ASSERT_TRUE(m_port.IsListening());
    std::future<LONG> closing = std::async(std::launch::async, [&] { return m_port.Close(); });
    ASSERT_EQ(closing.wait_for(kTestPatience), std::future_status::ready);
    EXPECT_EQ(closing.get(), ERROR_SUCCESS);
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_FALSE(m_port.IsListening());
    EXPECT_EQ(CSerial::CheckPort("COM3"), 0) << "the port is free for the next open";
}

TEST_F(CSerialWndTest, AStoppedListenerStartsAgain) {
    ASSERT_EQ(m_port.Open("COM3", &m_window, kBoardMessage), ERROR_SUCCESS);
    EXPECT_EQ(m_port.StartListener(), ERROR_SUCCESS) << "a second start is no fault";
    ASSERT_EQ(m_port.StopListener(kTestPatience.count()), ERROR_SUCCESS);
    EXPECT_FALSE(m_port.IsListening());
    ASSERT_EQ(m_port.StartListener(), ERROR_SUCCESS);
    ASSERT_TRUE(m_device.WriteAll("y"));
    ASSERT_TRUE(PumpUntilEvents(1));
}

// Else the port looks open while nothing is read: inserted notes would never
// be counted.
TEST_F(CSerialWndTest, AListenerThatEndsOnAHangUpTellsItsWindow) {
    ASSERT_EQ(m_port.Open("COM3", &m_window, kBoardMessage, 5), ERROR_SUCCESS);
    m_device.CloseMaster();
    ASSERT_TRUE(PumpUntilEvents(1));
    const WPARAM ended = Events().back();
    EXPECT_EQ(SerialEventsOf(ended), EV_ERR);
    EXPECT_EQ(SerialErrorsOf(ended), CE_IOE);
    EXPECT_EQ(m_window.seen.back().lParam, 5);
    EXPECT_FALSE(m_port.IsListening());
    EXPECT_TRUE(m_port.IsOpen()) << "closing is the window's to do";
    EXPECT_EQ(m_port.Close(), ERROR_SUCCESS);
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(CSerialWndTest, APortThatCannotOpenStartsNoListener) {
    LinkPort(8, m_drive.Folder() / "unplugged");
    EXPECT_EQ(m_port.Open("COM8", &m_window), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_FALSE(m_port.IsListening());
    EXPECT_EQ(m_port.StartListener(), ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace hx
