#include "kiosk/records/ack_record.h"

#include "kiosk/records/record_layout.h"
#include "net/packet_header.h"

namespace hx {

namespace {

constexpr stInt32Field<stAck> kAckInts[] = {{40, &stAck::result}};
constexpr stLayout<stAck> kAckLayout{kAckInts};

}  // namespace

std::vector<uint8_t> Pack(const stAck& ack) {
    return BuildPacket(ack.command, kAckSize,
                       [&](std::span<uint8_t> packet) { return PackBody(ack, packet); });
}

bool PackBody(const stAck& ack, std::span<uint8_t> packet) {
    return PackMessageBody(kAckLayout, kAckSize, ack, packet);
}

bool Unpack(std::span<const uint8_t> packet, stAck& ack) {
    if (packet.size() < kAckSize) {
        return false;
    }
    ack.command = PacketCommand(packet);
    UnpackFields(kAckLayout, packet, ack);
    return true;
}

}  // namespace hx
