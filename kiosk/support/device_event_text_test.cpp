#include "kiosk/support/device_event_text.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(DeviceEventText, ByCodeAndWhetherTheConditionCleared) {
    struct stCase {
        int code;
        bool cleared;
        const char* detail;
        const char* text;
    };
    for (const stCase& c : {
             stCase{2, false, "", "정상 종료"},
             stCase{3, true, "", "서버와 연결 됨"},
             stCase{102, true, "", "도어 닫힘"},
             stCase{206, false, "", "2번 지폐 방출기 지폐 부족"},
             stCase{401, true, "", "VCAT 이상 해결"},
             stCase{402, false, "[05]한도 초과", "신용카드 결제 실패 [05]한도 초과"},
             stCase{402, true, "ErrCode=-1", "신용카드 결제 실패 ErrCode=-1"},
             stCase{505, false, "ignored", "디스펜서 통신 장애 발생"},
             stCase{300, true, "", ""},
             stCase{3000, false, "", ""},
             stCase{-1, false, "", ""},
         }) {
        EXPECT_EQ(DeviceEventText(c.code, c.cleared, c.detail), c.text) << c.code;
    }
}

}  // namespace

}  // namespace hx
