#pragma once
// CRC-32 by folding 64-byte stripes with carry-less multiplication (x86
// PCLMULQDQ). Only call Crc32Clmul when Crc32ClmulSupported() says so.

#include <cstddef>
#include <cstdint>

namespace hx {

bool Crc32ClmulSupported();
uint32_t Crc32Clmul(const uint8_t* data, size_t length, uint32_t crc);

// The same folding four lanes per instruction on 512-bit registers (AVX-512
// with VPCLMULQDQ). Only call Crc32WideClmul when Crc32WideClmulSupported()
// says so.
bool Crc32WideClmulSupported();
uint32_t Crc32WideClmul(const uint8_t* data, size_t length, uint32_t crc);

}  // namespace hx
