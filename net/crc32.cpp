#include "net/crc32.h"

#include "net/byte_order.h"
#include "net/crc32_clmul.h"
#include "net/crc32_tables.h"

namespace hx {

namespace {

using CrcKernel = uint32_t (*)(const uint8_t*, size_t, uint32_t);

uint32_t SlicedKernel(const uint8_t* p, size_t length, uint32_t crc) {
    return Crc32Sliced(p, length, crc);
}

CrcKernel ChooseKernel() {
    if (Crc32WideClmulSupported()) {
        return Crc32WideClmul;
    }
    return Crc32ClmulSupported() ? Crc32Clmul : SlicedKernel;
}

CrcKernel Kernel() {
    static const CrcKernel kernel = ChooseKernel();
    return kernel;
}

}  // namespace

uint32_t Crc32(const void* data, size_t length, uint32_t crc) {
    return Kernel()(static_cast<const uint8_t*>(data), length, crc);
}

uint32_t Crc32Bytewise(const void* data, size_t length, uint32_t crc) {
    const uint32_t* table = GetCrc32Tables()[0];
    const uint8_t* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < length; ++i) {
        crc = (crc << 8) ^ table[(crc >> 24) ^ p[i]];
    }
    return crc;
}

uint32_t Crc32Sliced(const void* data, size_t length, uint32_t crc) {
    const Crc32Table& t = GetCrc32Tables();
    const uint8_t* p = static_cast<const uint8_t*>(data);
    for (; length >= 8; p += 8, length -= 8) {
        uint32_t high = crc ^ LoadBe32(p);
        uint32_t low = LoadBe32(p + 4);
        crc = t[7][high >> 24] ^ t[6][(high >> 16) & 0xFF] ^ t[5][(high >> 8) & 0xFF] ^
              t[4][high & 0xFF] ^ t[3][low >> 24] ^ t[2][(low >> 16) & 0xFF] ^
              t[1][(low >> 8) & 0xFF] ^ t[0][low & 0xFF];
    }
    return Crc32Bytewise(p, length, crc);
}

bool Crc32UsesClmul() {
    return Kernel() != SlicedKernel;
}

}  // namespace hx
