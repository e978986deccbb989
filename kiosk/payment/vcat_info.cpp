#include "kiosk/payment/vcat_info.h"

#include "kiosk/payment/vcat_request.h"

namespace hx {

namespace {

constexpr size_t kKeyAt = 42;
constexpr size_t kKeyLength = 16;
constexpr size_t kIndexAt = 58;
constexpr int kWorkingKeyError = -303;
constexpr int kMasterKeyError = -304;

}  // namespace

std::optional<stParsedVCatInfo> ReadVCatInfo(const VCatFieldReader& read, std::string& whyNot) {
    const std::string code = read(1);
    if (code != kInfoAnswerCode) {
        whyNot = "서비스 유형 맞지 않음:[" + code + "]";
        return std::nullopt;
    }
    stParsedVCatInfo parsed;
    stVCatInfo& i = parsed.info;
    i = {read(13), read(40), read(41), read(42), read(43), read(44), read(45)};
    parsed.logLines = {"단말기 번호: " + i.terminalNo,     "사업자 번호: " + i.businessNo,
                       "가맹점 명  : " + i.merchantName,   "대표자 명  : " + i.representative,
                       "가맹점 전화: " + i.phone,          "가맹점 주소: " + i.address,
                       "단말기 버전: " + i.terminalVersion};
    return parsed;
}

stWorkingKey WorkingKeyOf(const std::string& filler1) {
    stWorkingKey key;
    if (filler1.size() > kKeyAt) {
        key.key = filler1.substr(kKeyAt, kKeyLength);
    }
    if (filler1.size() > kIndexAt) {
        const bool second = filler1[kIndexAt] == '0' && filler1.size() > kIndexAt + 1;
        key.index = std::string(1, filler1[second ? kIndexAt + 1 : kIndexAt]);
    }
    return key;
}

std::string SignFailureLine(int result) {
    if (result == kWorkingKeyError) {
        return "BmpToEncSign Fail. [워킹키 에러]";
    }
    if (result == kMasterKeyError) {
        return "BmpToEncSign Fail. [마스터키 에러]";
    }
    return "BmpToEncSign Fail. [File load Fail]";
}

}  // namespace hx
