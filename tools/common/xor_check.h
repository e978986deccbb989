#pragma once
// The check byte of the devices' serial frames.

#include <cstdint>
#include <span>

namespace hx {

// XOR of every byte.
uint8_t XorOfBytes(std::span<const uint8_t> bytes);

}  // namespace hx
