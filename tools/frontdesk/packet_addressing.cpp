#include "tools/frontdesk/packet_addressing.h"

namespace hx {

namespace {

void SetAddressee(std::span<uint8_t> packet, uint32_t clientKey, uint32_t sequence,
                  uint32_t serviceKey) {
    stHeader header = UnpackHeader(packet);
    header.addresseeClientKey = clientKey;
    header.addresseeSequence = sequence;
    header.serviceKey = serviceKey;
    PackHeader(header, packet);
}

}  // namespace

bool AddressAnswer(const stHeader& request, std::span<uint8_t> packet) {
    if (packet.size() < kPacketHeaderSize) {
        return false;
    }
    SetAddressee(packet, request.senderClientKey, request.senderSequence, request.serviceKey);
    return true;
}

bool AddressUnsolicited(uint32_t clientKey, std::span<uint8_t> packet) {
    if (packet.size() < kPacketHeaderSize) {
        return false;
    }
    SetAddressee(packet, clientKey, 0, 0);
    if (UnpackHeader(packet).command != CMD_CONTAINER) {
        return true;
    }
    // Walked as the kiosk walks it: a packet that does not fit ends the walk.
    std::span<uint8_t> rest = packet.subspan(kPacketHeaderSize);
    while (rest.size() >= kPacketHeaderSize) {
        const stHeader inner = UnpackHeader(rest);
        if (inner.size < kPacketHeaderSize || inner.size > rest.size() ||
            inner.magic != kPacketMagic) {
            break;
        }
        SetAddressee(rest, clientKey, 0, 0);
        rest = rest.subspan(inner.size);
    }
    return true;
}

}  // namespace hx
