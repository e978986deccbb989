#include "kiosk/support/serial_chunks.h"

#include "platform/message_loop.h"

namespace hx {

void ReadSerialChunks(CSerial& port, const std::function<void(std::span<const uint8_t>)>& onChunk) {
    PumpMessagesFor(kSerialSettleMs);
    uint8_t buffer[kSerialChunkSize];
    for (;;) {
        DWORD count = 0;
        if (port.Read(buffer, sizeof buffer, &count, kSerialReadTimeoutMs) != ERROR_SUCCESS ||
            count == 0) {
            return;
        }
        onChunk(std::span<const uint8_t>(buffer, count));
        if (count < kSerialChunkSize) {
            return;
        }
    }
}

}  // namespace hx
