#pragma once
// What the motel's operator sets for the customer screen, in
// "INI\Screen.ini", section [Screen]: the phone number guests call for help
// (Phone), the overnight check-out time as HH:MM (CheckoutTime), and the
// notices shown before payment (AgeNotice, RentalHours, SleepHours,
// RefundNotice, HandoutPlace). The page reads them as one JSON document;
// keys that are missing or empty are left out, and the page keeps its
// defaults for them.

#include <filesystem>
#include <string>

namespace hx {

// Where the page asks for the document.
inline constexpr const char* kScreenSettingsPath = "/screen-settings.json";

// The document for the page, from the file as it is now: {"phone": ..., ...}.
std::string ScreenSettingsDocument(const std::filesystem::path& iniFile);

}  // namespace hx
