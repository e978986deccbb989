#include "kiosk/cash/board_command.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

TEST(BoardCommand, EveryListedCodeSendsItsExactBytes) {
    const struct {
        int code;
        Bytes bytes;
    } cases[] = {
        {801, {0x71, 0x8E}},
        {802, {0x72, 0x8D}},
        {804, {0x73, 0x8C, 0x05, 0x01, 0x00, 0x00, 0x01, 0x00, 0x05}},
        {805, {0x73, 0x8C, 0x05, 0x01, 0x00, 0x00, 0x00, 0x01, 0x05}},
        {807, {0x73, 0x8C, 0x05, 0x01, 0x01, 0x00, 0x00, 0x00, 0x05}},
        {901, {0x61, 0x9E}},
        {902, {0x62, 0x9D}},
        {903, {0x63, 0x9C}},
        {904, {0x63, 0x9C, 0x02, 0x00, 0x01, 0x03}},
        {905, {0x63, 0x9C, 0x02, 0x00, 0x00, 0x02}},
        {906, {0x63, 0x9C, 0x02, 0x00, 0x03, 0x01}},
        {907, {0x63, 0x9C, 0x02, 0x00, 0x02, 0x00}},
        {1001, {0x59, 0xA6}},
        {1002, {0x5A, 0xA5}},
        {1003, {0x5B, 0xA4}},
        {1004, {0x5B, 0xA4, 0x03, 0x10, 0x81, 0x00, 0x92}},
        {1005, {0x5B, 0xA4, 0x03, 0x10, 0x00, 0x00, 0x13}},
        {1006, {0x5B, 0xA4, 0x03, 0x10, 0x83, 0x00, 0x90}},
        {1007, {0x5B, 0xA4, 0x03, 0x10, 0x02, 0x00, 0x11}},
        {2001, {0x73, 0x8C, 0x05, 0x04, 0x00, 0x03, 0x11, 0x00, 0x13}},
        {2002, {0x73, 0x8C, 0x05, 0x04, 0x00, 0x1C, 0x11, 0x00, 0x0C}},
        {2003, {0x73, 0x8C, 0x05, 0x04, 0x00, 0x00, 0x11, 0x00, 0x10}},
    };
    for (const auto& c : cases) {
        const auto bytes = BoardCommandBytes({c.code});
        ASSERT_TRUE(bytes) << c.code;
        EXPECT_EQ(*bytes, c.bytes) << c.code;
        // A short command is C and its complement; so is the head of a data command.
        EXPECT_EQ(bytes->at(0) ^ bytes->at(1), 0xFF) << c.code;
        EXPECT_TRUE(BoardCommandLabels(c.code)) << c.code;
    }
}

TEST(BoardCommand, TheDispenseCarriesItsCountsAndTheirCheck) {
    const auto bytes = BoardCommandBytes({BOARD_DISPENSE, 3, 2, 1});
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, (Bytes{0x73, 0x8C, 0x05, 0x00, 0x03, 0x00, 0x02, 0x01, 0x05 ^ 3 ^ 2 ^ 1}));
    EXPECT_TRUE(BoardCommandBytes({BOARD_DISPENSE, 99, 0, 0}));
}

TEST(BoardCommand, NothingIsSentForAnEmptyOrOversizedDispenseOrAnUnlistedCode) {
    const stControlBoardCommand silent[] = {
        {BOARD_DISPENSE, 0, 0, 0},
        {BOARD_DISPENSE, 100, 1, 0},
        {BOARD_DISPENSE, 1, 0, 100},
        {BOARD_DISPENSE, -1, -1, -1},
        {BOARD_DISPENSE, -1, 2, 0},
        {BOARD_DISPENSER_DATA_COMMAND},
        {800},
        {0},
    };
    for (const auto& command : silent) {
        EXPECT_FALSE(BoardCommandBytes(command)) << command.code << " " << command.x;
    }
    EXPECT_FALSE(BoardCommandLabels(800));
    EXPECT_EQ(BoardCommandLabels(2002)->command, "Unknown!!");
}

}  // namespace

}  // namespace hx
