#include "kiosk/cardissue/dispenser_answer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kiosk/cardissue/dispenser_result.h"
#include "kiosk/cardissue/testing_dispenser_device.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Answer(uint8_t command, uint8_t result, const Bytes& data = {}) {
    return DispenserAnswerBytes(command, result, data);
}

TEST(DispenserAnswer, ResultsAndDataByCommand) {
    const Bytes block(16, 0xA5);
    const struct {
        const char* what;
        Bytes bytes;
        int result;
        std::string rowCommand;
    } cases[] = {
        {"status ok", Answer(0x30, '0'), DISPENSER_OK, "Get Status"},
        {"empty stack", Answer(0x30, '3'), DISPENSER_EMPTY_CARD, "Get Status"},
        {"jam on a write", Answer(0x36, '5'), DISPENSER_CARD_JAM, "Write"},
        {"line fault", Answer(0x39, 0x40), DISPENSER_COMMUNICATION_ERROR, "Eject(Drop)"},
        {"a failed read has no data", Answer(0x37, '1'), DISPENSER_ERROR, "Read"},
        {"caught", Answer(0x40, '0'), DISPENSER_OK, "Eject(Catch)"},
        {"firmware", Answer(0x31, '0', {'V', '1', '.', '0', '2', ' ', ' ', 'K'}), DISPENSER_OK,
         "Get Firmware"},
        {"read", Answer(0x37, '0', block), DISPENSER_OK, "Read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const stDispenserAnswer answer = ParseDispenserAnswer(c.bytes);
        EXPECT_EQ(answer.result, c.result);
        EXPECT_EQ(answer.command, std::optional<uint8_t>(c.bytes[2]));
        EXPECT_EQ(answer.row.direction, "RX");
        EXPECT_EQ(answer.row.command, c.rowCommand);
    }
    EXPECT_EQ(
        ParseDispenserAnswer(Answer(0x31, '0', {'V', '1', '.', '0', '2', ' ', ' ', 'K'})).text,
        "V1.02  K");
    const stDispenserAnswer read = ParseDispenserAnswer(Answer(0x37, '0', block));
    ASSERT_TRUE(read.block);
    EXPECT_EQ(Bytes(read.block->begin(), read.block->end()), block);
}

TEST(DispenserAnswer, WhatCannotBeReadSaysSoAndReadsNothingPastTheBytes) {
    Bytes badCheck = Answer(0x30, '0');
    badCheck.back() ^= 0x01;
    const stDispenserAnswer spoiled = ParseDispenserAnswer(badCheck);
    EXPECT_EQ(spoiled.result, DISPENSER_BCC_ERROR);
    EXPECT_EQ(spoiled.row.content, "BCC Check Fail. Rx Data: 02 20 30 30 21 ");

    const struct {
        const char* what;
        Bytes bytes;
    } unreadable[] = {
        {"an unlisted command", Answer(0x33, '0')},
        {"an unlisted result", Answer(0x30, '9')},
        {"three bytes", {0x02, 0x20, 0x20}},
        {"nothing", {}},
        {"a read short of its block", Answer(0x37, '0', Bytes(15, 0x11))},
        {"a sensor short of its text", Answer(0x32, '0', {'1', '0'})},
    };
    for (const auto& c : unreadable) {
        SCOPED_TRACE(c.what);
        const stDispenserAnswer answer = ParseDispenserAnswer(c.bytes);
        EXPECT_EQ(answer.result, DISPENSER_UNKOWN_PACKET);
        EXPECT_FALSE(answer.command);
        EXPECT_FALSE(answer.block);
        EXPECT_EQ(answer.row.content.rfind("Unkown Packet. [", 0), 0u) << answer.row.content;
    }
}

}  // namespace

}  // namespace hx
