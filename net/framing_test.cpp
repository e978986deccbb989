// Message and block framing, end to end over in-memory streams.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "net/block_header.h"
#include "net/byte_order.h"
#include "net/crc32.h"
#include "net/io_limits.h"
#include "net/io_memory.h"
#include "net/message_header.h"
#include "net/packet_header.h"
#include "net/run_length.h"
#include "tests/support/test_random.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

struct stWireBlock {
    stBlockHeader header;
    size_t offset;  // of the header in the stream
};

// Splits a sent stream into its blocks (headers in the order we send them).
std::vector<stWireBlock> Blocks(const Bytes& wire) {
    std::vector<stWireBlock> blocks;
    for (size_t at = 0; at + kBlockHeaderSize <= wire.size();) {
        stWireBlock block{{}, at};
        EXPECT_EQ(UnpackBlockHeader(wire.data() + at, block.header), IO_OK);
        blocks.push_back(block);
        at += kBlockHeaderSize + block.header.payloadLength;
    }
    return blocks;
}

Bytes Sent(uint32_t options, const Bytes& message) {
    CIOMemory out(options);
    EXPECT_EQ(out.Send(message.data(), static_cast<int>(message.size())), IO_OK);
    return out.Sent();
}

// Receives one message of the expected length from the given wire bytes.
int ReceiveFrom(const Bytes& wire, uint32_t options, Bytes& message) {
    CIOMemory in(options);
    in.AddIncoming(wire);
    return in.Receive(message.data(), static_cast<int>(message.size()));
}

TEST(Framing, MessagesRoundTripUnderEveryCoding) {
    Bytes compressible(150000);
    for (size_t i = 0; i < compressible.size(); ++i) {
        compressible[i] = static_cast<uint8_t>((i / 300) % 7);
    }
    for (const Bytes& message : {compressible, RandomBytes(100000, 1), Bytes(1, 0x42)}) {
        for (uint32_t options : {0x0Fu, 0x1Fu, 0x08u, 0x0Eu, 0x0Bu, 0x1Bu}) {
            Bytes received(message.size());
            ASSERT_EQ(ReceiveFrom(Sent(options, message), options, received), IO_OK)
                << "options " << options;
            ASSERT_EQ(received, message) << "options " << options;
        }
    }
}

TEST(Framing, MessageFillsBlocksAtTheThreshold) {
    const size_t fits = CTRxBuff::kBlockThreshold - kMessageHeaderSize;
    auto one = Blocks(Sent(IOOPT_DEFAULT, RandomBytes(fits, 2)));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].header.rawLength, CTRxBuff::kBlockThreshold);

    auto two = Blocks(Sent(IOOPT_DEFAULT, RandomBytes(fits + 1, 2)));
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].header.rawLength, CTRxBuff::kBlockThreshold);
    EXPECT_EQ(two[1].header.rawLength, 1);
}

TEST(Framing, HeaderOnlyPacketTravelsAsOneSmallBlockAndIsCounted) {
    Bytes packet(kPacketHeaderSize);
    InitPacketHeader(packet, CMD_PING);
    uint32_t totalBefore = CPerfCounters::GetTotal(ProcessTxTotals(), PERF_RAW_BYTES);

    CIOMemory out;
    ASSERT_EQ(out.Send(packet.data(), static_cast<int>(packet.size())), IO_OK);
    auto blocks = Blocks(out.Sent());
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].header.rawLength, 56);
    EXPECT_EQ(blocks[0].header.flags, 0x0F);  // mostly zeros: run-length coding pays
    EXPECT_LT(blocks[0].header.payloadLength, 56);
    EXPECT_EQ(out.GetTxPerf(PERF_BLOCKS), 1u);
    EXPECT_EQ(out.GetTxPerf(PERF_RAW_BYTES), 72u);
    EXPECT_EQ(out.GetTxPerf(PERF_WIRE_BYTES), out.Sent().size());
    EXPECT_EQ(CPerfCounters::GetTotal(ProcessTxTotals(), PERF_RAW_BYTES) - totalBefore, 72u);

    CIOMemory in;
    in.AddIncoming(out.Sent());
    Bytes received(packet.size());
    ASSERT_EQ(in.Receive(received.data(), static_cast<int>(received.size())), IO_OK);
    EXPECT_EQ(received, packet);
    EXPECT_EQ(in.GetRxPerf(PERF_RAW_BYTES), 72u);
    EXPECT_EQ(in.GetRxPerf(PERF_WIRE_BYTES), out.Sent().size());
}

