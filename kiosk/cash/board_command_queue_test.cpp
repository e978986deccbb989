#include "kiosk/cash/board_command_queue.h"

#include <gtest/gtest.h>

#include "kiosk/cash/board_command_sender.h"
#include "platform/loop_test_support.h"

namespace hx {

namespace {

struct stWritten {
    std::vector<uint8_t> bytes;
    std::uint64_t at;
};

class BoardCommandQueue : public CManualClockTest {
protected:
    void SetUp() override {
        CManualClockTest::SetUp();
        m_window.onMessage = [this](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            return message == WM_TIMER && m_queue.OnTimer(wParam) ? 0 : 1;
        };
        m_window.Create();
        m_queue.Attach(m_window);
        m_sender.SetPortOpen(true);
        m_start = CLoopClock::Now();
        m_queue.Start();
    }

    // Times of the writes, from the first one.
    std::vector<std::uint64_t> WriteOffsets() const {
        std::vector<std::uint64_t> offsets;
        for (const stWritten& write : m_written) {
            offsets.push_back(write.at - m_written.front().at);
        }
        return offsets;
    }

    std::vector<std::string> RowCommands() const {
        std::vector<std::string> commands;
        for (const stBoardLogRow& row : m_monitor.Rows()) {
            commands.push_back(row.command);
        }
        return commands;
    }

    std::vector<stWritten> m_written;
    bool m_writeSucceeds = true;
    std::vector<std::string> m_logLines;
    CBoardMonitor m_monitor{[this](std::string_view line) { m_logLines.emplace_back(line); }};
    CBoardCommandSender m_sender{
        m_monitor, [this](std::span<const uint8_t> bytes) {
            m_written.push_back({{bytes.begin(), bytes.end()}, CLoopClock::Now()});
            return m_writeSucceeds;
        }};
    CBoardCommandQueue m_queue{
        [this](const stControlBoardCommand& command) { m_sender.SendBoardCommand(command); }};
    CRecordingWnd m_window;
    std::uint64_t m_start = 0;
};

TEST_F(BoardCommandQueue, ASilentBoardGetsACommandEveryThirdTick) {
    m_queue.QueueBoardCommand(BOARD_BILL_ALL_DATA);
    m_queue.QueueBoardCommand(BOARD_COIN_ALL_DATA);
    m_queue.QueueBoardCommand(BOARD_DISPENSER_ALL_DATA);
    PumpMessagesFor(3000);
    ASSERT_EQ(m_written.size(), 3u);
    EXPECT_EQ(m_written.front().at - m_start, 300u) << "the first goes at the first tick";
    EXPECT_EQ(WriteOffsets(), (std::vector<std::uint64_t>{0, 900, 1800}));
    EXPECT_EQ(m_written[2].bytes, (std::vector<uint8_t>{0x71, 0x8E}));
    EXPECT_EQ(m_queue.Pending(), 0u);
}

TEST_F(BoardCommandQueue, AnAnswerLetsTheNextCommandGoAtTheNextTick) {
    m_queue.QueueBoardCommand(BOARD_BILL_INLET_OPEN);
    m_queue.QueueBoardCommand(BOARD_COIN_INLET_OPEN);
    PumpMessagesFor(300);
    ASSERT_EQ(m_written.size(), 1u);
    m_queue.OnBoardAnswer();
    PumpMessagesFor(300);
    EXPECT_EQ(WriteOffsets(), (std::vector<std::uint64_t>{0, 300}));
    EXPECT_TRUE(m_sender.IsBillInletOpen());
}

TEST_F(BoardCommandQueue, RowsFollowWhatWasSentAndHowItWent) {
    m_queue.QueueBoardCommand(BOARD_COIN_CHANGED_DATA);
    m_queue.QueueBoardCommand(BOARD_DISPENSE, 3, 2, 1);
    m_queue.QueueBoardCommand(BOARD_DISPENSE, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        m_queue.OnBoardAnswer();
        PumpMessagesFor(300);
    }
    EXPECT_EQ(m_written.size(), 2u) << "an empty dispense writes nothing";
    EXPECT_EQ(RowCommands(), (std::vector<std::string>{"방출 명령"}))
        << "changed-data requests are hidden by default";
    EXPECT_EQ(m_monitor.Rows()[0].content, "73 8C 05 00 03 00 02 01 05 ");
    EXPECT_EQ(m_logLines.at(0), "방출기 PC  >>CB 방출 명령 73 8C 05 00 03 00 02 01 05 ");

    m_writeSucceeds = false;
    m_queue.QueueBoardCommand(BOARD_BILL_CHANGED_DATA);
    m_queue.OnBoardAnswer();
    PumpMessagesFor(300);
    EXPECT_EQ(RowCommands().back(), "변화 데이터 요구 !!전송실패") << "failures always show";

    m_sender.SetPortOpen(false);
    m_queue.QueueBoardCommand(BOARD_BILL_INLET_CLOSE);
    m_queue.OnBoardAnswer();
    PumpMessagesFor(300);
    EXPECT_EQ(m_monitor.Rows().back().content, "Port를 먼저 연결하세요");
    EXPECT_EQ(m_monitor.Rows().back().direction, kBoardInbound);
    EXPECT_EQ(m_queue.Pending(), 0u) << "dropped while the port is closed";
}

}  // namespace

}  // namespace hx
