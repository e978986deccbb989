#pragma once
// Text inside the program is UTF-8; every text that enters or leaves as bytes
// (records, INI and log files, serial lines, printer documents) is code page 949.
// This is the one place that converts between them.

#include <cstddef>
#include <string>
#include <string_view>

namespace hx {

// Both conversions never fail: a character that cannot be converted, or a
// malformed sequence, becomes '?' and the conversion goes on.
std::string Cp949FromUtf8(std::string_view utf8);
std::string Utf8FromCp949(std::string_view cp949);

// Length in bytes (1 or 2) of the CP949 character that starts at text[at]:
// a lead byte 0x81..0xFE followed by a trail byte is one two-byte character.
size_t Cp949CharLength(std::string_view text, size_t at);

// The longest prefix of cp949 that fits in maxBytes without splitting a
// two-byte character.
size_t Cp949PrefixLength(std::string_view cp949, size_t maxBytes);

}  // namespace hx
