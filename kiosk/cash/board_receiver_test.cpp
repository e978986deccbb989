#include "kiosk/cash/board_receiver.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

class BoardReceiver : public ::testing::Test {
protected:
    int m_sent = 0;
    CBoardMonitor m_monitor{{}};
    CBoardDevices m_devices{stBoardHooks{}};
    CBoardCommandQueue m_queue{[this](const stControlBoardCommand&) { ++m_sent; }};
    CBoardReceiver m_receiver{m_monitor, m_devices, m_queue};

    // The first command goes at once and leaves the queue waiting for an answer.
    void SetUp() override {
        m_queue.QueueBoardCommand(BOARD_BILL_ALL_DATA);
        m_queue.OnTimer(CBoardCommandQueue::kQueueTimer);
    }

    // True when the queue was free to send at the next tick after the chunk.
    bool AnsweredBy(const Bytes& chunk) {
        m_queue.QueueBoardCommand(BOARD_BILL_ALL_DATA);
        m_receiver.ParseBoardChunk(chunk);
        const int before = m_sent;
        m_queue.OnTimer(CBoardCommandQueue::kQueueTimer);
        return m_sent > before;
    }
};

TEST_F(BoardReceiver, TheChunkExamplesSetTheBillsAmount) {
    const struct {
        Bytes chunk;
        int bills;
    } cases[] = {
        {{0x33, 0x06, 0x05, 0x18, 0x01, 0x00, 0x00, 0x00, 0x1A}, 1000},
        {{0x33, 0x06, 0x05, 0x18, 0x01, 0x00, 0x00, 0x00, 0x00}, 1000},
        {{0x33, 0x06, 0x05, 0x18, 0x01, 0x00, 0x00, 0x00}, 0},
        {{0x33, 0x06, 0x05, 0x18, 0x01, 0x00, 0x00, 0x00, 0x1A, 0x33, 0x06, 0x05, 0x18, 0x02, 0x00,
          0x00, 0x00, 0x00},
         1000},
    };
    for (const auto& c : cases) {
        m_devices.ClearCounts();
        m_devices.OnCountsResetSent();
        m_receiver.ParseBoardChunk(c.chunk);
        EXPECT_EQ(m_devices.BillsAmount(), c.bills) << c.chunk.size();
    }
}

TEST_F(BoardReceiver, AnAcknowledgementIsAnAnswerEvenWhenItIsNotShown) {
    m_monitor.m_bShowAcks = false;
    EXPECT_TRUE(AnsweredBy({0x11}));
    EXPECT_TRUE(AnsweredBy({0x11, 0x11}));
    EXPECT_TRUE(m_monitor.Rows().empty());
    EXPECT_EQ(m_monitor.LastDump(), "11 11 ");
    EXPECT_TRUE(AnsweredBy({0x22, 0x02, 0x0B, 0x01}));
    EXPECT_FALSE(AnsweredBy({0x44, 0x11}));
    EXPECT_EQ(m_monitor.Rows().size(), 2u);
}

TEST_F(BoardReceiver, SplitFramesAreCountedOnTheMonitor) {
    m_receiver.ParseBoardChunk(Bytes{0x33, 0x06, 0x05, 0x18});
    m_receiver.ParseBoardChunk(Bytes{0x01, 0x00, 0x00, 0x00, 0x1A});
    m_receiver.ParseBoardChunk(Bytes{0x33, 0x06, 0x05, 0x18, 0x01});
    EXPECT_EQ(m_receiver.SplitFramesDropped(), 2);
    EXPECT_EQ(m_monitor.Rows().back().content, "잘린 프레임 버림 (누적 2)");
    EXPECT_EQ(m_devices.BillsAmount(), 0);
}

TEST_F(BoardReceiver, TheMonitorKeepsTheNewestRowsUpToItsCap) {
    for (size_t i = 0; i < CBoardMonitor::kMaxRows + 5; ++i) {
        m_monitor.AddBoardLogRow("k", false, "c", std::to_string(i));
    }
    EXPECT_EQ(m_monitor.Rows().size(), CBoardMonitor::kMaxRows);
    EXPECT_EQ(m_monitor.Rows().front().content, "5");
}

}  // namespace

}  // namespace hx
