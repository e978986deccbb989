#include "kiosk/printing/srp330_layouts.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/cp949.h"
#include "tests/support/scoped_environment.h"

namespace hx {

namespace {

using enum enumDeviceFace;
using Line = std::tuple<int, enumDeviceFace, std::string>;  // step, face, UTF-8 text

std::vector<Line> Lines(const stDeviceDocument& document) {
    std::vector<Line> lines;
    for (const stDeviceLine& line : document.lines) {
        lines.emplace_back(line.step, line.face, Utf8FromCp949(line.text));
    }
    return lines;
}

stCardReceiptInfo SampleReceipt() {
    stCardReceiptInfo receipt;
    receipt.kind = kCreditCardReceipt;
    receipt.productName = "305호(대실)";
    receipt.merchantName = "하늘모텔";
    receipt.amount = 50000;
    receipt.valueAddedTax = 4545;
    receipt.representative = "김하늘";
    receipt.phone = "02-123-4567";
    receipt.businessNo = "1234567890";
    receipt.address = "서울특별시 강남구 테헤란로 123 한국빌딩 5층 501호";
    receipt.saleDate = "2026-12-09 23:05:07";
    receipt.deviceName = "KIOSK-01";
    receipt.cardNo = "1234-56**-****-7890";
    receipt.cardName = "하나카드";
    receipt.merchantNo = "00123456";
    receipt.installmentMonths = "0";
    receipt.approvalNo = "30012345";
    return receipt;
}

TEST(Srp330Layouts, GuestTicket) {
    // Korean time, without daylight saving and without needing tzdata.
    const CScopedEnvironment zone{"TZ", "KST-9"};
    const stShopCardInfo ticket{.roomName = "305호",
                                .checkOutText = "2026-12-10 / 오전 2시 05분",
                                .amountText = "35,000",
                                .paymentTime = 1796825107,  // 2026-12-09 23:05:07 in Korea
                                .footerText = "이용해 주셔서 감사합니다",
                                .stayTypeText = "대실(3시간)",
                                .roomClassName = "스탠다드"};

    const stDeviceDocument document = Srp330ShopCard(ticket);

    EXPECT_EQ(document.name, "Print Shopcard");
    EXPECT_TRUE(document.secondLineByDefaultFont);
    const std::vector<Line> expected = {
        {0, FontControl, "x"},
        {1, Korean2x2, "305호"},
        {1, FontControl, "w"},
        {4, Korean1x1, "객실구분 : 대실(3시간)"},
        {4, Korean1x1, "객실등급 : 스탠다드"},
        {4, Korean1x1, "결제금액 : 35,000"},
        {4, Korean1x1, "결제일시 : 2026-12-09 / 오후 11시 05분"},
        {4, Korean1x1, "퇴실일시 : 2026-12-10 / 오전 2시 05분"},
        {1, FontControl, "x"},
        {4, Korean1x1, "미성년자는 출입할 수 없습니다."},
        {4, Korean1x1, "이용해 주셔서 감사합니다"},
        {6, FontControl, "6"},
    };
    EXPECT_EQ(Lines(document), expected);
}

TEST(Srp330Layouts, CardReceipt) {
    const stDeviceDocument document = Srp330CardReceipt(SampleReceipt());

    EXPECT_EQ(document.name, "Print CreditReceipt");
    EXPECT_FALSE(document.secondLineByDefaultFont);
    const std::vector<Line> expected = {
        {0, FontControl, "w"},
        {1, Korean2x2, "━━━━━━━━━━"},
        {1, FontControl, "x"},
        {1, Korean2x2, "하늘모텔"},
        {1, FontControl, "w"},
        {1, Korean1x1, "가    맹    점 : 하늘모텔 "},
        {3, Korean1x1, "대표자 / 전 화 : 김하늘 / 02-123-4567"},
        {3, Korean1x1, "사 업 자 번 호 : 123-45-67890"},
        {3, Korean1x1, "주          소 : 서울특별시 강남구 테헤란"},
        {3, Korean1x1, "로 123 한국빌딩 5층 501호"},
        {1, Korean1x1, "------------------------------------------"},
        {1, Korean1x1, "일          시 : 2026-12-09 23:05:07"},
        {3, Korean1x1, "기    기    명 : KIOSK-01"},
        {1, Korean1x1, "=========================================="},
        {1, Korean1x1, "상    품    명                    금    액"},
        {1, Korean1x1, "------------------------------------------"},
        {1, Korean1x1, "305호(대실)                       50,000원"},
        {1, Korean1x1, "------------------------------------------"},
        {1, Korean1x1, "과세금액                          45,455원"},
        {3, Korean1x1, "부가세                             4,545원"},
        {1, Korean1x1, "=========================================="},
        {1, Korean1x1, "합계                              50,000원"},
        {1, Korean1x1, "=========================================="},
        {1, Korean1x1, "            ** 신용카드 결제 **           "},
        {1, Korean1x1, "------------------------------------------"},
        {1, Korean1x1, "[카 드 번 호]  1234-56**-****-7890"},
        {3, Korean1x1, "[유 효 기 간]  ** / **"},
        {3, Korean1x1, "[카  드   명]  하나카드"},
        {3, Korean1x1, "[가맹점 번호]  00123456"},
        {3, Korean1x1, "[결 제 금 액]  50,000원"},
        {3, Korean1x1, "[할 부 개 월]  일시불"},
        {3, Korean1x1, "[승 인 번 호]  30012345"},
        {1, Korean2x2, "━━━━━━━━━━"},
        {6, FontControl, "6"},
    };
    EXPECT_EQ(Lines(document), expected);
}

TEST(Srp330Layouts, AProductNameTooLongToShareItsLineLeavesTheAmountALineOfItsOwn) {
    const size_t kProductLine = 16;  // after the header rules
    const struct {
        std::string productName;
        std::vector<Line> lines;
    } cases[] = {
        {std::string(33, 'p'), {{1, Korean1x1, std::string(33, 'p') + " 50,000원"}}},
        {std::string(34, 'p'),
         {{1, Korean1x1, std::string(34, 'p')}, {3, Korean1x1, std::string(34, ' ') + "50,000원"}}},
    };
    for (const auto& c : cases) {
        stCardReceiptInfo receipt = SampleReceipt();
        receipt.productName = c.productName;
        const std::vector<Line> lines = Lines(Srp330CardReceipt(receipt));
        ASSERT_GT(lines.size(), kProductLine + c.lines.size());
        const std::vector<Line> productLines(lines.begin() + kProductLine,
                                             lines.begin() + kProductLine + c.lines.size());
        EXPECT_EQ(productLines, c.lines) << c.productName.size();
        EXPECT_EQ(std::get<std::string>(lines[kProductLine + c.lines.size()]),
                  std::string(42, '-'));
    }
}

}  // namespace

}  // namespace hx
