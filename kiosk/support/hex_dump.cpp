#include "kiosk/support/hex_dump.h"

#include <cstdio>

namespace hx {

std::string HexDump(std::span<const uint8_t> bytes) {
    std::string dump;
    dump.reserve(bytes.size() * 3);
    for (const uint8_t byte : bytes) {
        char text[4];
        std::snprintf(text, sizeof text, "%02X ", byte);
        dump += text;
    }
    return dump;
}

}  // namespace hx
