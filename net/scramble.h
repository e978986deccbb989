#pragma once
// Payload scrambling: every byte is XORed with a key that starts at 0x5C for
// the first byte of a block and is inverted after each byte. Applying it twice
// restores the payload.

#include <cstddef>
#include <cstdint>

namespace hx {

void Scramble(uint8_t* payload, size_t length);

}  // namespace hx
