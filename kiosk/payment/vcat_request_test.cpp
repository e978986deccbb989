#include "kiosk/payment/vcat_request.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

using Fields = std::vector<stVCatField>;

TEST(VCatRequest, TaxIsTheAmountTimesTenOverOneHundredTenTruncated) {
    for (const auto& [amount, tax] :
         {std::pair{0, 0}, {-5, 0}, {1, 0}, {11, 1}, {110, 10}, {50000, 4545}}) {
        EXPECT_EQ(ValueAddedTax(amount), tax) << amount;
    }
    EXPECT_EQ(ValueAddedTax(2000000000), 181818181) << "no overflow on the way";
}

TEST(VCatRequest, ApprovalsAndCancelsSendTheirFieldsInOrder) {
    EXPECT_EQ(ApprovalRequestFields(35000, std::nullopt),
              (Fields{{1, "0101"}, {2, "01"}, {3, "35000"}, {4, "3181"}, {6, "0"}, {9, "3"}}));
    const stSignData sign{"SIG", "HASH"};
    EXPECT_EQ(ApprovalRequestFields(0, sign), (Fields{{1, "0111"},
                                                      {2, "01"},
                                                      {3, "0"},
                                                      {4, "0"},
                                                      {6, "0"},
                                                      {9, "4"},
                                                      {68, "SIG"},
                                                      {69, "HASH"}}));
    EXPECT_EQ(CancelRequestFields("12345678", "20261210", 50000, sign), (Fields{{68, "SIG"},
                                                                                {69, "HASH"},
                                                                                {1, "2111"},
                                                                                {2, "01"},
                                                                                {3, "50000"},
                                                                                {4, "4545"},
                                                                                {9, "4"},
                                                                                {12, "12345678"},
                                                                                {13, "20261210"}}));
    EXPECT_EQ(CancelRequestFields("1", "2", 11, std::nullopt).front(), (stVCatField{1, "2101"}));
}

}  // namespace

}  // namespace hx
