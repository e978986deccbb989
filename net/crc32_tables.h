#pragma once
// Lookup tables of the CRC-32, built once per process on first use.

#include <cstdint>

namespace hx {

inline constexpr uint32_t kCrc32Polynomial = 0x04C11DB7;

// Table k, entry i: the CRC of byte i followed by k zero bytes. Table 0 is the
// classic byte table.
using Crc32Table = uint32_t[8][256];
const Crc32Table& GetCrc32Tables();

// x^n mod the polynomial, for folding constants.
constexpr uint32_t Crc32PowerOfX(unsigned n) {
    uint32_t r = 1;
    for (unsigned i = 0; i < n; ++i) {
        r = (r & 0x80000000u) ? (r << 1) ^ kCrc32Polynomial : r << 1;
    }
    return r;
}

}  // namespace hx
