// Arbitrary bytes from the network into the block and message reader. The
// first byte picks how they are read; the rest is the wire, or with bit 0x40
// payloads that get valid block headers, so the decoders behind the header
// checks see arbitrary bytes too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "net/block_header.h"
#include "net/byte_order.h"
#include "net/crc32.h"
#include "net/io_memory.h"
#include "net/scramble.h"

namespace hx {

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

// Each record: flags (1 byte), payload length (2 bytes), payload.
std::vector<uint8_t> ForgeBlocks(const uint8_t* data, size_t size) {
    std::vector<uint8_t> wire;
    while (size >= 3) {
        stBlockHeader header;
        header.flags = data[0];
        size_t length = LoadLe16(data + 1) % (size - 2);
        std::vector<uint8_t> payload(data + 3, data + 3 + length);
        data += 3 + length;
        size -= 3 + length;
        header.rawLength = header.payloadLength = static_cast<uint16_t>(length);
        if (header.flags & IOOPT_CHECKSUM) {
            header.payloadCrc = Crc32(payload.data(), payload.size());
        }
        if (header.flags & IOOPT_SCRAMBLE) {
            Scramble(payload.data(), payload.size());
        }
        uint8_t head[kBlockHeaderSize];
        PackBlockHeader(header, head);
        wire.insert(wire.end(), head, head + sizeof head);
        wire.insert(wire.end(), payload.begin(), payload.end());
    }
    return wire;
}

}  // namespace

}  // namespace hx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    if (size < 1) {
        return 0;
    }
    const uint8_t mode = data[0];
    const bool messageMode = (mode & 0x80) != 0;
    CIOMemory in(messageMode ? IOOPT_DEFAULT : IOOPT_DEFAULT & ~IOOPT_MESSAGE);
    if (mode & 0x40) {
        in.AddIncoming(ForgeBlocks(data + 1, size - 1));
    } else {
        in.AddIncoming(data + 1, size - 1);
    }
    if (messageMode) {
        ReadMessages(in);
    } else {
        ReadBlocks(in, 1 + (mode & 0x3F) * 512);
    }
    return 0;
}
