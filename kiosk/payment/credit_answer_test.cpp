#include "kiosk/payment/credit_answer.h"

#include <gtest/gtest.h>

#include <map>

namespace hx {

namespace {

VCatFieldReader Reader(std::map<int16_t, std::string> fields) {
    return [fields = std::move(fields)](int16_t field) {
        const auto found = fields.find(field);
        return found == fields.end() ? std::string() : found->second;
    };
}

std::map<int16_t, std::string> Approved() {
    return {{1, "0102"},      {3, "9410123456789012"}, {4, "35000"},   {7, "03"},
            {8, "30012345"},  {9, "20261210"},         {10, "021530"}, {12, "M-778"},
            {13, "T-1001"},   {14, "0100BC카드"},      {15, "비씨"},   {17, "00"},
            {18, "정상승인"}, {20, "감사합니다"}};
}

TEST(CreditAnswer, AnApprovalIsReadIntoItsRecordAndItsLogLines) {
    const auto parsed = ReadCreditAnswer(Reader(Approved()));
    ASSERT_TRUE(parsed);
    const stCreditAnswer& a = parsed->answer;
    EXPECT_EQ(a.cardNo, "9410-1234-5678-9012");
    EXPECT_EQ(a.amount, 35000);
    EXPECT_EQ(a.installmentMonths, 3);
    EXPECT_EQ(a.issuerCode, "0100");
    EXPECT_EQ(a.issuerName, "BC카드");
    EXPECT_EQ(a.approvalNo, "30012345");
    EXPECT_TRUE(IsApprovedPayment(a));
    ASSERT_EQ(parsed->logLines.size(), 13u);
    EXPECT_EQ(parsed->logLines[0], "신용 승인 응답");
    EXPECT_EQ(parsed->logLines[3], "할부개월   : 03") << "the field as it came";
    EXPECT_EQ(parsed->logLines[7], "발급사     : 0100BC카드");

    const stCardApproval approval = CardApprovalOf(a);
    EXPECT_EQ(approval.cardNo, "9410-1234-5678-9012");
    EXPECT_EQ(approval.amount, 35000);
    EXPECT_EQ(approval.issuerName, "BC카드");
    EXPECT_EQ(approval.roomNo, 0) << "the sale writes the room";
}

TEST(CreditAnswer, OnlyAnApprovalWithCodeZeroZeroAndANumberIsAPayment) {
    const struct {
        const char* what;
        int16_t field;
        std::string value;
    } refusals[] = {
        {"declined", 17, "51"},
        {"no approval number", 8, ""},
        {"a cancel's answer", 1, "2102"},
    };
    for (const auto& r : refusals) {
        auto fields = Approved();
        fields[r.field] = r.value;
        const auto parsed = ReadCreditAnswer(Reader(fields));
        ASSERT_TRUE(parsed) << r.what;
        EXPECT_FALSE(IsApprovedPayment(parsed->answer)) << r.what;
    }
    auto other = Approved();
    other[1] = "5202";
    EXPECT_FALSE(ReadCreditAnswer(Reader(other))) << "other answers are ignored";
}

TEST(CreditAnswer, ShortOrOddFieldsGiveShortGroupsAndZeros) {
    EXPECT_EQ(FormatCardNumber("941012345678"), "9410-1234-5678-");
    EXPECT_EQ(FormatCardNumber(""), "---");
    auto fields = Approved();
    fields[4] = "abc";
    fields[14] = "01";
    const auto parsed = ReadCreditAnswer(Reader(fields));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->answer.amount, 0);
    EXPECT_EQ(parsed->answer.issuerCode, "01");
    EXPECT_EQ(parsed->answer.issuerName, "");
}

}  // namespace

}  // namespace hx
