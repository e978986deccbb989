#pragma once
// How the kiosk reads a device that has said it sent something: it lets
// the rest of the burst arrive (pumping the loop for 40 ms), then reads in
// pieces of up to 100 bytes while whole pieces come, and hands what it read
// over as one chunk, so that a record is never cut at the edge of a piece.
// A burst longer than kSerialBurstLimit is handed over in chunks of that size.

#include <cstdint>
#include <functional>
#include <span>

#include "platform/serial.h"

namespace hx {

inline constexpr uint32_t kSerialSettleMs = 40;
inline constexpr size_t kSerialChunkSize = 100;
inline constexpr size_t kSerialBurstLimit = 4096;
inline constexpr DWORD kSerialReadTimeoutMs = 100;

void ReadSerialChunks(CSerial& port, const std::function<void(std::span<const uint8_t>)>& onChunk);

}  // namespace hx
