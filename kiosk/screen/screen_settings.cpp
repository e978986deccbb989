#include "kiosk/screen/screen_settings.h"

#include <nlohmann/json.hpp>

#include "platform/ini_file.h"

namespace hx {

namespace {

constexpr const char* kSection = "Screen";
// Notices are sentences; the INI reader's usual buffer would cut them.
constexpr size_t kValueBytes = 4096;

struct stScreenKey {
    const char* iniKey;
    const char* pageKey;
};

constexpr stScreenKey kKeys[] = {
    {"Phone", "phone"},
    {"CheckoutTime", "checkoutTime"},
    {"AgeNotice", "ageNotice"},
    {"RentalHours", "rentalHours"},
    {"SleepHours", "sleepHours"},
    {"RefundNotice", "refundNotice"},
    {"HandoutPlace", "handoutPlace"},
};

}  // namespace

std::string ScreenSettingsDocument(const std::filesystem::path& iniFile) {
    nlohmann::json document = nlohmann::json::object();
    for (const stScreenKey& key : kKeys) {
        const std::string value =
            GetPrivateProfileString(kSection, key.iniKey, "", iniFile, kValueBytes);
        if (!value.empty()) {
            document[key.pageKey] = value;
        }
    }
    // A byte the CP949 reader could not make sense of must not stop the page
    // from getting the rest.
    return document.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace hx
