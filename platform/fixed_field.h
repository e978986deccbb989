#pragma once
// Fixed-size text fields of records: zero-terminated CP949 text, cut to fit.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace hx {

// Converts utf8 to CP949 and copies at most field.size() - 1 bytes, never
// splitting a two-byte character; the rest of the field is zero-filled, so
// the text is always terminated. An empty field is left alone.
void WriteTextField(std::span<uint8_t> field, std::string_view utf8);
void WriteTextField(char* field, size_t size, std::string_view utf8);

// The text up to the first zero byte, or the whole field when it holds none,
// converted to UTF-8.
std::string ReadTextField(std::span<const uint8_t> field);
std::string ReadTextField(const char* field, size_t size);

}  // namespace hx
