#include "kiosk/records/file_chunk_records.h"

#include <gtest/gtest.h>

#include <numeric>

#include "kiosk/records/test_record_bytes.h"

namespace hx {

namespace {

std::vector<uint8_t> Bytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), uint8_t{1});
    return bytes;
}

TEST(FileChunk, FieldsAndDataSitAtTheirOffsets) {
    const stFileChunk chunk{CMD_PICTURE_CHUNK, 7, 16384, Bytes(100)};
    const auto packet = Pack(chunk);
    ExpectBareHeader(packet, 512, 16436);
    EXPECT_EQ(Le32At(packet, 36), 7u);
    EXPECT_EQ(Le32At(packet, 40), 16384u);
    EXPECT_EQ(Le32At(packet, 44), 100u);
    EXPECT_EQ(packet[48], 1);
    EXPECT_EQ(packet[147], 100);
    ExpectZeroOutside(packet, 36, {{36, 12}, {48, 100}});

    stFileChunk back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.command, 512u);
    EXPECT_EQ(back.index, 7);
    EXPECT_EQ(back.offset, 16384);
    EXPECT_EQ(back.data, chunk.data);
    EXPECT_TRUE(IsLastChunk(back));
}

TEST(FileChunk, DataMayFillTheWholeFieldButNeverMore) {
    stFileChunk chunk{CMD_ROOM_IMAGES_INI, 0, 0, Bytes(16388)};
    auto packet = Pack(chunk);
    ASSERT_EQ(packet.size(), 16436u);
    EXPECT_EQ(packet[16435], static_cast<uint8_t>(16388));
    stFileChunk back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.command, 510u);
    EXPECT_EQ(back.data.size(), 16388u);
    EXPECT_FALSE(IsLastChunk(back));

    chunk.data.push_back(0);
    EXPECT_TRUE(Pack(chunk).empty());
}

TEST(FileChunk, RefusesCountsAndOffsetsThatWouldLeaveTheRecord) {
    const auto good = Pack(stFileChunk{CMD_PICTURE_CHUNK, 1, 0, Bytes(10)});
    stFileChunk back;
    for (const auto& [offset, value] : std::vector<std::pair<size_t, uint32_t>>{
             {44, 16389}, {44, 0xFFFFFFFF}, {44, 0x80000000}, {40, 0xFFFFFFFF}}) {
        auto bad = good;
        SetLe32(bad, offset, value);
        EXPECT_FALSE(Unpack(bad, back)) << offset << " = " << value;
    }
    EXPECT_FALSE(Unpack(std::span(good).first(16435), back));
    EXPECT_TRUE(back.data.empty());
}

TEST(FileChunk, AFileSplitsIntoFullChunksAndAShorterLastOne) {
    const auto exact = SplitIntoChunks(CMD_PICTURE_CHUNK, 4, Bytes(2 * 16384));
    ASSERT_EQ(exact.size(), 3u);
    EXPECT_EQ(exact[1].offset, 16384);
    EXPECT_EQ(exact[1].data.size(), 16384u);
    EXPECT_EQ(exact[2].offset, 32768);
    EXPECT_TRUE(exact[2].data.empty());
    EXPECT_EQ(exact[2].index, 4);
    EXPECT_FALSE(IsLastChunk(exact[1]));
    EXPECT_TRUE(IsLastChunk(exact[2]));

    const auto shortFile = SplitIntoChunks(CMD_ROOM_IMAGES_INI, 0, Bytes(16385));
    ASSERT_EQ(shortFile.size(), 2u);
    EXPECT_EQ(shortFile[1].data, std::vector<uint8_t>{1});
    EXPECT_EQ(shortFile[1].command, 510u);

    const auto empty = SplitIntoChunks(CMD_PICTURE_CHUNK, 0, {});
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_TRUE(empty[0].data.empty());
}

TEST(PictureRequest, IndexAndNameSitAtTheirOffsets) {
    const auto packet = Pack(stPictureRequest{3, "305_1.png"});
    ExpectBareHeader(packet, 511, 296);
    EXPECT_EQ(Le32At(packet, 36), 3u);
    EXPECT_EQ(RawTextAt(packet, 40), "305_1.png");

    stPictureRequest back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.fileName, "305_1.png");
    EXPECT_FALSE(Unpack(std::span(packet).first(295), back));

    const auto longName = Pack(stPictureRequest{0, std::string(300, 'a')});
    EXPECT_EQ(RawTextAt(longName, 40).size(), 255u);
}

}  // namespace

}  // namespace hx
