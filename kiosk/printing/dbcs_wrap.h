#pragma once
// Wrapping of code page 949 text for the first receipt printer, which
// measures its lines in bytes (one column per byte) and must never get half
// of a two-byte character at the end of a line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

// Where a line of cp949 ends for a line of at most limit bytes: before the
// last two-byte character that starts before the limit, or at the limit (or
// the text's end, when that comes first) when none does. A two-byte character
// at the very start does not count, so a line is never empty and a wrap
// always advances. Expects a limit of at least 2.
size_t CutDbcs(std::string_view cp949, size_t limit);

// The address lines of the card receipt: the first, after its label, holds
// at most 25 bytes; every later line at most 42.
std::vector<std::string> WrapAddress(std::string_view cp949);

}  // namespace hx
