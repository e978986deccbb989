#include "kiosk/records/summary_records.h"

#include <gtest/gtest.h>

#include "kiosk/records/test_record_bytes.h"

namespace hx {

namespace {

TEST(SalesSummary, SixteenFiguresSitAtTheirOffsetsAfterTheHeader) {
    const stSalesSummary summary{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const auto packet = Pack(summary);
    ExpectBareHeader(packet, 509, 124);
    const size_t offsets[] = {40, 44, 48, 52, 56, 60, 76, 80, 84, 88, 92, 104, 108, 112, 116, 120};
    for (uint32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(Le32At(packet, offsets[i]), i + 1) << offsets[i];
    }
    ExpectZeroOutside(packet, 36, {{40, 24}, {76, 20}, {104, 20}});

    stSalesSummary back;
    ASSERT_TRUE(Unpack(packet, back));
    EXPECT_EQ(back.inserted50000, 6);
    EXPECT_EQ(back.returned50000, 10);
    EXPECT_EQ(back.keyCardsIssued, 11);
    EXPECT_EQ(back.cardCancels, 16);
    EXPECT_FALSE(Unpack(std::span(packet).first(123), back));
}

}  // namespace

}  // namespace hx
