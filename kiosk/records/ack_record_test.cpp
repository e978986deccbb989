#include "kiosk/records/ack_record.h"

#include <gtest/gtest.h>

#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/test_record_bytes.h"

namespace hx {

namespace {

TEST(Ack, AnswersAnyCommandWithItsResultAt40) {
    const auto packet = Pack(stAck{CMD_STEP_REPORT, 1});
    ExpectBareHeader(packet, 515, 104);
    EXPECT_EQ(Le32At(packet, 40), 1u);
    ExpectZeroOutside(packet, 36, {{40, 4}});

    stAck back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.command, 515u);
    EXPECT_TRUE(IsAcknowledged(back));
    EXPECT_FALSE(IsAcknowledged(stAck{CMD_STEP_REPORT, 0}));
    EXPECT_FALSE(IsAcknowledged(stAck{CMD_STEP_REPORT, -1}));

    std::vector<uint8_t> longer(200);
    std::copy(packet.begin(), packet.end(), longer.begin());
    EXPECT_TRUE(Unpack(longer, back));
    EXPECT_FALSE(Unpack(std::span(packet).first(103), back));
}

}  // namespace

}  // namespace hx
