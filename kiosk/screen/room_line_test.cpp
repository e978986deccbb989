#include "kiosk/screen/room_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hx {

namespace {

std::vector<std::string> SplitLine(const std::string& line) {
    std::vector<std::string> values;
    size_t start = 0;
    for (size_t stop; (stop = line.find("||", start)) != std::string::npos; start = stop + 2) {
        values.push_back(line.substr(start, stop - start));
    }
    values.push_back(line.substr(start));
    return values;
}

TEST(RoomLine, DurationTextReadsHoursAndMinutes) {
    EXPECT_EQ(DurationText("0330"), "3시간 30분");
    EXPECT_EQ(DurationText("1205"), "12시간 5분");
    EXPECT_EQ(DurationText("0400"), "4시간");
    EXPECT_EQ(DurationText("0000"), "0시간");
    // Not four characters: only the first two count.
    EXPECT_EQ(DurationText("12"), "12시간");
    EXPECT_EQ(DurationText("034"), "3시간");
    EXPECT_EQ(DurationText("05301"), "5시간");
    EXPECT_EQ(DurationText("5"), "5시간");
    EXPECT_EQ(DurationText(""), "0시간");
}

TEST(RoomLine, PicturePathsRunThroughTheTwentyOneSlots) {
    EXPECT_EQ(RoomPicturePath(305, 0), "c:\\Harlix\\Skin\\RoomImage\\305_0.png");
    EXPECT_EQ(RoomPicturePath(305, 9), "c:\\Harlix\\Skin\\RoomImage\\305_9.png");
    EXPECT_EQ(RoomPicturePath(305, 10), "c:\\Harlix\\Skin\\RoomImage\\305_0_1.png");
    EXPECT_EQ(RoomPicturePath(305, 13), "c:\\Harlix\\Skin\\RoomImage\\305_3_1.png");
    EXPECT_EQ(RoomPicturePath(305, 19), "c:\\Harlix\\Skin\\RoomImage\\305_9_1.png");
    EXPECT_EQ(RoomPicturePath(305, 20), "c:\\Harlix\\Skin\\RoomImage\\305_0_2.png");
}

TEST(RoomLine, CarriesTheTwentyNineValuesInOrder) {
    stRoom4Kiosk room;
    room.roomNo = 305;
    room.classId = 7;
    room.state = 2;
    room.displayMode = 1;
    room.firstPrice = 30000;
    room.secondPrice = 55000;
    room.name = "305호 스위트";
    room.rentalDuration = "0330";

    const std::string line = BuildRoomLine(room, "스탠다드");

    std::string expected = "스탠다드||305||305호 스위트||30000||55000||3시간 30분||2||";
    for (const char* suffix :
         {"0",   "1",   "2",   "3",   "4",   "5",   "6",   "7",   "8",   "9",  "0_1",
          "1_1", "2_1", "3_1", "4_1", "5_1", "6_1", "7_1", "8_1", "9_1", "0_2"}) {
        expected += std::string("c:\\Harlix\\Skin\\RoomImage\\305_") + suffix + ".png||";
    }
    expected += "1||";
    EXPECT_EQ(line, expected);

    const std::vector<std::string> values = SplitLine(line);
    ASSERT_EQ(values.size(), 29u + 1);
    EXPECT_EQ(values.back(), "");  // the trailing separator
}

}  // namespace

}  // namespace hx
