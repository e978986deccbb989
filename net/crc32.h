#pragma once
// CRC-32 of the wire format: polynomial 0x04C11DB7, most significant bit first,
// initial value 0, no reflection, no final inversion. "123456789" gives
// 0x89A1897F. Passing a previous result as crc continues a computation.

#include <cstddef>
#include <cstdint>

namespace hx {

// The fastest kernel this processor has; the result never depends on which.
uint32_t Crc32(const void* data, size_t length, uint32_t crc = 0);

// One table lookup per byte: the reference every other kernel must match.
uint32_t Crc32Bytewise(const void* data, size_t length, uint32_t crc = 0);

// Eight bytes per step from eight tables; the portable fallback.
uint32_t Crc32Sliced(const void* data, size_t length, uint32_t crc = 0);

// Whether Crc32 runs on carry-less multiplication.
bool Crc32UsesClmul();

}  // namespace hx
