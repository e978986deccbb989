#pragma once
// One-shot zlib coding of a whole block payload.

#include <cstddef>
#include <cstdint>

namespace hx {

// Blocks shorter than this are never zlib-coded: the stream overhead would eat
// any gain.
inline constexpr size_t kZlibMinInput = 32;

// Codes input at the default level into out of the given capacity; returns the
// coded length, or -1 when the input is too short or the coding fails.
long ZlibEncodeBlock(const uint8_t* input, size_t length, uint8_t* out, size_t capacity);

// Decodes a complete zlib stream into out; returns the decoded length, or -1
// when the stream is damaged, incomplete or would not fit.
long ZlibDecodeBlock(const uint8_t* coded, size_t length, uint8_t* out, size_t capacity);

}  // namespace hx
