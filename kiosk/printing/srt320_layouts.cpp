#include "kiosk/printing/srt320_layouts.h"

#include <initializer_list>
#include <string_view>

#include "kiosk/printing/amount_fill.h"
#include "kiosk/printing/receipt_texts.h"
#include "kiosk/support/money_text.h"
#include "platform/cp949.h"
#include "platform/local_time.h"

namespace hx {

namespace {

// GS ! n: character size, width and height each times three or times two.
constexpr std::string_view kTripleSize = "\x1D\x21\x22";
constexpr std::string_view kDoubleSize = "\x1D\x21\x11";
// One row of the paper in the normal size: 48 columns.
constexpr std::string_view kThinRule = "------------------------------------------------\n";
constexpr std::string_view kDoubleRule = "================================================\n";
constexpr std::string_view kHeavyRule = "━━━━━━━━\n";
// Blank paper that carries the last line past the cutter.
constexpr std::string_view kCutterFeed = "\n\n\n\n\n";

// The document is built in UTF-8 and converted once at the end.
void Put(std::string& text, std::initializer_list<std::string_view> pieces) {
    for (const std::string_view piece : pieces) {
        text += piece;
    }
}

void PutAmountLine(std::string& text, std::string_view label, long long amount) {
    const std::string money = MoneyText(amount);
    Put(text, {label, AmountFill48(label, money), money, "원\n"});
}

void PutMerchant(std::string& text, const stCardReceiptInfo& receipt) {
    Put(text, {"setBold", kTripleSize, "setLeft", kHeavyRule, kDoubleSize});
    Put(text, {"setCenter", receipt.merchantName, "\n", "\n"});
    Put(text, {"setNormal", "setLeft"});
    Put(text, {"가    맹    점 : ", receipt.merchantName, "\n"});
    Put(text, {"대표자 / 전 화 : ", receipt.representative, " / ", receipt.phone, "\n"});
    Put(text, {"사 업 자 번 호 : ", BusinessNumberText(receipt.businessNo), "\n"});
    Put(text, {"주          소 : ", receipt.address, "\n"});
    Put(text, {kThinRule});
    Put(text, {"일          시 : ", receipt.saleDate, "\n"});
    Put(text, {"기    기    명 : ", receipt.deviceName, "\n"});
    Put(text, {kDoubleRule});
}

void PutAmounts(std::string& text, const stCardReceiptInfo& receipt) {
    const std::string total = MoneyText(receipt.amount);
    Put(text, {"setBold", "상    품    명                          금    액\n"});
    Put(text, {"setNormal", kThinRule});
    PutAmountLine(text, receipt.productName, receipt.amount);
    Put(text, {kThinRule});
    PutAmountLine(text, "과세금액", static_cast<long long>(receipt.amount) - receipt.valueAddedTax);
    PutAmountLine(text, "부 가 세", receipt.valueAddedTax);
    Put(text, {kDoubleRule});
    Put(text, {kDoubleSize, "setBold", "합계", AmountFill24("합계", total), total, "원\n"});
    Put(text, {"setNormal", kDoubleRule});
}

void PutCard(std::string& text, const stCardReceiptInfo& receipt) {
    Put(text, {"setCenter", "setBold", "** 신용카드 결제 **\n"});
    Put(text, {"setLeft", "setNormal", kThinRule});
    Put(text, {"[카 드 번 호]  ", receipt.cardNo, "\n"});
    Put(text, {"[유 효 기 간]  ** / **\n"});
    Put(text, {"[카  드   명]  ", receipt.cardName, "\n"});
    Put(text, {"[가맹점 번호]  ", receipt.merchantNo, "\n"});
    Put(text, {"[결 제 금 액]  ", MoneyText(receipt.amount), "원\n"});
    Put(text, {"[할 부 개 월]  ", InstallmentText(receipt.installmentMonths), "\n"});
    Put(text, {"setBold", "[승 인 번 호]  ", receipt.approvalNo, "\n"});
    Put(text, {"setBold", kTripleSize, kHeavyRule, "clrBold", "setLeft"});
    Put(text, {kCutterFeed, "PatialCut"});
}

}  // namespace

std::string Srt320ShopCard(const stShopCardInfo& ticket) {
    std::string text;
    Put(text, {"setBold", "setCenter", kTripleSize, ticket.roomName, "\n\n"});
    Put(text, {"setLeft", "setNormal"});
    Put(text, {"객실구분 : ", ticket.stayTypeText, "\n\n"});
    Put(text, {"객실등급 : ", ticket.roomClassName, "\n\n"});
    Put(text, {"결제금액 : ", ticket.amountText, "원\n\n"});
    Put(text, {"결제일시 : ", PrintedTimeText(LocalTimeFromEpoch(ticket.paymentTime)), "\n\n"});
    Put(text, {"퇴실일시 : ", ticket.checkOutText, "\n\n\n\n"});
    Put(text, {"setCenter", "미셩년자는 출입할 수 없습니다.\n\n", ticket.footerText});
    Put(text, {kCutterFeed, "PatialCut"});
    return Cp949FromUtf8(text);
}

std::string Srt320CardReceipt(const stCardReceiptInfo& receipt) {
    std::string text;
    PutMerchant(text, receipt);
    PutAmounts(text, receipt);
    PutCard(text, receipt);
    return Cp949FromUtf8(text);
}

}  // namespace hx
