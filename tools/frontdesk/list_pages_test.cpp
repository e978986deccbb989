#include "tools/frontdesk/list_pages.h"

#include <gtest/gtest.h>

#include "kiosk/records/list_page_records.h"

namespace hx {

namespace {

std::vector<stRoom4Kiosk> Rooms(int count) {
    std::vector<stRoom4Kiosk> rooms(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        rooms[static_cast<size_t>(i)].roomNo = 100 + i;
    }
    return rooms;
}

TEST(ListPages, RoomsGoFiftyToAPageNumberedFromOne) {
    const std::vector<Bytes> pages = BuildRoomPages(Rooms(120));
    ASSERT_EQ(pages.size(), 3u);
    const size_t expected[] = {50, 50, 20};
    int32_t next = 100;
    for (size_t i = 0; i < pages.size(); ++i) {
        ASSERT_EQ(pages[i].size(), 5848u) << "every page is a whole record";
        stRoomPage page;
        ASSERT_TRUE(Unpack(pages[i], page));
        EXPECT_EQ(page.pageCount, 3);
        EXPECT_EQ(page.pageNo, static_cast<int32_t>(i + 1));
        ASSERT_EQ(page.rooms.size(), expected[i]);
        for (const stRoom4Kiosk& room : page.rooms) {
            EXPECT_EQ(room.roomNo, next++) << "rooms keep their order across pages";
        }
    }
}

TEST(ListPages, AFullPageIsNotFollowedByAnEmptyOne) {
    EXPECT_EQ(BuildRoomPages(Rooms(50)).size(), 1u);
    EXPECT_EQ(BuildRoomPages(Rooms(51)).size(), 2u);
}

TEST(ListPages, ClassesGoTwentyToAPage) {
    std::vector<stClass4Class> classes(45);
    for (size_t i = 0; i < classes.size(); ++i) {
        classes[i].classId = static_cast<int32_t>(i + 1);
    }
    const std::vector<Bytes> pages = BuildClassPages(classes);
    ASSERT_EQ(pages.size(), 3u);
    stClassPage last;
    ASSERT_EQ(pages[2].size(), 1568u);
    ASSERT_TRUE(Unpack(pages[2], last));
    EXPECT_EQ(last.pageNo, 3);
    EXPECT_EQ(last.pageCount, 3);
    ASSERT_EQ(last.classes.size(), 5u);
    EXPECT_EQ(last.classes[0].classId, 41);
}

TEST(ListPages, AnEmptyListStillGoesAsOneEmptyPage) {
    for (const std::vector<Bytes>& pages : {BuildRoomPages({}), BuildClassPages({})}) {
        ASSERT_EQ(pages.size(), 1u) << "the kiosk must learn that its list is empty";
    }
    stRoomPage page;
    ASSERT_TRUE(Unpack(BuildRoomPages({})[0], page));
    EXPECT_EQ(page.pageNo, 1);
    EXPECT_EQ(page.pageCount, 1);
    EXPECT_TRUE(page.rooms.empty());
}

}  // namespace

}  // namespace hx
