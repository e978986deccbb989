#pragma once
// The money page of the service view (/service/money on the screen's
// server): today's money journal and its check, as hxmoney prints them.
// Read from the journal file on each request, on the server's thread, so it
// shares nothing with the kiosk window.

#include <string>
#include <string_view>

namespace hx {

// The page's HTML; `day` is "YYYY-MM-DD", today when empty.
std::string MoneyServicePage(std::string_view day = {});

}  // namespace hx
