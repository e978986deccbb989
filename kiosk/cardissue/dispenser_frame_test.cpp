#include "kiosk/cardissue/dispenser_frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

TEST(DispenserFrame, CommandsWithoutParametersHaveTheirExactBytes) {
    const struct {
        enumDispenserCommand command;
        Bytes frame;
    } cases[] = {
        {DISPENSER_SET_RESET, {0x02, 0x21, 0x20, 0x03, 0x00}},
        {DISPENSER_SET_REBOOT, {0x02, 0x21, 0x21, 0x03, 0x01}},
        {DISPENSER_GET_STATUS, {0x02, 0x21, 0x30, 0x03, 0x10}},
        {DISPENSER_GET_FIRMWARE, {0x02, 0x21, 0x31, 0x03, 0x11}},
        {DISPENSER_GET_SENSOR, {0x02, 0x21, 0x32, 0x03, 0x12}},
        {DISPENSER_READY, {0x02, 0x21, 0x35, 0x03, 0x15}},
        {DISPENSER_CAPTURE, {0x02, 0x21, 0x38, 0x03, 0x18}},
        {DISPENSER_EJECT_DROP, {0x02, 0x21, 0x39, 0x03, 0x19}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildDispenserFrame(c.command), c.frame) << DispenserCommandName(c.command);
    }
}

TEST(DispenserFrame, ReadAndWriteCarryTheirBlockAndAWriteItsCheck) {
    EXPECT_EQ(BuildReadFrame(0, 2), (Bytes{0x02, 0x23, 0x37, 0x00, 0x02, 0x03, 0x17}));

    CardBlock data{0x07, 0x07, 0xE5, 0x00, 0x01, 0x31, 0x00, 0x55,
                   0x30, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    const Bytes frame = BuildWriteFrame(0, 1, data);
    ASSERT_EQ(frame.size(), 23u);
    EXPECT_EQ((Bytes(frame.begin(), frame.begin() + 5)), (Bytes{0x02, 0x33, 0x36, 0x00, 0x01}));
    EXPECT_EQ(frame[20], XorOf(std::span(data).first(15))) << "the 16th byte is the check";
    EXPECT_EQ(frame[21], 0x03);
    EXPECT_EQ(frame[22], XorOf(std::span(frame).first(22)));

    data[15] = 0x5A;  // a 16th byte of its own goes out XORed with the check
    EXPECT_EQ(BuildWriteFrame(0, 1, data)[20], 0x5A ^ XorOf(std::span(data).first(15)));
}

}  // namespace

}  // namespace hx
