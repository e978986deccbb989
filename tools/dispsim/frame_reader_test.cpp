#include "tools/dispsim/frame_reader.h"

#include <gtest/gtest.h>

#include "tools/common/tool_journal.h"
#include "tools/dispsim/testing_kiosk_frames.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

// "30 [00 01]" for a frame, "rejected (why): bytes" for the rest.
std::string Describe(const stFramePiece& piece) {
    if (piece.command) {
        const uint8_t command = piece.command->command;
        return HexBytes(std::span(&command, 1)) + " [" + HexBytes(piece.command->parameters) + "]";
    }
    return "rejected (" + piece.problem + "): " + HexBytes(piece.bytes);
}

const Bytes kStatus{0x02, 0x21, 0x30, 0x03, 0x10};
const Bytes kEject{0x02, 0x21, 0x39, 0x03, 0x19};
const Bytes kReadBlock1{0x02, 0x23, 0x37, 0x00, 0x01, 0x03, 0x14};

Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

Bytes WriteBlock1() {
    return KioskFrame(0x36, {0x00, 0x01, 0x07, 0x07, 0xE5, 0x00, 0x01, 0x31, 0x00, 0x55, 0x30, 0xFF,
                             0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xB0});
}

TEST(DispenserFrameReaderTest, FindsTheKiosksFramesAndSetsTheRestAside) {
    const struct {
        const char* what;
        std::vector<Bytes> reads;
        std::vector<std::string> pieces;
    } cases[] = {
        {"a frame without parameters", {kStatus}, {"30 []"}},
        {"a read of sector 0 block 1", {kReadBlock1}, {"37 [00 01]"}},
        {"a write carries sector, block and 16 bytes",
         {WriteBlock1()},
         {"36 [00 01 07 07 E5 00 01 31 00 55 30 FF FF FF FF FF FF B0]"}},
        {"two frames in one read", {Joined({kStatus, kEject})}, {"30 []", "39 []"}},
        {"a frame in three reads", {{0x02}, {0x21, 0x30}, {0x03, 0x10}}, {"30 []"}},
        {"noise before a frame is one piece",
         {Joined({{0xFF, 0x00, 0x55}, kStatus})},
         {"rejected (not a frame start): FF 00 55", "30 []"}},
        {"a wrong check byte costs the whole frame",
         {Joined({{0x02, 0x21, 0x30, 0x03, 0x11}, kEject})},
         {"rejected (bad BCC): 02 21 30 03 11", "39 []"}},
        {"a length with no command costs only its STX",
         {Joined({{0x02, 0x20}, kStatus})},
         {"rejected (impossible length): 02", "rejected (not a frame start): 20", "30 []"}},
        {"a stray STX inside noise does not swallow the next frame",
         {Joined({{0x02, 0x21, 0x30, 0x99, 0x00}, kStatus})},
         {"rejected (no ETX where the length puts it): 02",
          "rejected (not a frame start): 21 30 99 00", "30 []"}},
    };
    for (const auto& c : cases) {
        CDispenserFrameReader reader;
        std::vector<std::string> pieces;
        for (const Bytes& read : c.reads) {
            for (const stFramePiece& piece : reader.Feed(read)) {
                pieces.push_back(Describe(piece));
            }
        }
        EXPECT_EQ(pieces, c.pieces) << c.what;
        EXPECT_FALSE(reader.DropPartial()) << c.what << ": nothing may be left waiting";
    }
}

TEST(DispenserFrameReaderTest, AFrameCutShortIsGivenUpAndTheNextReadsCleanly) {
    CDispenserFrameReader reader;
    EXPECT_TRUE(reader.Feed(Bytes{0x02, 0x33, 0x36, 0x00}).empty());
    const std::optional<stFramePiece> partial = reader.DropPartial();
    ASSERT_TRUE(partial);
    EXPECT_EQ(Describe(*partial), "rejected (cut short): 02 33 36 00");

    const std::vector<stFramePiece> next = reader.Feed(kStatus);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(Describe(next[0]), "30 []");
}

}  // namespace

}  // namespace hx
