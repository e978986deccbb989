#include "net/scramble.h"

void Scramble(uint8_t* payload, size_t length) {
    uint8_t key = 0x5C;
    for (size_t i = 0; i < length; ++i) {
        payload[i] ^= key;
        key = static_cast<uint8_t>(~key);
    }
}
