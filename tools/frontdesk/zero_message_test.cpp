#include "tools/frontdesk/zero_message.h"

#include <gtest/gtest.h>

#include <vector>

#include "net/block_header.h"
#include "net/io_memory.h"

namespace hx {

namespace {

constexpr uint32_t kZlibCoding = IOOPT_COMPRESS | IOOPT_ZLIB;

// What a kiosk decodes from it, or an empty vector.
std::vector<uint8_t> Decoded(const std::vector<uint8_t>& wire) {
    CIOMemory kiosk;
    kiosk.AddIncoming(wire);
    uint8_t* message = nullptr;
    int length = 0;
    std::vector<uint8_t> decoded;
    if (kiosk.Receive(&message, &length) == IO_OK) {
        decoded.assign(message, message + length);
    }
    FreeReceiveBuffer(message);
    return decoded;
}

TEST(ZeroMessage, CutIntoTheBlocksOfTheWholeMessageSentAtOnce) {
    constexpr int32_t kLength = 200000;  // five blocks, the last one short
    auto* streamed = new CIOMemory(IOOPT_DEFAULT);
    CIOPacket desk{std::unique_ptr<CIOBase>(streamed)};
    ASSERT_EQ(SendZeroMessage(desk, kLength), IO_OK);
    EXPECT_EQ(desk.GetOption(), IOOPT_DEFAULT) << "the option word is put back";

    auto* whole = new CIOMemory(IOOPT_DEFAULT | kZlibCoding);
    CIOPacket reference{std::unique_ptr<CIOBase>(whole)};
    const std::vector<uint8_t> zeros(kLength, 0);
    ASSERT_EQ(reference.Send(zeros.data(), kLength), IO_OK);
    // Only the message bit of the block flags differs, and with it the header checksums.
    for (enumPerf counter : {PERF_BLOCKS, PERF_RAW_BYTES, PERF_WIRE_BYTES}) {
        EXPECT_EQ(desk.GetTxPerf(counter), reference.GetTxPerf(counter)) << counter;
    }
    EXPECT_EQ(desk.GetTxPerf(PERF_BLOCKS), 5u);
    stBlockHeader first;
    ASSERT_EQ(UnpackBlockHeader(streamed->Sent().data(), first), IO_OK);
    EXPECT_EQ(first.flags & kZlibCoding, kZlibCoding);
    EXPECT_TRUE(Decoded(streamed->Sent()) == zeros);
}

TEST(ZeroMessage, NothingIsSentForALengthNoHeaderMayAnnounce) {
    auto* wire = new CIOMemory(IOOPT_DEFAULT);
    CIOPacket desk{std::unique_ptr<CIOBase>(wire)};
    for (int32_t length : {0, -1, INT32_MIN}) {
        EXPECT_EQ(SendZeroMessage(desk, length), IO_ERROR) << length;
    }
    EXPECT_TRUE(wire->Sent().empty());
}

}  // namespace

}  // namespace hx
