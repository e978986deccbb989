#include "kiosk/support/device_event_text.h"

#include <algorithm>
#include <iterator>

namespace hx {

namespace {

struct stEventTexts {
    int code;
    const char* occurred;
    const char* cleared;
};

constexpr stEventTexts kTexts[] = {
    {EVENT_NORMAL_END, "정상 종료", "서버와 연결 됨"},
    {EVENT_ABNORMAL_END, "비 정상 종료", "서버와 연결 됨"},
    {EVENT_BOARD_LINK, "컨트롤 보드 연결 실패", "컨트롤 보드 연결 실패 해결"},
    {EVENT_DOOR_OPEN, "도어 열림", "도어 닫힘"},
    {EVENT_BILL_ACCEPTOR, "1번 지폐 투입기 이상", "1번 지폐 투입기 이상 해결"},
    {EVENT_BILL_DISPENSER1, "1번 지폐 방출기 이상", "1번 지폐 방출기 이상 해결"},
    {EVENT_BILL_DISPENSER1_LOW, "1번 지폐 방출기 지폐 부족", "1번 지폐 방출기 지폐 부족 해결"},
    {204, "2번 지폐 투입기 이상", "2번 지폐 투입기 이상 해결"},
    {EVENT_BILL_DISPENSER2, "2번 지폐 방출기 이상", "2번 지폐 방출기 이상 해결"},
    {EVENT_BILL_DISPENSER2_LOW, "2번 지폐 방출기 지폐 부족", "2번 지폐 방출기 지폐 부족 해결"},
    {301, "프린터 연결 안됨", "프린터 연결 안됨 해결"},
    {302, "프린터 용지 부족", "프린터 용지 부족 해결"},
    {303, "프린터 용지 걸림", "프린터 용지 걸림 해결"},
    {EVENT_CARD_TERMINAL, "VCAT 이상", "VCAT 이상 해결"},
    {501, "디스펜서 이상 발생", "디스펜서 이상 해결"},
    {502, "디스펜서 카드 부족", "디스펜서 카드 부족 해결"},
    {503, "디스펜서 카드 잡힘", "디스펜서 카드 잡힘 해결"},
    {504, "디스펜서 카드 걸림", "디스펜서 카드 걸림 해결"},
    {505, "디스펜서 통신 장애 발생", "디스펜서 통신 장애 해결"},
};

}  // namespace

std::string DeviceEventText(int code, bool cleared, std::string_view detail) {
    if (code == EVENT_CARD_PAYMENT_FAILED) {
        return "신용카드 결제 실패 " + std::string(detail);
    }
    if (code == EVENT_OPEN_MONEY || code == EVENT_MONEY_BREAK) {
        return (code == EVENT_OPEN_MONEY ? "미정산 현금 " : "현금 장부 불일치 ") +
               std::string(detail);
    }
    const auto* found =
        std::find_if(std::begin(kTexts), std::end(kTexts),
                     [code](const stEventTexts& texts) { return texts.code == code; });
    if (found == std::end(kTexts)) {
        return {};
    }
    return cleared ? found->cleared : found->occurred;
}

}  // namespace hx
