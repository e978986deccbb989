#include "kiosk/screen/screen_message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kiosk/screen/shockwave_flash.h"

namespace hx {

namespace {

// A server may send a box of any length; each one leaves one line of bounded
// length in the kiosk log.
TEST(ScreenMessageBox, TheLogKeepsTheStartOfALongCaptionOrText) {
    const struct {
        std::string caption;
        std::string text;
        std::string logged;
    } cases[] = {
        {"HxKiosk", "Ready!", "메시지 상자 [HxKiosk] Ready!"},
        {"공지", std::string(30000, 'x'),
         "메시지 상자 [공지] " + std::string(512, 'x') + "...(잘림, 전체 30000바이트)"},
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

}  // namespace

}  // namespace hx
