#pragma once
// Bytes as a technician reads them on a device monitor: "%02X " for each.

#include <cstdint>
#include <span>
#include <string>

namespace hx {

std::string HexDump(std::span<const uint8_t> bytes);

}  // namespace hx
