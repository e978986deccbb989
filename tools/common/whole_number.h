#pragma once
// Whole numbers typed by a person or written in a tool's files: decimal,
// within a range, with nothing else around them.

#include <cstdint>
#include <optional>
#include <string_view>

namespace hx {

bool ParseWholeNumber(std::string_view text, int64_t low, int64_t high, int64_t& value);
// The same for an int; nullopt otherwise.
std::optional<int> ParseBoundedInt(std::string_view text, int low, int high);

}  // namespace hx
