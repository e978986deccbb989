#include "kiosk/records/sale_records.h"

#include <gtest/gtest.h>

#include "kiosk/records/test_record_bytes.h"

namespace hx {

namespace {

TEST(SaleRequest, ACashSaleCarriesTheAmountTwiceAndAZeroApproval) {
    const stSaleRequest sale{305, STAY_SLEEP, 60000, 60000, 0, {}};
    const auto packet = Pack(sale);
    ExpectBareHeader(packet, 601, 912);
    EXPECT_EQ(Le32At(packet, 36), 305u);
    EXPECT_EQ(Le32At(packet, 44), 2u);
    EXPECT_EQ(Le32At(packet, 68), 60000u);
    EXPECT_EQ(Le32At(packet, 72), 60000u);
    ExpectZeroOutside(packet, 36, {{36, 4}, {44, 4}, {68, 8}});

    stSaleRequest back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.stayType, STAY_SLEEP);
    EXPECT_EQ(back.cashAmount, 60000);
    EXPECT_FALSE(Unpack(std::span(packet).first(911), back));
}

TEST(SaleRequest, ACardSaleCarriesTheApprovalFromOffset88) {
    stSaleRequest sale{302, STAY_RENTAL, 25000, 0, 25000, {}};
    sale.approval.terminalNo = "T1";
    sale.approval.approvalNo = "A7";
    sale.approval.roomNo = 302;
    const auto packet = Pack(sale);
    EXPECT_EQ(Le32At(packet, 44), 1u);
    EXPECT_EQ(Le32At(packet, 72), 0u);
    EXPECT_EQ(Le32At(packet, 76), 25000u);
    EXPECT_EQ(RawTextAt(packet, 92), "T1");
    EXPECT_EQ(RawTextAt(packet, 636), "A7");
    EXPECT_EQ(Le32At(packet, 748), 302u);

    stSaleRequest back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.approval.approvalNo, "A7");
    EXPECT_EQ(back.approval.roomNo, 302);
}

TEST(SaleAnswer, ResultEndTimeAndSoldRoomSitAtTheirOffsets) {
    stSaleAnswer answer{kSaleAccepted, "2024-05-07 12:00:00", {}};
    answer.room.roomNo = 305;
    answer.room.state = 1;
    answer.room.lockNo = 9;
    const auto packet = Pack(answer);
    ExpectBareHeader(packet, 602, 668);
    EXPECT_EQ(Le32At(packet, 36), 1u);
    EXPECT_EQ(RawTextAt(packet, 40), "2024-05-07 12:00:00");
    EXPECT_EQ(Le32At(packet, 556), 305u);
    EXPECT_EQ(Le32At(packet, 564), 1u);
    EXPECT_EQ(Le32At(packet, 664), 9u);

    stSaleAnswer back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.endTime, "2024-05-07 12:00:00");
    EXPECT_EQ(back.room.state, 1);

    auto refused = packet;
    SetLe32(refused, 36, static_cast<uint32_t>(-3));
    ASSERT_TRUE(Unpack(refused, back));
    EXPECT_EQ(back.result, -3);
    EXPECT_FALSE(Unpack(std::span(packet).first(667), back));
}

}  // namespace

}  // namespace hx
