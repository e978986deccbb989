#include "kiosk/cash/board_chunk.h"

#include <gtest/gtest.h>

#include <string>

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;
using Drop = enumBoardChunkDrop;

struct stExpectedRecord {
    uint8_t type;
    Bytes data;
};

struct stChunkCase {
    const char* name;
    Bytes chunk;
    std::vector<stExpectedRecord> records;
    Drop drop;
};

std::string Describe(const stBoardRecord& record) {
    std::string text = std::to_string(record.type) + ":";
    for (size_t i = 0; i < record.length; ++i) {
        text += " " + std::to_string(record.data[i]);
    }
    return text;
}

std::string Describe(const stExpectedRecord& record) {
    std::string text = std::to_string(record.type) + ":";
    for (const uint8_t byte : record.data) {
        text += " " + std::to_string(byte);
    }
    return text;
}

TEST(BoardChunk, ReadsEachKindOfChunkAndDropsWhatIsBroken) {
    const Bytes eleven(13, 0x07);
    const stChunkCase cases[] = {
        {"ack", {0x11}, {}, Drop::None},
        {"double ack", {0x11, 0x11}, {}, Drop::None},
        {"ack with bytes after it", {0x11, 0x22, 0x05, 0x18, 1, 0, 0, 0}, {}, Drop::None},
        {"one frame", {0x33, 0x06, 0x05, 0x18, 1, 0, 0, 0, 0x1A}, {{24, {1, 0, 0, 0}}}, Drop::None},
        {"one frame, its check not verified",
         {0x33, 0x06, 0x05, 0x18, 1, 0, 0, 0, 0x00},
         {{24, {1, 0, 0, 0}}},
         Drop::None},
        {"one frame cut short", {0x33, 0x06, 0x05, 0x18, 1, 0, 0, 0}, {}, Drop::SplitFrame},
        {"merged, second fails its check",
         {0x33, 0x06, 0x05, 0x18, 1, 0, 0, 0, 0x1A, 0x33, 0x06, 0x05, 0x18, 2, 0, 0, 0, 0x00},
         {{24, {1, 0, 0, 0}}},
         Drop::BadCheck},
        {"merged, both good",
         {0x33, 0x06, 0x05, 0x18, 1, 0, 0, 0, 0x1A, 0x33, 0x06, 0x05, 0x18, 2, 0, 0, 0, 0x19},
         {{24, {1, 0, 0, 0}}, {24, {2, 0, 0, 0}}},
         Drop::None},
        {"merged, the second split",
         {0x33, 0x06, 0x05, 0x18, 1, 0, 0, 0, 0x1A, 0x33, 0x06, 0x05, 0x18},
         {{24, {1, 0, 0, 0}}},
         Drop::SplitFrame},
        {"merged, three left-over bytes",
         {0x33, 0x01, 0x00, 0x01, 0xAA, 0xBB, 0xCC},
         {},
         Drop::None},
        {"two records in one frame",
         {0x33, 0x09, 0x02, 0x1B, 0x01, 0x05, 0x18, 1, 2, 0, 0,
          0x09 ^ 0x02 ^ 0x1B ^ 0x01 ^ 0x05 ^ 0x18 ^ 1 ^ 2},
         {{27, {1}}, {24, {1, 2, 0, 0}}},
         Drop::None},
        {"a zero record length skips one byte",
         {0x33, 0x04, 0x00, 0x02, 0x0B, 0x01, 0x00},
         {{11, {1}}},
         Drop::None},
        {"a record is cut at the payload's end",
         {0x33, 0x04, 0x09, 0x18, 1, 2, 0xEE},
         {{24, {1, 2}}},
         Drop::None},
        {"single record", {0x22, 0x03, 0x1B, 0x05, 0x30, 0x99}, {{27, {5, 0x30}}}, Drop::None},
        {"single record cut at the chunk's end",
         {0x22, 0x05, 0x18, 1, 2},
         {{24, {1, 2}}},
         Drop::None},
        {"single record too short", {0x22, 0x05, 0x18}, {}, Drop::SplitFrame},
        {"single record of length 0", {0x22, 0x00, 0x18, 1}, {}, Drop::BadLength},
        {"frame of length 0", {0x33, 0x00, 0x05, 0x18}, {}, Drop::BadLength},
        {"noise 33 FD", {0x33, 0xFD}, {}, Drop::None},
        {"noise 33 FD with more", {0x33, 0xFD, 0x01, 0x02}, {}, Drop::SplitFrame},
        {"unknown first byte", {0x44, 0x06, 0x05, 0x18, 1, 0, 0, 0, 0x1A}, {}, Drop::None},
    };
    for (const auto& c : cases) {
        const stBoardChunk parsed = ParseBoardChunk(c.chunk);
        EXPECT_EQ(parsed.drop, c.drop) << c.name;
        ASSERT_EQ(parsed.records.size(), c.records.size()) << c.name;
        for (size_t i = 0; i < c.records.size(); ++i) {
            EXPECT_EQ(Describe(parsed.records[i]), Describe(c.records[i])) << c.name;
        }
    }
}

TEST(BoardChunk, ALongRecordKeepsTenDataBytesAndTheWalkStaysInStep) {
    // LEN 0x0E: a type and 13 data bytes, then a coin selector record.
    Bytes frame = {0x33, 0x12, 0x0E, 0x18};
    frame.insert(frame.end(), 13, 0x07);
    frame.insert(frame.end(), {0x02, 0x0B, 0x81, 0x00});
    const stBoardChunk parsed = ParseBoardChunk(frame);
    ASSERT_EQ(parsed.records.size(), 2u);
    EXPECT_EQ(parsed.records[0].length, kMaxBoardRecordData);
    EXPECT_EQ(Describe(parsed.records[1]), "11: 129");

    Bytes single = {0x22, 0xF0, 0x18};
    single.insert(single.end(), 20, 0x01);
    ASSERT_EQ(ParseBoardChunk(single).records.size(), 1u);
    EXPECT_EQ(ParseBoardChunk(single).records[0].length, kMaxBoardRecordData);
}

TEST(BoardChunk, LengthBytesOfEightyOrMoreCountUpwards) {
    // Read signed, 0xFF would step back one byte and walk the frame for ever.
    Bytes frame = {0x33, 0x85, 0xFF, 0x18};
    frame.resize(0x85 + 3, 0x00);
    EXPECT_LE(ParseBoardChunk(frame).records.size(), 1u);
    Bytes merged = frame;
    merged.insert(merged.end(), {0x33, 0x80, 0x01, 0x02, 0x03});
    EXPECT_NE(ParseBoardChunk(merged).drop, Drop::None);
}

TEST(BoardChunk, AnswersAndBareAcknowledgementsAreToldApart) {
    EXPECT_TRUE(IsBoardAnswer(Bytes{0x11}));
    EXPECT_TRUE(IsBoardAnswer(Bytes{0x22, 0x01}));
    EXPECT_TRUE(IsBoardAnswer(Bytes{0x33}));
    EXPECT_FALSE(IsBoardAnswer(Bytes{0x44, 0x11}));
    EXPECT_FALSE(IsBoardAnswer(Bytes{}));
    EXPECT_TRUE(IsBareAcknowledgement(Bytes{0x11}));
    EXPECT_TRUE(IsBareAcknowledgement(Bytes{0x11, 0x11}));
    EXPECT_FALSE(IsBareAcknowledgement(Bytes{0x11, 0x11, 0x11}));
    EXPECT_FALSE(IsBareAcknowledgement(Bytes{0x11, 0x33}));
}

}  // namespace

}  // namespace hx
