#include "channel/net_channel_container.h"

#include "net/byte_order.h"
#include "net/packet_header.h"

namespace hx {

stContainerWalk WalkContainer(std::span<const uint8_t> container,
                              const std::function<void(std::span<const uint8_t>)>& deliver) {
    stContainerWalk walk;
    if (container.size() < kPacketHeaderSize) {
        walk.dropped = container.size();
        return walk;
    }
    std::span<const uint8_t> rest = container.subspan(kPacketHeaderSize);
    // A short tail is not read as a header: it would reach past the message.
    while (rest.size() >= kPacketHeaderSize) {
        const uint32_t size = LoadLe32(&rest[HDR_SIZE]);
        if (size < kPacketHeaderSize || size > rest.size() ||
            LoadLe32(&rest[HDR_MAGIC]) != kPacketMagic) {
            break;
        }
        deliver(rest.first(size));
        ++walk.delivered;
        rest = rest.subspan(size);
    }
    walk.dropped = rest.size();
    return walk;
}

}  // namespace hx
