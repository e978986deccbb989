#include "net/scramble.h"

#include <cstring>

namespace hx {

namespace {

constexpr uint8_t kKey = 0x5C;

}  // namespace

void Scramble(uint8_t* payload, size_t length) {
    // The key alternates 0x5C, 0xA3 by byte position, so eight bytes at a time
    // take one fixed pattern.
    uint8_t patternBytes[8];
    for (size_t i = 0; i < sizeof patternBytes; ++i) {
        patternBytes[i] = i % 2 == 0 ? kKey : static_cast<uint8_t>(~kKey);
    }
    uint64_t pattern;
    std::memcpy(&pattern, patternBytes, sizeof pattern);
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word;
        std::memcpy(&word, payload + i, sizeof word);
        word ^= pattern;
        std::memcpy(payload + i, &word, sizeof word);
    }
    for (; i < length; ++i) {
        payload[i] ^= patternBytes[i % 2];
    }
}

}  // namespace hx
