#include "channel/queue_data.h"

#include <gtest/gtest.h>

#include <vector>

#include "channel/return_code.h"
#include "net/byte_order.h"

namespace hx {

namespace {

TEST(QueueData, TotalsFollowEveryObjectAndMoveHandsTheBytesOn) {
    const int count = CQueueData::GetTotCount();
    const int64_t size = CQueueData::GetTotSize();
    std::vector<uint8_t> packet(40, 0);
    StoreLe32(packet.data(), 602);
    {
        CQueueData received(packet.data(), 40);
        CQueueData target(packet.data(), 36);
        EXPECT_EQ(CQueueData::GetTotCount(), count + 2);
        EXPECT_EQ(CQueueData::GetTotSize(), size + 76);

        received.Move(target);
        EXPECT_EQ(received.GetLength(), 0);
        EXPECT_EQ(received.GetData(), nullptr);
        EXPECT_EQ(received.GetCommand(), 0u);
        EXPECT_EQ(target.GetLength(), 40);
        EXPECT_EQ(target.GetCommand(), 602u);
        EXPECT_EQ(CQueueData::GetTotSize(), size + 40) << "the target's old bytes are gone";

        target.Move(target);
        EXPECT_EQ(target.GetLength(), 40);
        CQueueData empty(nullptr, 10);
        EXPECT_EQ(empty.GetLength(), 0);
    }
    EXPECT_EQ(CQueueData::GetTotCount(), count);
    EXPECT_EQ(CQueueData::GetTotSize(), size);
}

TEST(ReturnCode, RecordIsReadAndWrittenAtItsOffsets) {
    std::vector<uint8_t> packet(stReturnCode::kSize);
    stReturnCode record;
    record.header.command = 20001;
    record.header.size = 296;
    record.returnCode = -7;
    record.data[0] = 1;
    record.data[255] = 2;
    ASSERT_TRUE(PackReturnCode(record, packet));
    EXPECT_EQ(LoadLe32(&packet[36]), static_cast<uint32_t>(-7));
    EXPECT_EQ(packet[40], 1);
    EXPECT_EQ(packet[295], 2);

    stReturnCode read;
    ASSERT_TRUE(UnpackReturnCode(packet, read));
    EXPECT_EQ(read.header.command, 20001u);
    EXPECT_EQ(read.returnCode, -7);
    EXPECT_EQ(read.data, record.data);
    EXPECT_FALSE(UnpackReturnCode(std::span(packet).first(295), read));
}

}  // namespace

}  // namespace hx
