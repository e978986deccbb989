#include "kiosk/records/room_records.h"

#include <gtest/gtest.h>

#include "kiosk/records/test_record_bytes.h"

namespace hx {

namespace {

stRoom4Kiosk SampleRoom() {
    stRoom4Kiosk room;
    room.operation = -1;
    room.roomNo = 305;
    room.classId = 12;
    room.state = 2;
    room.lockGroup = 3;
    room.displayMode = 4;
    room.firstPrice = 35000;
    room.secondPrice = 60000;
    room.serverStamp = 0x0102030405060708;
    room.name = "특실";
    room.rentalDuration = "0330";
    room.lockNo = 1305;
    return room;
}

TEST(RoomRecord, FieldsSitAtTheirOffsets) {
    std::vector<uint8_t> bytes(120, 0xEE);
    ASSERT_TRUE(Pack(SampleRoom(), bytes));

    EXPECT_EQ(Int32At(bytes, 0), -1);
    EXPECT_EQ(Le32At(bytes, 4), 305u);
    EXPECT_EQ(Le32At(bytes, 8), 12u);
    EXPECT_EQ(Le32At(bytes, 12), 2u);
    EXPECT_EQ(Le32At(bytes, 16), 3u);
    EXPECT_EQ(Le32At(bytes, 20), 4u);
    EXPECT_EQ(Le32At(bytes, 24), 35000u);
    EXPECT_EQ(Le32At(bytes, 28), 60000u);
    EXPECT_EQ(bytes[32], 0x08);
    EXPECT_EQ(bytes[39], 0x01);
    EXPECT_EQ(RawTextAt(bytes, 40), "\xC6\xAF\xBD\xC7");
    EXPECT_EQ(RawTextAt(bytes, 104), "0330");
    EXPECT_EQ(Le32At(bytes, 112), 1305u);
    ExpectZeroOutside({bytes.begin(), bytes.begin() + 116}, 0,
                      {{0, 40}, {40, 4}, {104, 4}, {112, 4}});
    EXPECT_EQ(bytes[116], 0xEE) << "wrote past the record";

    stRoom4Kiosk back;
    ASSERT_TRUE(Unpack(bytes, back));
    EXPECT_EQ(back.operation, -1);
    EXPECT_EQ(back.serverStamp, 0x0102030405060708);
    EXPECT_EQ(back.name, "특실");
    EXPECT_EQ(back.rentalDuration, "0330");
    EXPECT_EQ(back.lockNo, 1305);
}

TEST(RoomRecord, LongNameIsCutBetweenCharactersAndLeavesTheNextFieldAlone) {
    stRoom4Kiosk room = SampleRoom();
    room.name.clear();
    for (int i = 0; i < 40; ++i) {
        room.name += "실";  // two bytes each: 31 fit before the terminator
    }
    std::vector<uint8_t> bytes(116);
    ASSERT_TRUE(Pack(room, bytes));
    EXPECT_EQ(bytes[100], 0xBD);
    EXPECT_EQ(bytes[101], 0xC7);
    EXPECT_EQ(bytes[102], 0);
    EXPECT_EQ(bytes[103], 0);
    EXPECT_EQ(RawTextAt(bytes, 104), "0330");

    stRoom4Kiosk back;
    ASSERT_TRUE(Unpack(bytes, back));
    EXPECT_EQ(back.name.size(), 31u * 3);  // UTF-8
}

TEST(ClassRecord, FieldsSitAtTheirOffsets) {
    stClass4Class roomClass{2, 12, 7, "스위트"};
    std::vector<uint8_t> bytes(76);
    ASSERT_TRUE(Pack(roomClass, bytes));
    EXPECT_EQ(Le32At(bytes, 0), 2u);
    EXPECT_EQ(Le32At(bytes, 4), 12u);
    EXPECT_EQ(Le32At(bytes, 8), 7u);
    EXPECT_EQ(RawTextAt(bytes, 12), "\xBD\xBA\xC0\xA7\xC6\xAE");

    stClass4Class back;
    ASSERT_TRUE(Unpack(bytes, back));
    EXPECT_EQ(back.classId, 12);
    EXPECT_EQ(back.name, "스위트");
}

TEST(EmbeddedRecords, RefuseSpansShorterThanTheRecord) {
    std::vector<uint8_t> bytes(115, 0xEE);
    EXPECT_FALSE(Pack(SampleRoom(), bytes));
    EXPECT_EQ(bytes[0], 0xEE);
    stRoom4Kiosk room = SampleRoom();
    EXPECT_FALSE(Unpack(bytes, room));
    EXPECT_EQ(room.roomNo, 305);

    stClass4Class roomClass;
    EXPECT_FALSE(Unpack(std::vector<uint8_t>(75), roomClass));
}

TEST(SingleRoom, IsTheRoomAfterTheHeaderUnderEitherCommand) {
    stSingleRoom message{CMD_SINGLE_ROOM_ALT, SampleRoom()};
    const auto packet = Pack(message);
    ExpectBareHeader(packet, 519, 152);
    EXPECT_EQ(Int32At(packet, 36), -1);
    EXPECT_EQ(Le32At(packet, 40), 305u);
    EXPECT_EQ(Le32At(packet, 148), 1305u);

    stSingleRoom back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.command, 519u);
    EXPECT_EQ(back.room.roomNo, 305);

    auto as502 = packet;
    SetLe32(as502, 0, 502);
    ASSERT_TRUE(Unpack(as502, back));
    EXPECT_EQ(back.command, 502u);
}

TEST(SingleRoom, RefusesShortPacketsAndOtherCommandsUntouched) {
    auto packet = Pack(stSingleRoom{CMD_SINGLE_ROOM, SampleRoom()});
    stSingleRoom back;
    EXPECT_FALSE(Unpack(std::span(packet).first(151), back));
    EXPECT_FALSE(Unpack(std::span(packet).first(3), back));
    SetLe32(packet, 0, 503);
    EXPECT_FALSE(Unpack(packet, back));
    EXPECT_EQ(back.room.roomNo, 0);
}

TEST(SingleRoom, PackBodyKeepsTheCallersHeaderAndClearsStaleBytes) {
    std::vector<uint8_t> packet(152, 0xAB);
    ASSERT_TRUE(PackBody(stSingleRoom{CMD_SINGLE_ROOM, stRoom4Kiosk{}}, packet));
    EXPECT_EQ(packet[0], 0xAB);
    EXPECT_EQ(packet[35], 0xAB);
    ExpectZeroOutside(packet, 36, {});
    EXPECT_FALSE(PackBody(stSingleRoom{}, std::span(packet).first(151)));
}

}  // namespace

}  // namespace hx
