#include "tests/support/test_random.h"

namespace hx {

std::vector<std::uint8_t> CTestRandom::Bytes(std::size_t length, unsigned alphabet) {
    std::vector<std::uint8_t> bytes(length);
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(Next() % alphabet);
    }
    return bytes;
}

std::vector<std::uint8_t> RandomBytes(std::size_t length, std::uint32_t seed) {
    return CTestRandom(seed).Bytes(length);
}

std::uint32_t FreshSeed() {
    return std::random_device{}();
}

}  // namespace hx
