#include "kiosk/records/list_page_records.h"

#include <gtest/gtest.h>

#include "kiosk/records/test_record_bytes.h"

namespace hx {

namespace {

stRoomPage PageOfRooms(int count) {
    stRoomPage page{3, 2, {}};
    for (int i = 0; i < count; ++i) {
        stRoom4Kiosk room;
        room.roomNo = 101 + i;
        room.name = "대실";
        page.rooms.push_back(room);
    }
    return page;
}

TEST(RoomPage, CarriesCountNumberAndRoomsEvery116Bytes) {
    const auto packet = Pack(PageOfRooms(3));
    ExpectBareHeader(packet, 501, 5848);
    EXPECT_EQ(Le32At(packet, 40), 3u);
    EXPECT_EQ(Le32At(packet, 44), 2u);
    EXPECT_EQ(Le32At(packet, 52), 101u);
    EXPECT_EQ(Le32At(packet, 168), 102u);
    EXPECT_EQ(Le32At(packet, 284), 103u);
    EXPECT_EQ(RawTextAt(packet, 320), "\xB4\xEB\xBD\xC7");  // third room's name
    ExpectZeroOutside(packet, 36, {{40, 8}, {48, 3 * 116}});

    stRoomPage back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.pageCount, 3);
    EXPECT_EQ(back.pageNo, 2);
    ASSERT_EQ(back.rooms.size(), 3u);
    EXPECT_EQ(back.rooms[2].name, "대실");
}

TEST(RoomPage, AFullPageTakesFiftyRoomsAndNoMore) {
    const auto packet = Pack(PageOfRooms(50));
    ASSERT_EQ(packet.size(), 5848u);
    EXPECT_EQ(Le32At(packet, 5736), 150u);  // the last slot, 48 + 49 * 116 + 4
    stRoomPage back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.rooms.size(), 50u);

    EXPECT_TRUE(Pack(PageOfRooms(51)).empty());
}

TEST(RoomPage, ARoomNumberBelowOneEndsThePage) {
    auto packet = Pack(PageOfRooms(5));
    SetLe32(packet, 48 + 2 * 116 + 4, 0);
    stRoomPage back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.rooms.size(), 2u);

    SetLe32(packet, 48 + 4, static_cast<uint32_t>(-7));
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_TRUE(back.rooms.empty());
}

TEST(RoomPage, RefusesAPacketOneByteShort) {
    const auto packet = Pack(PageOfRooms(1));
    stRoomPage back = PageOfRooms(4);
    EXPECT_FALSE(Unpack(std::span(packet).first(5847), back));
    EXPECT_EQ(back.rooms.size(), 4u);
}

TEST(ClassPage, CarriesTwentyClassesEvery76Bytes) {
    stClassPage page{1, 1, {}};
    for (int i = 0; i < 20; ++i) {
        page.classes.push_back({0, 1 + i, 10 * i, "숙박"});
    }
    const auto packet = Pack(page);
    ExpectBareHeader(packet, 503, 1568);
    EXPECT_EQ(Le32At(packet, 52), 1u);
    EXPECT_EQ(Le32At(packet, 1496), 20u);  // 48 + 19 * 76 + 4
    EXPECT_EQ(Le32At(packet, 1500), 190u);
    EXPECT_EQ(RawTextAt(packet, 1504), "\xBC\xF7\xB9\xDA");

    stClassPage back;
    ASSERT_TRUE(Unpack(packet, back));
    ASSERT_EQ(back.classes.size(), 20u);
    EXPECT_EQ(back.classes[19].name, "숙박");

    page.classes.push_back({0, 21, 0, ""});
    EXPECT_TRUE(Pack(page).empty());
    EXPECT_FALSE(Unpack(std::span(packet).first(1567), back));
}

}  // namespace

}  // namespace hx
