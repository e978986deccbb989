#include "kiosk/payment/credit_answer.h"

#include <charconv>

#include "kiosk/payment/vcat_request.h"

namespace hx {

namespace {

constexpr size_t kIssuerCodeLength = 4;
constexpr size_t kCardGroup = 4;

// Plain decimal conversion: the leading number, 0 when there is none.
int DecimalOf(const std::string& text) {
    int value = 0;
    const char* begin = text.data();
    while (begin != text.data() + text.size() && *begin == ' ') {
        ++begin;
    }
    std::from_chars(begin, text.data() + text.size(), value);
    return value;
}

std::string Part(const std::string& text, size_t at, size_t length) {
    return at < text.size() ? text.substr(at, length) : std::string();
}

// Bytes of the first `count` characters of UTF-8 text (a continuation byte
// is 10xxxxxx), so a Korean character is never cut.
size_t CharactersLength(const std::string& text, size_t count) {
    size_t at = 0;
    while (at < text.size() && count > 0) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
            ++at;
        }
        --count;
    }
    return at;
}

}  // namespace

std::string FormatCardNumber(const std::string& digits) {
    return Part(digits, 0, kCardGroup) + "-" + Part(digits, 4, kCardGroup) + "-" +
           Part(digits, 8, kCardGroup) + "-" + Part(digits, 12, kCardGroup);
}

std::optional<stParsedCreditAnswer> ReadCreditAnswer(const VCatFieldReader& read) {
    const std::string code = read(1);
    if (code != kApprovalAnswerCode && code != kCancelAnswerCode) {
        return std::nullopt;
    }
    const std::string amount = read(4);
    const std::string installment = read(7);
    const std::string issuer = read(14);
    stParsedCreditAnswer parsed;
    stCreditAnswer& a = parsed.answer;
    a.messageCode = code;
    a.cardNo = FormatCardNumber(read(3));
    a.amount = DecimalOf(amount);
    a.installmentMonths = DecimalOf(installment);
    a.approvalNo = read(8);
    a.saleDate = read(9);
    a.saleTime = read(10);
    a.merchantNo = read(12);
    a.terminalNo = read(13);
    const size_t codeLength = CharactersLength(issuer, kIssuerCodeLength);
    a.issuerCode = issuer.substr(0, codeLength);
    a.issuerName = issuer.substr(codeLength);
    a.acquirer = read(15);
    a.responseCode = read(17);
    a.screenMessage = read(18);
    a.printMessage = read(20);
    parsed.logLines = {code == kApprovalAnswerCode ? "신용 승인 응답" : "신용 취소승인 응답",
                       "응답코드   : " + a.responseCode,
                       "승인금액   : " + amount,
                       "할부개월   : " + installment,
                       "단말기 번호: " + a.terminalNo,
                       "매출일자   : " + a.saleDate,
                       "매출시간   : " + a.saleTime,
                       "발급사     : " + issuer,
                       "매입사     : " + a.acquirer,
                       "가맹점번호 : " + a.merchantNo,
                       "승인번호   : " + a.approvalNo,
                       "화면메시지 : " + a.screenMessage,
                       "출력메시지 : " + a.printMessage};
    return parsed;
}

bool IsApprovedPayment(const stCreditAnswer& answer) {
    return answer.messageCode == kApprovalAnswerCode && answer.responseCode == "00" &&
           !answer.approvalNo.empty();
}

stCardApproval CardApprovalOf(const stCreditAnswer& answer) {
    stCardApproval approval;
    approval.terminalNo = answer.terminalNo;
    approval.saleDate = answer.saleDate;
    approval.saleTime = answer.saleTime;
    approval.issuerCode = answer.issuerCode;
    approval.issuerName = answer.issuerName;
    approval.acquirer = answer.acquirer;
    approval.merchantNo = answer.merchantNo;
    approval.cardNo = answer.cardNo;
    approval.approvalNo = answer.approvalNo;
    approval.spare = answer.spare;
    approval.amount = answer.amount;
    approval.installmentMonths = answer.installmentMonths;
    return approval;
}

}  // namespace hx