TEST(Framing, BlockThatDoesNotShrinkGoesOutRaw) {
    Bytes message = RandomBytes(1000, 3);
    Bytes wire = Sent(IOOPT_DEFAULT, message);
    auto blocks = Blocks(wire);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].header.flags, 0x0E);
    EXPECT_EQ(blocks[0].header.payloadLength, blocks[0].header.rawLength);
    Bytes received(message.size());
    EXPECT_EQ(ReceiveFrom(wire, IOOPT_DEFAULT, received), IO_OK);
    EXPECT_EQ(received, message);
}

TEST(Framing, ZlibOnlyFromThirtyTwoBytes) {
    const uint32_t zlib = IOOPT_COMPRESS | IOOPT_ZLIB | IOOPT_CHECKSUM;
    auto shortBlock = Blocks(Sent(zlib, Bytes(31, 0x55)));
    ASSERT_EQ(shortBlock.size(), 1u);
    EXPECT_EQ(shortBlock[0].header.flags, IOOPT_CHECKSUM);

    Bytes wire = Sent(zlib, Bytes(32, 0x55));
    auto coded = Blocks(wire);
    ASSERT_EQ(coded.size(), 1u);
    EXPECT_EQ(coded[0].header.flags, zlib);
    EXPECT_LT(coded[0].header.payloadLength, 32);
    Bytes received(32);
    ASSERT_EQ(ReceiveFrom(wire, 0, received), IO_OK);  // the reader goes by the flags
    EXPECT_EQ(received, Bytes(32, 0x55));
}

TEST(Framing, RunLengthCodingStaysOnWhenZlibIsNotSelected) {
    auto blocks = Blocks(Sent(IOOPT_COMPRESS, Bytes(10, 0x55)));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].header.flags, IOOPT_COMPRESS);
    EXPECT_EQ(blocks[0].header.payloadLength, 2);
}

TEST(Framing, DamagedWireIsRefusedWithItsCode) {
    Bytes message = RandomBytes(500, 4);
    const Bytes wire = Sent(IOOPT_DEFAULT, message);
    Bytes received(message.size());

    Bytes payloadChanged = wire;
    payloadChanged[kBlockHeaderSize + 100] ^= 0x01;
    EXPECT_EQ(ReceiveFrom(payloadChanged, IOOPT_DEFAULT, received), IO_BAD_DATA_CRC);

    for (size_t i = 2; i < kBlockHeaderSize; ++i) {
        Bytes headerChanged = wire;
        headerChanged[i] ^= 0x20;
        EXPECT_EQ(ReceiveFrom(headerChanged, IOOPT_DEFAULT, received), IO_BAD_HEADER_CRC)
            << "byte " << i;
    }

    Bytes magicChanged = wire;
    magicChanged[0] = 0x13;
    EXPECT_EQ(ReceiveFrom(magicChanged, IOOPT_DEFAULT, received), IO_BAD_MAGIC);

    // Without payload protection the message header's own checks answer.
    const Bytes bare = Sent(IOOPT_MESSAGE, message);
    Bytes lengthChanged = bare;
    lengthChanged[kBlockHeaderSize + 5] ^= 0x01;
    EXPECT_EQ(ReceiveFrom(lengthChanged, IOOPT_MESSAGE, received), IO_BAD_HEADER_CRC);
    Bytes messageMagicChanged = bare;
    messageMagicChanged[kBlockHeaderSize] = 0;
    EXPECT_EQ(ReceiveFrom(messageMagicChanged, IOOPT_MESSAGE, received), IO_BAD_MAGIC);

    Bytes cut(wire.begin(), wire.end() - 1);
    EXPECT_EQ(ReceiveFrom(cut, IOOPT_DEFAULT, received), IO_CLOSED);
}

TEST(Framing, MessageLengthMustMatchAndBeWithinBounds) {
    Bytes wire = Sent(IOOPT_DEFAULT, Bytes(120, 7));
    Bytes hundred(100);
    EXPECT_EQ(ReceiveFrom(wire, IOOPT_DEFAULT, hundred), IO_ERROR);

    // A header announcing more than the largest message is refused before
    // anything is allocated, whatever follows it.
    for (int32_t length : {0, -5, GetMaxMessageBytes() + 1, INT32_MAX}) {
        uint8_t header[kMessageHeaderSize];
        PackMessageHeader(length, header);
        CIOMemory sender(IOOPT_CHECKSUM);  // block framing only: a forged header inside
        ASSERT_EQ(sender.Send(header, sizeof header), IO_OK);
        CIOMemory in;
        in.AddIncoming(sender.Sent());
        uint8_t* buffer = nullptr;
        int got = 0;
        EXPECT_EQ(in.Receive(&buffer, &got), IO_BAD_LENGTH) << length;
        EXPECT_EQ(buffer, nullptr);
    }
}

