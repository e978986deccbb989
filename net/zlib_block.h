#pragma once
// zlib-format coding of a whole block payload. Each coder keeps its working
// state for its lifetime: a compressor's tables are far larger than a block,
// and setting them up per block used to cost more than the coding itself.

#include <cstddef>
#include <cstdint>

struct libdeflate_compressor;
struct libdeflate_decompressor;

namespace hx {

// Blocks shorter than this are never zlib-coded: the stream overhead would eat
// any gain.
inline constexpr size_t kZlibMinInput = 32;

class CZlibEncoder {
public:
    CZlibEncoder() = default;
    ~CZlibEncoder();
    CZlibEncoder(const CZlibEncoder&) = delete;
    CZlibEncoder& operator=(const CZlibEncoder&) = delete;

    // Codes input into out of the given capacity as one zlib stream any zlib
    // reader takes; returns the coded length, or -1 when the input is too
    // short or the coding does not fit.
    long Encode(const uint8_t* input, size_t length, uint8_t* out, size_t capacity);

private:
    libdeflate_compressor* m_compressor = nullptr;  // made on first use
};

class CZlibDecoder {
public:
    CZlibDecoder() = default;
    ~CZlibDecoder();
    CZlibDecoder(const CZlibDecoder&) = delete;
    CZlibDecoder& operator=(const CZlibDecoder&) = delete;

    // Decodes a complete zlib stream into out; returns the decoded length, or
    // -1 when the stream is damaged, incomplete or would not fit.
    long Decode(const uint8_t* coded, size_t length, uint8_t* out, size_t capacity);

private:
    libdeflate_decompressor* m_decompressor = nullptr;  // made on first use
};

}  // namespace hx
