#include "kiosk/records/approval_record.h"

#include <gtest/gtest.h>

#include "kiosk/records/test_record_bytes.h"

namespace hx {

namespace {

stCardApproval SampleApproval() {
    stCardApproval approval;
    approval.terminalNo = "T1234567";
    approval.saleDate = "240506";
    approval.saleTime = "235959";
    approval.issuerCode = "0100";
    approval.issuerName = "issuer name longer than thirty-two bytes";
    approval.acquirer = "acq";
    approval.merchantNo = "M99";
    approval.cardNo = "1234-5678-9012-3456 with a tail past 32";
    approval.approvalNo = "30012345";
    approval.spare = "s";
    approval.amount = 50000;
    approval.installmentMonths = 3;
    approval.roomNo = 305;
    return approval;
}

TEST(CardApproval, FieldsSitAtTheirOffsetsIn824Bytes) {
    std::vector<uint8_t> bytes(824);
    ASSERT_TRUE(Pack(SampleApproval(), bytes));
    EXPECT_EQ(RawTextAt(bytes, 4), "T1234567");
    EXPECT_EQ(RawTextAt(bytes, 260), "240506");
    EXPECT_EQ(RawTextAt(bytes, 292), "235959");
    EXPECT_EQ(RawTextAt(bytes, 324), "0100");
    EXPECT_EQ(RawTextAt(bytes, 356), "issuer name longer than thirty-two bytes");
    EXPECT_EQ(RawTextAt(bytes, 420), "acq");
    EXPECT_EQ(RawTextAt(bytes, 452), "M99");
    EXPECT_EQ(RawTextAt(bytes, 484), "1234-5678-9012-3456 with a tail past 32");
    EXPECT_EQ(RawTextAt(bytes, 548), "30012345");
    EXPECT_EQ(RawTextAt(bytes, 612), "s");
    EXPECT_EQ(Le32At(bytes, 644), 50000u);
    EXPECT_EQ(Le32At(bytes, 648), 3u);
    EXPECT_EQ(Le32At(bytes, 660), 305u);
    ExpectZeroOutside(bytes, 0,
                      {{4, 8},
                       {260, 6},
                       {292, 6},
                       {324, 4},
                       {356, 40},
                       {420, 3},
                       {452, 3},
                       {484, 39},
                       {548, 8},
                       {612, 1},
                       {644, 8},
                       {660, 4}});

    stCardApproval back;
    ASSERT_TRUE(Unpack(bytes, back));
    EXPECT_EQ(back.issuerName, SampleApproval().issuerName);
    EXPECT_EQ(back.cardNo, SampleApproval().cardNo);
    EXPECT_EQ(back.roomNo, 305);
    EXPECT_FALSE(Unpack(std::span(bytes).first(823), back));
}

TEST(CardApproval, EveryTextEndsWithAZeroInsideItsField) {
    stCardApproval approval = SampleApproval();
    approval.saleDate = std::string(40, '9');
    approval.issuerName = std::string(80, 'n');
    std::vector<uint8_t> bytes(824);
    ASSERT_TRUE(Pack(approval, bytes));
    EXPECT_EQ(RawTextAt(bytes, 260), std::string(31, '9'));
    EXPECT_EQ(RawTextAt(bytes, 292), "235959");
    EXPECT_EQ(RawTextAt(bytes, 356), std::string(63, 'n'));
    EXPECT_EQ(RawTextAt(bytes, 420), "acq");
}

}  // namespace

}  // namespace hx
