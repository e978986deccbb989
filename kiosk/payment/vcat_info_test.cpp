#include "kiosk/payment/vcat_info.h"

#include <gtest/gtest.h>

#include <map>

namespace hx {

namespace {

TEST(VCatInfo, MerchantInformationComesOnlyFromItsOwnAnswer) {
    std::map<int16_t, std::string> fields{
        {1, "5202"},    {13, "T-1001"},      {40, "123-45-67890"},  {41, "해피모텔"},
        {42, "김대표"}, {43, "02-000-0000"}, {44, "서울시 어딘가"}, {45, "V2.1"}};
    const VCatFieldReader read = [&](int16_t field) { return fields[field]; };
    std::string whyNot;
    const auto parsed = ReadVCatInfo(read, whyNot);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->info.terminalNo, "T-1001");
    EXPECT_EQ(parsed->info.merchantName, "해피모텔");
    EXPECT_EQ(parsed->info.terminalVersion, "V2.1");
    EXPECT_EQ(parsed->logLines[2], "가맹점 명  : 해피모텔");

    fields[1] = "0102";
    EXPECT_FALSE(ReadVCatInfo(read, whyNot));
    EXPECT_EQ(whyNot, "서비스 유형 맞지 않음:[0102]");
}

TEST(VCatInfo, TheWorkingKeyAndItsIndexComeFromFixedPlaces) {
    const std::string head(42, '.');
    const std::string key = "0123456789ABCDEF";
    EXPECT_EQ(WorkingKeyOf(head + key + "07").index, "7");
    EXPECT_EQ(WorkingKeyOf(head + key + "12").index, "1");
    EXPECT_EQ(WorkingKeyOf(head + key + "07").key, key);
    EXPECT_EQ(WorkingKeyOf(head + key + "0").index, "0") << "no second character to take";
    EXPECT_EQ(WorkingKeyOf(head + "0123").key, "0123");
    EXPECT_EQ(WorkingKeyOf("short").index, "");
}

TEST(VCatInfo, EachSignatureFailureHasItsLine) {
    EXPECT_EQ(SignFailureLine(-303), "BmpToEncSign Fail. [워킹키 에러]");
    EXPECT_EQ(SignFailureLine(-304), "BmpToEncSign Fail. [마스터키 에러]");
    EXPECT_EQ(SignFailureLine(-1), "BmpToEncSign Fail. [File load Fail]");
}

}  // namespace

}  // namespace hx
