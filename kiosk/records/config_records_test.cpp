#include "kiosk/records/config_records.h"

#include <gtest/gtest.h>

#include "kiosk/records/test_record_bytes.h"

namespace hx {

namespace {

TEST(KioskConfig, EighteenIntsFollowTheHeaderInOrder) {
    const stKioskConfig config{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, -18};
    const auto packet = Pack(config);
    ExpectBareHeader(packet, 516, 108);
    for (uint32_t i = 0; i < 17; ++i) {
        EXPECT_EQ(Le32At(packet, 36 + 4 * i), i + 1);
    }
    EXPECT_EQ(Int32At(packet, 104), -18);

    stKioskConfig back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.rentalStartHour, 2);
    EXPECT_EQ(back.showAllRooms, 11);
    EXPECT_EQ(back.hotelSequence, 17);
    EXPECT_EQ(back.dispenserDriver, -18);
    EXPECT_FALSE(Unpack(std::span(packet).first(107), back));
}

TEST(KioskOptions, TextsAndSwitchesSitAtTheirOffsets) {
    stKioskOptions options{"한글", 2, 1, 1, "영수증"};
    const auto packet = Pack(options);
    ExpectBareHeader(packet, 517, 560);
    EXPECT_EQ(RawTextAt(packet, 36), "\xC7\xD1\xB1\xDB");
    EXPECT_EQ(Le32At(packet, 292), 2u);
    EXPECT_EQ(Le32At(packet, 296), 1u);
    EXPECT_EQ(Le32At(packet, 300), 1u);
    EXPECT_EQ(RawTextAt(packet, 304), "\xBF\xB5\xBC\xF6\xC1\xF5");
    ExpectZeroOutside(packet, 36, {{36, 4}, {292, 12}, {304, 6}});

    stKioskOptions back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.deviceName, "한글");
    EXPECT_EQ(back.ticketFooter, "영수증");
    EXPECT_FALSE(Unpack(std::span(packet).first(559), back));
}

TEST(KioskOptions, AFooterOfOddLengthIsCutWithoutSplittingACharacter) {
    stKioskOptions options;
    options.ticketFooter = "x";
    for (int i = 0; i < 200; ++i) {
        options.ticketFooter += "증";  // 1 + 2 * 127 = 255 bytes fit
    }
    const auto packet = Pack(options);
    EXPECT_EQ(packet[304 + 253], 0xC1);
    EXPECT_EQ(packet[304 + 254], 0xF5);
    EXPECT_EQ(packet[304 + 255], 0);

    options.ticketFooter = "증" + options.ticketFooter.substr(1);  // even: 254 bytes fit
    const auto even = Pack(options);
    EXPECT_EQ(even[304 + 253], 0xF5);
    EXPECT_EQ(even[304 + 254], 0);
    stKioskOptions back;
    ASSERT_TRUE(Unpack(even, back));
    EXPECT_EQ(back.ticketFooter.size(), 127u * 3);
}

}  // namespace

}  // namespace hx
