#include "kiosk/support/serial_chunks.h"

#include <vector>

#include "platform/message_loop.h"

namespace hx {

void ReadSerialChunks(CSerial& port, const std::function<void(std::span<const uint8_t>)>& onChunk) {
    PumpMessagesFor(kSerialSettleMs);
    std::vector<uint8_t> burst;
    uint8_t piece[kSerialChunkSize];
    for (;;) {
        DWORD count = 0;
        const bool read =
            port.Read(piece, sizeof piece, &count, kSerialReadTimeoutMs) == ERROR_SUCCESS &&
            count > 0;
        if (read) {
            burst.insert(burst.end(), piece, piece + count);
        }
        const bool more = read && count == kSerialChunkSize;
        if (!more || burst.size() >= kSerialBurstLimit) {
            if (!burst.empty()) {
                onChunk(burst);
            }
            burst.clear();
        }
        if (!more) {
            return;
        }
    }
}

}  // namespace hx
