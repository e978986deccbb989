#include "net/zlib_block.h"

#include <zlib.h>

namespace hx {

long ZlibEncodeBlock(const uint8_t* input, size_t length, uint8_t* out, size_t capacity) {
    if (length < kZlibMinInput) {
        return -1;
    }
    uLongf outLength = capacity;
    if (compress2(out, &outLength, input, length, Z_DEFAULT_COMPRESSION) != Z_OK) {
        return -1;
    }
    return static_cast<long>(outLength);
}

long ZlibDecodeBlock(const uint8_t* coded, size_t length, uint8_t* out, size_t capacity) {
    uLongf outLength = capacity;
    if (uncompress(out, &outLength, coded, length) != Z_OK) {
        return -1;
    }
    return static_cast<long>(outLength);
}

}  // namespace hx
