#include "tools/frontdesk/packet_addressing.h"

#include <gtest/gtest.h>

#include <vector>

#include "net/byte_order.h"
#include "tools/frontdesk/server_packets.h"

namespace hx {

namespace {

Bytes Packet(uint32_t command, size_t size) {
    Bytes packet(size);
    InitPacketHeader(packet, static_cast<enumCommand>(command));
    return packet;
}

TEST(PacketAddressing, AnswerGoesBackToTheRequestClientThatAsked) {
    stHeader request;
    request.command = 515;
    request.senderClientKey = 0x1001;
    request.senderSequence = 42;
    request.serviceKey = 9;
    Bytes answer = Packet(515, 104);
    ASSERT_TRUE(AddressAnswer(request, answer));
    const stHeader header = UnpackHeader(answer);
    EXPECT_EQ(header.addresseeClientKey, 0x1001u);
    EXPECT_EQ(header.addresseeSequence, 42u);
    EXPECT_EQ(header.serviceKey, 9u);
    EXPECT_EQ(header.size, 104u);
    EXPECT_EQ(header.magic, kPacketMagic);
}

TEST(PacketAddressing, UnsolicitedPacketsReachOnlyTheKiosksDispatcher) {
    Bytes page = Packet(501, 5848);
    stHeader stale = UnpackHeader(page);
    stale.addresseeSequence = 7;
    stale.serviceKey = 9;
    PackHeader(stale, page);
    ASSERT_TRUE(AddressUnsolicited(0x2002, page));
    const stHeader header = UnpackHeader(page);
    EXPECT_EQ(header.addresseeClientKey, 0x2002u);
    EXPECT_EQ(header.addresseeSequence, 0u);
    EXPECT_EQ(header.serviceKey, 0u) << "a service key would hand it to a waiting client";
}

TEST(PacketAddressing, EveryPacketInAContainerIsAddressedUpToABrokenOne) {
    Bytes broken = Packet(502, 152);
    StoreLe32(broken.data() + HDR_SIZE, 20);
    Bytes container = BuildContainer({Packet(516, 108), Packet(517, 560), broken});
    ASSERT_TRUE(AddressUnsolicited(0x3003, container));
    EXPECT_EQ(UnpackHeader(container).addresseeClientKey, 0x3003u);
    EXPECT_EQ(UnpackHeader(std::span(container).subspan(36)).addresseeClientKey, 0x3003u);
    EXPECT_EQ(UnpackHeader(std::span(container).subspan(36 + 108)).addresseeClientKey, 0x3003u);
    EXPECT_EQ(UnpackHeader(std::span(container).subspan(36 + 108 + 560)).addresseeClientKey, 0u)
        << "the walk stops where the kiosk's walk stops";
}

TEST(PacketAddressing, RefusesWhatIsShorterThanAHeader) {
    Bytes tiny(20);
    EXPECT_FALSE(AddressAnswer(stHeader{}, tiny));
    EXPECT_FALSE(AddressUnsolicited(1, tiny));
}

}  // namespace

}  // namespace hx
