#include "kiosk/printing/srp330_layouts.h"

#include <optional>
#include <string_view>
#include <utility>

#include "kiosk/printing/amount_fill.h"
#include "kiosk/printing/dbcs_wrap.h"
#include "kiosk/printing/receipt_texts.h"
#include "kiosk/support/money_text.h"
#include "platform/cp949.h"
#include "platform/local_time.h"

namespace hx {

namespace {

using enum enumDeviceFace;

// One row of the paper in the 1x1 face: 42 columns.
constexpr std::string_view kThinRule = "------------------------------------------";
constexpr std::string_view kDoubleRule = "==========================================";
// A rule across the paper in the 2x2 face.
constexpr std::string_view kHeavyRule = "━━━━━━━━━━";
// Continuation lines (address, amount) stand closer than a new item.
constexpr int kContinuationStep = 3;

void AddCp949(stDeviceDocument& document, int step, enumDeviceFace face, std::string cp949) {
    document.lines.push_back({step, face, std::move(cp949)});
}

void Add(stDeviceDocument& document, int step, enumDeviceFace face, std::string_view utf8) {
    AddCp949(document, step, face, Cp949FromUtf8(utf8));
}

void AddAddress(stDeviceDocument& document, std::string_view address) {
    const std::vector<std::string> lines = WrapAddress(Cp949FromUtf8(address));
    AddCp949(document, 3, Korean1x1, Cp949FromUtf8("주          소 : ") + lines.front());
    for (size_t i = 1; i < lines.size(); ++i) {
        AddCp949(document, kContinuationStep, Korean1x1, lines[i]);
    }
}

// A label and its amount right-aligned; a label too long to share the line
// goes out alone and the amount follows on the next.
void AddAmount(stDeviceDocument& document, int step, const std::string& label, long long amount) {
    const std::string money = MoneyText(amount);
    if (const std::optional<std::string> fill = AmountFill42(label, money)) {
        Add(document, step, Korean1x1, label + *fill + money + "원");
        return;
    }
    Add(document, step, Korean1x1, label);
    Add(document, kContinuationStep, Korean1x1,
        AmountFill42("", money).value_or("") + money + "원");
}

void AddMerchant(stDeviceDocument& document, const stCardReceiptInfo& receipt) {
    Add(document, 0, FontControl, "w");
    Add(document, 1, Korean2x2, kHeavyRule);
    Add(document, 1, FontControl, "x");
    Add(document, 1, Korean2x2, receipt.merchantName);
    Add(document, 1, FontControl, "w");
    Add(document, 1, Korean1x1, "가    맹    점 : " + receipt.merchantName + " ");
    Add(document, 3, Korean1x1,
        "대표자 / 전 화 : " + receipt.representative + " / " + receipt.phone);
    Add(document, 3, Korean1x1, "사 업 자 번 호 : " + BusinessNumberText(receipt.businessNo));
    AddAddress(document, receipt.address);
    Add(document, 1, Korean1x1, kThinRule);
    Add(document, 1, Korean1x1, "일          시 : " + receipt.saleDate);
    Add(document, 3, Korean1x1, "기    기    명 : " + receipt.deviceName);
}

void AddAmounts(stDeviceDocument& document, const stCardReceiptInfo& receipt) {
    Add(document, 1, Korean1x1, kDoubleRule);
    Add(document, 1, Korean1x1, "상    품    명                    금    액");
    Add(document, 1, Korean1x1, kThinRule);
    AddAmount(document, 1, receipt.productName, receipt.amount);
    Add(document, 1, Korean1x1, kThinRule);
    AddAmount(document, 1, "과세금액",
              static_cast<long long>(receipt.amount) - receipt.valueAddedTax);
    AddAmount(document, 3, "부가세", receipt.valueAddedTax);
    Add(document, 1, Korean1x1, kDoubleRule);
    AddAmount(document, 1, "합계", receipt.amount);
    Add(document, 1, Korean1x1, kDoubleRule);
}

void AddCard(stDeviceDocument& document, const stCardReceiptInfo& receipt) {
    Add(document, 1, Korean1x1, "            ** 신용카드 결제 **           ");
    Add(document, 1, Korean1x1, kThinRule);
    Add(document, 1, Korean1x1, "[카 드 번 호]  " + receipt.cardNo);
    Add(document, 3, Korean1x1, "[유 효 기 간]  ** / **");
    Add(document, 3, Korean1x1, "[카  드   명]  " + receipt.cardName);
    Add(document, 3, Korean1x1, "[가맹점 번호]  " + receipt.merchantNo);
    Add(document, 3, Korean1x1, "[결 제 금 액]  " + MoneyText(receipt.amount) + "원");
    Add(document, 3, Korean1x1, "[할 부 개 월]  " + InstallmentText(receipt.installmentMonths));
    Add(document, 3, Korean1x1, "[승 인 번 호]  " + receipt.approvalNo);
    Add(document, 1, Korean2x2, kHeavyRule);
    Add(document, 6, FontControl, "6");
}

}  // namespace

stDeviceDocument Srp330ShopCard(const stShopCardInfo& ticket) {
    stDeviceDocument document{"Print Shopcard", true, {}};
    const std::string paidAt = PrintedTimeText(LocalTimeFromEpoch(ticket.paymentTime));
    Add(document, 0, FontControl, "x");
    Add(document, 1, Korean2x2, ticket.roomName);
    Add(document, 1, FontControl, "w");
    Add(document, 4, Korean1x1, "객실구분 : " + ticket.stayTypeText);
    Add(document, 4, Korean1x1, "객실등급 : " + ticket.roomClassName);
    Add(document, 4, Korean1x1, "결제금액 : " + ticket.amountText);
    Add(document, 4, Korean1x1, "결제일시 : " + paidAt);
    Add(document, 4, Korean1x1, "퇴실일시 : " + ticket.checkOutText);
    Add(document, 1, FontControl, "x");
    Add(document, 4, Korean1x1, "미성년자는 출입할 수 없습니다.");
    Add(document, 4, Korean1x1, ticket.footerText);
    Add(document, 6, FontControl, "6");
    return document;
}

stDeviceDocument Srp330CardReceipt(const stCardReceiptInfo& receipt) {
    stDeviceDocument document{"Print CreditReceipt", false, {}};
    AddMerchant(document, receipt);
    AddAmounts(document, receipt);
    AddCard(document, receipt);
    return document;
}

}  // namespace hx