TEST(Framing, SendRefusesEmptyMessagesAndNegativeLengths) {
    CIOMemory out;
    uint8_t byte = 1;
    EXPECT_EQ(out.Send(&byte, 0), IO_ERROR);
    EXPECT_EQ(out.Send(&byte, -1), IO_ERROR);
    EXPECT_TRUE(out.Sent().empty());
    out.SetOption(IOOPT_CHECKSUM);
    EXPECT_EQ(out.Send(&byte, 0), IO_OK);
    EXPECT_TRUE(out.Sent().empty());
}

TEST(Framing, AllocatingReceiveDeliversATerminatedCopy) {
    Bytes message = RandomBytes(300000, 5);  // grows past the first allocation step
    CIOMemory in;
    in.AddIncoming(Sent(IOOPT_DEFAULT, message));
    uint8_t* buffer = nullptr;
    int length = 0;
    ASSERT_EQ(in.Receive(&buffer, &length), IO_OK);
    ASSERT_EQ(length, static_cast<int>(message.size()));
    EXPECT_TRUE(std::equal(message.begin(), message.end(), buffer));
    EXPECT_EQ(buffer[length], 0);
    FreeReceiveBuffer(buffer);
}

TEST(Framing, AllocatingReceiveNeedsMessageModeAndReleasesOnFailure) {
    CIOMemory raw(IOOPT_CHECKSUM);
    raw.AddIncoming(Sent(IOOPT_DEFAULT, Bytes(10, 1)));
    uint8_t* buffer = reinterpret_cast<uint8_t*>(&raw);
    int length = 0;
    EXPECT_EQ(raw.Receive(&buffer, &length), IO_ERROR);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(raw.GetRxPerf(PERF_BLOCKS), 0u);  // refused before reading anything

    // A header promising more than ever arrives: the partial body is released.
    Bytes wire = Sent(IOOPT_DEFAULT, RandomBytes(200000, 6));
    wire.resize(wire.size() / 2);
    CIOMemory in;
    in.AddIncoming(wire);
    EXPECT_EQ(in.Receive(&buffer, &length), IO_CLOSED);
    EXPECT_EQ(buffer, nullptr);
}

TEST(Framing, HeadersInTheOppositeByteOrderAreAccepted) {
    // A block header least significant byte first, around a message header
    // most significant byte first, as a peer of the other byte order sends.
    const Bytes body = {'h', 'e', 'l', 'l', 'o'};
    uint8_t checksummed[kMessageHeaderSize] = {0x34, 0x12, 0, 0, 0, 0, 0, 5};
    uint32_t messageCrc = Crc32Bytewise(checksummed, sizeof checksummed);
    Bytes payload = {0x12, 0x34, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0};
    payload.resize(kMessageHeaderSize);
    StoreBe32(payload.data() + 16, messageCrc);
    payload.insert(payload.end(), body.begin(), body.end());

    stBlockHeader block;
    block.flags = IOOPT_CHECKSUM | IOOPT_MESSAGE;
    block.rawLength = block.payloadLength = static_cast<uint16_t>(payload.size());
    block.payloadCrc = Crc32(payload.data(), payload.size());
    uint8_t bigEndian[kBlockHeaderSize];
    PackBlockHeader(block, bigEndian);
    Bytes wire(kBlockHeaderSize);
    StoreLe16(wire.data(), LoadBe16(bigEndian));
    for (size_t i : {2, 4, 6}) {
        StoreLe16(wire.data() + i, LoadBe16(bigEndian + i));
    }
    for (size_t i : {8, 12}) {
        StoreLe32(wire.data() + i, LoadBe32(bigEndian + i));
    }
    wire.insert(wire.end(), payload.begin(), payload.end());

    Bytes received(body.size());
    ASSERT_EQ(ReceiveFrom(wire, IOOPT_DEFAULT, received), IO_OK);
    EXPECT_EQ(received, body);
}

