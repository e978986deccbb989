#include "kiosk/records/report_records.h"

#include <gtest/gtest.h>

#include "kiosk/records/test_record_bytes.h"

namespace hx {

namespace {

constexpr int64_t kLateTime = 0x123456789;  // needs the upper half

TEST(DeviceEvent, FieldsSitAtTheirOffsetsAndALongTextStopsBeforeTheTime) {
    const stDeviceEvent event{1201, 1, std::string(3000, 'e'), kLateTime};
    const auto packet = Pack(event);
    ExpectBareHeader(packet, 505, 2104);
    EXPECT_EQ(Le32At(packet, 36), 0u);
    EXPECT_EQ(Le32At(packet, 40), 1201u);
    EXPECT_EQ(Le32At(packet, 44), 1u);
    EXPECT_EQ(RawTextAt(packet, 48), std::string(2047, 'e'));
    EXPECT_EQ(packet[2095], 0);
    EXPECT_EQ(Int64At(packet, 2096), kLateTime);

    stDeviceEvent back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.code, 1201);
    EXPECT_EQ(back.cleared, 1);
    EXPECT_EQ(back.text.size(), 2047u);
    EXPECT_EQ(back.time, kLateTime);
    EXPECT_FALSE(Unpack(std::span(packet).first(2103), back));
}

TEST(MoneyReport, FloatCashInAndPayoutShareTheLayout) {
    const stMoneyReport payout{CMD_PAYOUT_REPORT, 4, 3, 2, 1, kLateTime};
    const auto packet = Pack(payout);
    ExpectBareHeader(packet, 508, 64);
    EXPECT_EQ(Le32At(packet, 36), 4u);
    EXPECT_EQ(Le32At(packet, 40), 3u);
    EXPECT_EQ(Le32At(packet, 44), 2u);
    EXPECT_EQ(Le32At(packet, 48), 0u);
    EXPECT_EQ(Le32At(packet, 52), 1u);
    EXPECT_EQ(Int64At(packet, 56), kLateTime);

    stMoneyReport back;
    for (uint32_t command : {506u, 507u, 508u}) {
        auto copy = packet;
        SetLe32(copy, 0, command);
        ASSERT_TRUE(Unpack(copy, back)) << command;
        EXPECT_EQ(back.command, command);
        EXPECT_EQ(back.keyCards, 1);
    }
    EXPECT_FALSE(Unpack(std::span(packet).first(63), back));
    auto other = packet;
    SetLe32(other, 0, 505);
    EXPECT_FALSE(Unpack(other, back));
}

TEST(StepReport, FieldsSitAtTheirOffsetsAndKoreanIsCutWhole) {
    stStepReport report{7, "", kLateTime};
    for (int i = 0; i < 600; ++i) {
        report.text += "박";  // 511 two-byte characters fit in 1023 bytes
    }
    const auto packet = Pack(report);
    ExpectBareHeader(packet, 515, 1076);
    EXPECT_EQ(Le32At(packet, 36), 0u);
    EXPECT_EQ(Le32At(packet, 40), 7u);
    EXPECT_EQ(packet[44], 0xB9);
    EXPECT_EQ(packet[44 + 1021], 0xDA);
    EXPECT_EQ(packet[44 + 1022], 0);
    EXPECT_EQ(packet[44 + 1023], 0);
    EXPECT_EQ(Int64At(packet, 1068), kLateTime);

    stStepReport back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.text.size(), 511u * 3);
    EXPECT_EQ(back.time, kLateTime);
    EXPECT_FALSE(Unpack(std::span(packet).first(1075), back));
}

}  // namespace

}  // namespace hx
