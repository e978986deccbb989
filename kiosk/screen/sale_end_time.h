#pragma once
// The end of a sold stay as the server's sale answer gives it: a local time
// "YYYY-MM-DD HH:MM:SS" read by position.

#include <cstdint>
#include <optional>
#include <string_view>

namespace hx {

// Seconds since 1970; none when a field is not digits or not a time.
std::optional<int64_t> ParseSaleEndTime(std::string_view text);

}  // namespace hx
