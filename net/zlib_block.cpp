#include "net/zlib_block.h"

#include <libdeflate.h>

namespace hx {

namespace {

// The lowest level that codes a page of the room list at least as small as
// zlib's default level does (level 6 here comes out a little larger), at a
// small fraction of zlib's time.
constexpr int kCompressionLevel = 7;

}  // namespace

CZlibEncoder::~CZlibEncoder() {
    libdeflate_free_compressor(m_compressor);
}

long CZlibEncoder::Encode(const uint8_t* input, size_t length, uint8_t* out, size_t capacity) {
    if (length < kZlibMinInput) {
        return -1;
    }
    if (m_compressor == nullptr) {
        m_compressor = libdeflate_alloc_compressor(kCompressionLevel);
        if (m_compressor == nullptr) {
            return -1;
        }
    }
    size_t coded = libdeflate_zlib_compress(m_compressor, input, length, out, capacity);
    return coded == 0 ? -1 : static_cast<long>(coded);
}

CZlibDecoder::~CZlibDecoder() {
    libdeflate_free_decompressor(m_decompressor);
}

long CZlibDecoder::Decode(const uint8_t* coded, size_t length, uint8_t* out, size_t capacity) {
    if (m_decompressor == nullptr) {
        m_decompressor = libdeflate_alloc_decompressor();
        if (m_decompressor == nullptr) {
            return -1;
        }
    }
    size_t decoded = 0;
    if (libdeflate_zlib_decompress(m_decompressor, coded, length, out, capacity, &decoded) !=
        LIBDEFLATE_SUCCESS) {
        return -1;
    }
    return static_cast<long>(decoded);
}

}  // namespace hx