TEST(Framing, HeaderLayoutsByteForByte) {
    uint8_t message[kMessageHeaderSize];
    PackMessageHeader(0x01020304, message);
    const uint8_t form[kMessageHeaderSize] = {0x34, 0x12, 0, 0, 1, 2, 3, 4};
    const uint8_t head[16] = {0x34, 0x12, 0, 0, 4, 3, 2, 1};
    EXPECT_TRUE(std::equal(head, head + 16, message));
    EXPECT_EQ(LoadLe32(message + 16), Crc32Bytewise(form, sizeof form));

    stBlockHeader block{kBlockMagic, 0x0F, 0x0102, 0x0304, 0xA1B2C3D4, 0};
    uint8_t packed[kBlockHeaderSize];
    PackBlockHeader(block, packed);
    const uint8_t expected[kBlockHeaderSize] = {0x12, 0x34, 0,    0x0F, 1, 2, 3, 4,
                                                0xA1, 0xB2, 0xC3, 0xD4, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(expected, expected + 12, packed));
    EXPECT_EQ(LoadBe32(packed + 12), Crc32Bytewise(expected, sizeof expected));
}

// Builds a raw block around any payload, the way a peer might.
Bytes ForgedBlock(uint16_t flags, const Bytes& payload, uint16_t rawLength) {
    stBlockHeader header;
    header.flags = flags;
    header.rawLength = rawLength;
    header.payloadLength = static_cast<uint16_t>(payload.size());
    Bytes wire(kBlockHeaderSize);
    PackBlockHeader(header, wire.data());
    wire.insert(wire.end(), payload.begin(), payload.end());
    return wire;
}

int ReadForged(const Bytes& wire, Bytes* decoded = nullptr) {
    CIOMemory in;
    in.AddIncoming(wire);
    const uint8_t* data = nullptr;
    int length = 0;
    if (!in.GetReceiveBuff(&data, &length)) {
        return 0;
    }
    if (decoded != nullptr) {
        decoded->assign(data, data + length);
    }
    return 1;
}

TEST(Framing, UndecodablePayloadsFailTheRead) {
    Bytes overflowing;
    for (int i = 0; i < 520; ++i) {  // 520 runs of 127 exceed the 65,536-byte area
        overflowing.push_back(0xFF);
        overflowing.push_back(0x61);
    }
    EXPECT_EQ(ReadForged(ForgedBlock(IOOPT_COMPRESS, overflowing, 0)), 0);
    EXPECT_EQ(ReadForged(ForgedBlock(IOOPT_COMPRESS, {0x10, 0x61}, 0)), 0);
    EXPECT_EQ(ReadForged(ForgedBlock(IOOPT_COMPRESS | IOOPT_ZLIB, RandomBytes(64, 7), 64)), 0);

    CIOMemory in;
    in.AddIncoming(ForgedBlock(IOOPT_COMPRESS, {0x84}, 4));
    Bytes four(4);
    EXPECT_EQ(in.Receive(four.data(), 4), IO_ERROR);
    EXPECT_EQ(in.ReadReady(), 0);  // nothing half-decoded is left to deliver
}

TEST(Framing, DecodedSizeNotHeaderFieldIsTheBlockLength) {
    // A zlib bit without the compression bit is still read as run-length
    // coding, and the raw length field is ignored for coded blocks.
    Bytes decoded;
    ASSERT_EQ(ReadForged(ForgedBlock(IOOPT_ZLIB, {0x83, 0x61, 0x01, 0x62}, 999), &decoded), 1);
    EXPECT_EQ(decoded, Bytes({0x61, 0x61, 0x61, 0x62}));
}

TEST(Framing, OptionWordsThatWouldLoseDataAreRefused) {
    CIOMemory io(IOOPT_DEFAULT);
    EXPECT_TRUE(io.AddOption(IOOPT_ZLIB));
    EXPECT_FALSE(io.SetOption(IOOPT_ZLIB | IOOPT_MESSAGE));
    EXPECT_EQ(io.GetOption(), 0x1Fu);
    io.RemoveOption(IOOPT_COMPRESS);  // takes zlib with it
    EXPECT_EQ(io.GetOption(), 0x0Eu);
    EXPECT_FALSE(io.AddOption(IOOPT_ZLIB));
    EXPECT_EQ(io.GetOption(), 0x0Eu);
}

}  // namespace

}  // namespace hx
