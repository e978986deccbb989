// The handshake packets and the container walk on bytes alone.
#include "channel/net_channel_handshake.h"

#include <gtest/gtest.h>

#include "channel/net_channel_container.h"
#include "net/byte_order.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Packet(uint32_t command, uint32_t size, size_t length) {
    Bytes packet(length);
    stHeader header;
    header.command = command;
    header.size = size;
    header.magic = kPacketMagic;
    PackHeader(header, packet);
    return packet;
}

TEST(HandshakeAnswer, CountsOnlyWithASizeFieldFrom108UpToTheMessage) {
    stHandshakeAnswer answer;
    const Bytes built = BuildHandshakeAnswer({42, 0x1234, "프런트"});
    ASSERT_EQ(ReadHandshakeAnswer(built, answer), HANDSHAKE_ACCEPTED);
    EXPECT_EQ(answer.uniqueNo, 42u);
    EXPECT_EQ(answer.clientKey, 0x1234u);
    EXPECT_EQ(answer.name, "프런트");

    Bytes longer = Packet(CMD_HANDSHAKE_ANSWER, 200, 200);
    EXPECT_EQ(ReadHandshakeAnswer(longer, answer), HANDSHAKE_ACCEPTED);
    EXPECT_EQ(ReadHandshakeAnswer(Packet(CMD_HANDSHAKE_ANSWER, 107, 200), answer),
              HANDSHAKE_UNEXPECTED);
    EXPECT_EQ(ReadHandshakeAnswer(Packet(CMD_HANDSHAKE_ANSWER, 201, 200), answer),
              HANDSHAKE_UNEXPECTED)
        << "a size field beyond the message";
    EXPECT_EQ(ReadHandshakeAnswer(Packet(CMD_HANDSHAKE_REFUSED, 36, 36), answer),
              HANDSHAKE_REFUSED);
    EXPECT_EQ(ReadHandshakeAnswer(Packet(CMD_HANDSHAKE_CONFIRM, 108, 108), answer),
              HANDSHAKE_UNEXPECTED);
    EXPECT_EQ(ReadHandshakeAnswer(Bytes{14, 0, 0, 0}, answer), HANDSHAKE_UNEXPECTED);
}

TEST(HandshakeRequest, LongTextsAreCutAndTerminated) {
    stHandshakeRequest request;
    request.computerName = std::string(100, 'N');
    request.firstMac = std::string(40, 'M');
    const Bytes packet = BuildHandshakeRequest(request);
    ASSERT_EQ(packet.size(), 268u);
    EXPECT_EQ(packet[40 + 62], 'N');
    EXPECT_EQ(packet[40 + 63], 0);
    EXPECT_EQ(packet[168 + 30], 'M');
    EXPECT_EQ(packet[168 + 31], 0);
}

TEST(ChannelIdentityKeys, EachChannelTypeHasItsSection) {
    EXPECT_STREQ(ChannelIdentityKeys(0).numberName, "KioskNo");
    EXPECT_STREQ(ChannelIdentityKeys(1).section, "Console");
    EXPECT_STREQ(ChannelIdentityKeys(7).nameName, "ComputerName");
    EXPECT_STREQ(ChannelIdentityKeys(-1).section, "Computer");
}

struct stWalkCase {
    const char* name;
    std::vector<Bytes> inner;
    Bytes tail;
    std::vector<uint32_t> delivered;
};

TEST(ContainerWalk, StopsAtTheFirstPacketThatDoesNotFit) {
    const Bytes a = Packet(1001, 40, 40);
    const Bytes b = Packet(1002, 36, 36);
    Bytes badMagic = Packet(1003, 36, 36);
    StoreLe32(&badMagic[HDR_MAGIC], 0);
    const std::vector<stWalkCase> cases = {
        {"all good", {a, b}, {}, {1001, 1002}},
        {"size below a header", {a, Packet(1004, 35, 36), b}, {}, {1001}},
        {"size beyond the rest", {a, Packet(1005, 37, 36)}, {}, {1001}},
        {"wrong magic", {badMagic, a}, {}, {}},
        {"short tail", {a}, Bytes(35, 0x24), {1001}},
        {"empty", {}, {}, {}},
    };
    for (const stWalkCase& test : cases) {
        SCOPED_TRACE(test.name);
        Bytes container = Packet(CMD_CONTAINER, 0, 36);
        for (const Bytes& packet : test.inner) {
            container.insert(container.end(), packet.begin(), packet.end());
        }
        container.insert(container.end(), test.tail.begin(), test.tail.end());
        std::vector<uint32_t> delivered;
        const stContainerWalk walk = WalkContainer(container, [&](std::span<const uint8_t> p) {
            delivered.push_back(LoadLe32(p.data()));
            EXPECT_EQ(p.size(), LoadLe32(p.data() + HDR_SIZE));
        });
        EXPECT_EQ(delivered, test.delivered);
        EXPECT_EQ(walk.delivered, static_cast<int>(test.delivered.size()));
        size_t used = 36;
        for (size_t i = 0; i < test.delivered.size(); ++i) {
            used += test.inner[i].size();
        }
        EXPECT_EQ(walk.dropped, container.size() - used);
    }
    EXPECT_EQ(WalkContainer(Bytes(20, 0), [](std::span<const uint8_t>) { FAIL(); }).dropped, 20u);
}

}  // namespace

}  // namespace hx
