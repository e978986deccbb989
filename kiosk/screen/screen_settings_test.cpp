#include "kiosk/screen/screen_settings.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/cp949.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

// The operator writes the file in the kiosk's code page, by hand; the page
// gets what was set, in UTF-8, and nothing for what was not.
TEST(ScreenSettings, ThePageGetsWhatTheOperatorSetAndNothingElse) {
    const struct {
        const char* fileText;  // UTF-8 here, CP949 on disk
        const char* document;
    } cases[] = {
        {"", "{}"},
        {"[Screen]\r\nPhone = 010-1234-5678\r\nCheckoutTime=11:00\r\nAgeNotice=\r\n",
         R"({"checkoutTime":"11:00","phone":"010-1234-5678"})"},
        {"[screen]\r\nrefundnotice=\"환불은 프런트에 문의해 주세요.\"\r\nHandoutPlace=오른쪽 "
         "배출구\r\n[Other]\r\nPhone=1\r\n",
         R"({"handoutPlace":"오른쪽 배출구","refundNotice":"환불은 프런트에 문의해 주세요."})"},
        {"[Screen]\r\nSleepHours=<b>\"&\"</b>\r\nRentalHours=대실은 10시부터 22시까지\r\n",
         R"({"rentalHours":"대실은 10시부터 22시까지","sleepHours":"<b>\"&\"</b>"})"},
    };
    const CTempFolder folder("hxscreen");
    const std::filesystem::path file = folder.Path() / "Screen.ini";
    EXPECT_EQ(ScreenSettingsDocument(file), "{}");  // no file at all
    for (const auto& [fileText, document] : cases) {
        WriteWholeFile(file, Cp949FromUtf8(fileText));
        EXPECT_EQ(nlohmann::json::parse(ScreenSettingsDocument(file)),
                  nlohmann::json::parse(document))
            << fileText;
    }
}

}  // namespace

}  // namespace hx
