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

// The answer as a server lays it out, written byte by byte rather than with
// our own builder, so a shared mistake in the offsets cannot pass unseen.
const Bytes kLaidAnswer = [] {
    Bytes bytes = {
        0x0E, 0x00, 0x00, 0x00,  //  0 command 14
        0x6C, 0x00, 0x00, 0x00,  //  4 size 108
        0x00, 0x00, 0x00, 0x00,  //  8 sender client key
        0x00, 0x00, 0x00, 0x00,  // 12 sender sequence
        0x00, 0x00, 0x00, 0x00,  // 16 addressee client key
        0x00, 0x00, 0x00, 0x00,  // 20 addressee sequence
        0x00, 0x00, 0x00, 0x00,  // 24 service key
        0x2A, 0x01, 0x00, 0x00,  // 28 terminal number 298
        0x78, 0x56, 0x00, 0x00,  // 32 magic 0x5678
        0x00, 0x00, 0x00, 0x00,  // 36 unused
        0x78, 0x56, 0x34, 0x12,  // 40 client key 0x12345678
        0x31, 0xC3, 0xFE, 0x00,  // 44 name, 64 bytes of CP949: "1층" and its terminator
    };
    bytes.resize(108, 0x00);  // 48 the rest of the name field is zeros
    return bytes;
}();

TEST(HandshakeAnswer, EveryFieldIsReadFromItsPlaceAndTheBuilderLaysItOutSo) {
    EXPECT_EQ(BuildHandshakeAnswer({298, 0x12345678, "1층"}), kLaidAnswer);

    // Noise in every byte the reader must not look at changes nothing.
    Bytes noisy = kLaidAnswer;
    std::fill(noisy.begin() + 8, noisy.begin() + 28, 0xA5);
    std::fill(noisy.begin() + 36, noisy.begin() + 40, 0xA5);
    std::fill(noisy.begin() + 48, noisy.end(), 'X');
    noisy.insert(noisy.end(), {'T', 'A', 'I', 'L'});
    for (const Bytes& message : {kLaidAnswer, noisy}) {
        stHandshakeAnswer answer;
        ASSERT_EQ(ReadHandshakeAnswer(message, answer), HANDSHAKE_ACCEPTED);
        EXPECT_EQ(answer.uniqueNo, 298u);
        EXPECT_EQ(answer.clientKey, 0x12345678u);
        EXPECT_EQ(answer.name, "1층");
    }
}

TEST(HandshakeAnswer, CountsOnlyWithASizeFieldFrom108UpToTheMessage) {
    stHandshakeAnswer answer;
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
