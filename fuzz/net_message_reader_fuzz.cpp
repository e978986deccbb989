// Arbitrary bytes from the network into the block and message reader. The
// first byte picks how they are read; the rest is the wire.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "net/io_memory.h"

namespace {

void ReadMessages(CIOMemory& in) {
    uint8_t* message = nullptr;
    int length = 0;
    while (in.Receive(&message, &length) == IO_OK) {
        if (message[length] != 0) {
            std::abort();
        }
        FreeReceiveBuffer(message);
    }
    if (message != nullptr) {
        std::abort();  // a failed receive must not hand out a buffer
    }
}

void ReadBlocks(CIOMemory& in, size_t chunk) {
    std::vector<uint8_t> buffer(chunk);
    while (in.Receive(buffer.data(), static_cast<int>(chunk)) == IO_OK) {
        const uint8_t* rest = nullptr;
        int left = 0;
        if (in.ReadReady() > 0 && in.GetReceiveBuff(&rest, &left) == 1 && left > 0) {
            volatile uint8_t last = rest[left - 1];
            (void)last;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const uint8_t mode = data[0];
    const bool messageMode = (mode & 0x80) != 0;
    CIOMemory in(messageMode ? IOOPT_DEFAULT : IOOPT_DEFAULT & ~IOOPT_MESSAGE);
    in.AddIncoming(data + 1, size - 1);
    if (messageMode) {
        ReadMessages(in);
    } else {
        ReadBlocks(in, 1 + (mode & 0x7F) * 512);
    }
    return 0;
}
