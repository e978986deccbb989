#include "tools/common/xor_check.h"

namespace hx {

uint8_t XorOfBytes(std::span<const uint8_t> bytes) {
    uint8_t result = 0;
    for (const uint8_t byte : bytes) {
        result ^= byte;
    }
    return result;
}

}  // namespace hx
