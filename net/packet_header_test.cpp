#include "net/packet_header.h"

#include <gtest/gtest.h>

#include <vector>

namespace hx {

namespace {

TEST(PacketHeader, InitClearsTheWholePacketAndSetsCommandSizeMagic) {
    std::vector<uint8_t> packet(268, 0xEE);
    ASSERT_TRUE(InitPacketHeader(packet, CMD_HANDSHAKE, 77));
    const std::vector<uint8_t> head = {13, 0, 0, 0, 0x0C, 0x01, 0, 0};  // 13, 268
    EXPECT_TRUE(std::equal(head.begin(), head.end(), packet.begin()));
    EXPECT_EQ(packet[32], 0x78);
    EXPECT_EQ(packet[33], 0x56);
    for (size_t i = 8; i < packet.size(); ++i) {
        if (i != 32 && i != 33) {
            ASSERT_EQ(packet[i], 0) << "byte " << i;
        }
    }
}

TEST(PacketHeader, RefusesABufferShorterThanAHeader) {
    std::vector<uint8_t> packet(35, 0xEE);
    EXPECT_FALSE(InitPacketHeader(packet, CMD_PING));
    EXPECT_EQ(packet[0], 0xEE);
}

TEST(PacketHeader, FieldsSitAtTheirOffsetsLittleEndian) {
    stHeader header{1, 2, 3, 4, 5, 6, 7, 8, kPacketMagic};
    std::vector<uint8_t> packet(kPacketHeaderSize);
    PackHeader(header, packet);
    for (uint32_t field = 0; field < 8; ++field) {
        EXPECT_EQ(packet[field * 4], field + 1);
        EXPECT_EQ(packet[field * 4 + 1], 0);
    }
    stHeader back = UnpackHeader(packet);
    EXPECT_EQ(back.addresseeSequence, 6u);
    EXPECT_EQ(back.magic, kPacketMagic);
}

}  // namespace

}  // namespace hx
