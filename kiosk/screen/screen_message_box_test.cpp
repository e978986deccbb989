#include "kiosk/screen/screen_message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kiosk/screen/shockwave_flash.h"

namespace hx {

namespace {

// A server may send a box of any length; each one leaves one line of bounded
// length in the kiosk log, and the line says when the guests were spared it.
TEST(ScreenMessageBox, TheLogKeepsEveryBoxAndSaysWhichTheScreenShowed) {
    const struct {
        std::string caption;
        std::string text;
        std::string logged;
    } cases[] = {
        {"HxKiosk", "Ready!", "메시지 상자 (운영자용, 화면에 표시 안 함) [HxKiosk] Ready!"},
        {"공지", std::string(30000, 'x') + "점검",
         "메시지 상자 [공지] " + std::string(512, 'x') + "...(잘림, 전체 30004바이트)"},
        {std::string(600, 'C'), "점검 중",
         "메시지 상자 [" + std::string(512, 'C') + "...(잘림, 전체 600바이트)] 점검 중"},
    };
    std::vector<std::string> log;
    CShockwaveflash screen([](std::string_view) {});  // not open: shows nothing
    CScreenMessageBox box(screen, [&log](std::string_view line) { log.emplace_back(line); });
    for (const auto& [caption, text, logged] : cases) {
        box.Show(caption, text);
        EXPECT_EQ(log.back(), logged);
    }
    EXPECT_EQ(log.size(), std::size(cases));
}

// The desk's staff write to guests in Korean; what the kiosk and the
// channel say to operators is not for guests.
TEST(ScreenMessageBox, OnlyTheDesksKoreanNoticesAreForGuests) {
    const struct {
        const char* caption;
        const char* text;
        bool forGuests;
    } cases[] = {
        {"안내", "오늘 밤 10시 점검", true},
        {"Notice", "ㅎ", true},                   // jamo count as Korean
        {"HxKiosk", "Ready!", false},             // the start-up answer
        {"서버", "Update 2.1 installed", false},  // English: for whoever installed it
        {"작업 시간 초과",
         "서버로부터 제한시간 동안 응답을 받지 못했습니다.\n\n작업을 재시도 해주시기 바랍니다.",
         false},  // a request of the operator's timed out
        {"", "", false},
        {"안내", "\xEA\xB0", false},  // a sequence cut short
    };
    for (const auto& [caption, text, forGuests] : cases) {
        EXPECT_EQ(IsGuestMessageBox(caption, text), forGuests) << caption << " / " << text;
    }
}

}  // namespace

}  // namespace hx
