#include "kiosk/printing/srt320_layouts.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/cp949.h"
#include "tests/support/scoped_environment.h"

namespace hx {

namespace {

// Character size commands, times three and times two.
const std::string kTriple = "\x1D\x21\x22";
const std::string kDouble = "\x1D\x21\x11";

// Documents are compared in UTF-8, so a failure reads like the paper.
std::string Join(const std::vector<std::string>& pieces) {
    std::string text;
    for (const std::string& piece : pieces) {
        text += piece;
    }
    return text;
}

TEST(Srt320Layouts, GuestTicket) {
    // Korean time, without daylight saving and without needing tzdata.
    const CScopedEnvironment zone{"TZ", "KST-9"};
    const stShopCardInfo ticket{.roomName = "501호",
                                .checkOutText = "2026-12-10 / 오후 12시 00분",
                                .amountText = "60,000",
                                .paymentTime = 1796828700,  // 2026-12-10 00:05:00 in Korea
                                .footerText = "편안한 밤 되세요",
                                .stayTypeText = "숙박",
                                .roomClassName = "디럭스"};

    const std::vector<std::string> expected = {
        "setBoldsetCenter" + kTriple + "501호\n\n",
        "setLeftsetNormal객실구분 : 숙박\n\n",
        "객실등급 : 디럭스\n\n",
        "결제금액 : 60,000원\n\n",
        "결제일시 : 2026-12-10 / 오전 12시 05분\n\n",
        "퇴실일시 : 2026-12-10 / 오후 12시 00분\n\n\n\n",
        "setCenter미셩년자는 출입할 수 없습니다.\n\n",
        "편안한 밤 되세요\n\n\n\n\n",
        "PatialCut",
    };
    EXPECT_EQ(Utf8FromCp949(Srt320ShopCard(ticket)), Join(expected));
}

TEST(Srt320Layouts, CardReceipt) {
    stCardReceiptInfo receipt;
    receipt.kind = kCreditCardReceipt;
    receipt.productName = "VIP 스위트 305호(숙박)";
    receipt.merchantName = "바다모텔";
    receipt.amount = 120000;
    receipt.valueAddedTax = 10909;
    receipt.representative = "이바다";
    receipt.phone = "051-765-4321";
    receipt.businessNo = "6058112345";
    receipt.address = "부산광역시 해운대구 해운대해변로 264 바다빌딩 1층";
    receipt.saleDate = "2026-12-10 00:05:00";
    receipt.deviceName = "KIOSK-02";
    receipt.cardNo = "9410-12**-****-3456";
    receipt.cardName = "국민카드";
    receipt.merchantNo = "98765432";
    receipt.installmentMonths = "3";
    receipt.approvalNo = "71234567";

    const std::vector<std::string> expected = {
        "setBold" + kTriple + "setLeft━━━━━━━━\n",
        kDouble + "setCenter바다모텔\n",
        "\n",
        "setNormalsetLeft가    맹    점 : 바다모텔\n",
        "대표자 / 전 화 : 이바다 / 051-765-4321\n",
        "사 업 자 번 호 : 605-81-12345\n",
        "주          소 : 부산광역시 해운대구 해운대해변로 264 바다빌딩 1층\n",
        "------------------------------------------------\n",
        "일          시 : 2026-12-10 00:05:00\n",
        "기    기    명 : KIOSK-02\n",
        "================================================\n",
        "setBold상    품    명                          금    액\n",
        "setNormal------------------------------------------------\n",
        "VIP 스위트 305호(숙박)                 120,000원\n",
        "------------------------------------------------\n",
        "과세금액                               109,091원\n",
        "부 가 세                                10,909원\n",
        "================================================\n",
        kDouble + "setBold합계           120,000원\n",
        "setNormal================================================\n",
        "setCentersetBold** 신용카드 결제 **\n",
        "setLeftsetNormal------------------------------------------------\n",
        "[카 드 번 호]  9410-12**-****-3456\n",
        "[유 효 기 간]  ** / **\n",
        "[카  드   명]  국민카드\n",
        "[가맹점 번호]  98765432\n",
        "[결 제 금 액]  120,000원\n",
        "[할 부 개 월]  3개월\n",
        "setBold[승 인 번 호]  71234567\n",
        "setBold" + kTriple + "━━━━━━━━\n",
        "clrBoldsetLeft\n\n\n\n\n",
        "PatialCut",
    };
    EXPECT_EQ(Utf8FromCp949(Srt320CardReceipt(receipt)), Join(expected));
}

}  // namespace

}  // namespace hx
