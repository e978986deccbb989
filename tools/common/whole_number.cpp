#include "tools/common/whole_number.h"

#include <charconv>

namespace hx {

bool ParseWholeNumber(std::string_view text, int64_t low, int64_t high, int64_t& value) {
    int64_t parsed = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error != std::errc() || stop != end || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

std::optional<int> ParseBoundedInt(std::string_view text, int low, int high) {
    int64_t value = 0;
    if (!ParseWholeNumber(text, low, high, value)) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

}  // namespace hx
