#pragma once
// Run-length coding of block payloads. A control byte n below 0x80 is followed
// by n literal bytes; a control byte 0x80 + n is followed by one byte standing
// for n copies of itself. Runs are at least 3 long and at most 127.

#include <cstddef>
#include <cstdint>

namespace hx {

// Largest coded size of an input of the given length (one control byte per
// 127 literals).
constexpr size_t RunLengthBound(size_t length) {
    return length + (length + 126) / 127;
}

// Codes input into out, which must hold RunLengthBound(length) bytes; returns
// the coded length.
size_t RunLengthEncode(const uint8_t* input, size_t length, uint8_t* out);

// Decodes into out of the given capacity; returns the number of bytes produced,
// or -1 when the coded form is cut short or would not fit.
long RunLengthDecode(const uint8_t* coded, size_t length, uint8_t* out, size_t capacity);

}  // namespace hx
