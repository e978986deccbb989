#include "tools/frontdesk/server_packets.h"

#include <span>

#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/list_page_records.h"
#include "net/byte_order.h"
#include "net/packet_header.h"
#include "platform/cp949.h"
#include "platform/fixed_field.h"

namespace hx {

namespace {

Bytes HeaderOnly(uint32_t command, size_t size) {
    Bytes packet(size);
    InitPacketHeader(packet, static_cast<enumCommand>(command));
    return packet;
}

}  // namespace

Bytes BuildHandshakeRefusal() {
    return HeaderOnly(CMD_HANDSHAKE_REFUSED, kPacketHeaderSize);
}

Bytes BuildMessageBox(const std::string& caption, const std::string& text) {
    const std::string cp949 = Cp949FromUtf8(text);
    const size_t length = Cp949PrefixLength(cp949, kMessageBoxTextLimit);
    Bytes packet = HeaderOnly(CMD_MESSAGE_BOX, kMessageBoxTextOffset + length + 1);
    WriteTextField(std::span(packet).subspan(kMessageBoxCaptionOffset, kMessageBoxCaptionSize),
                   caption);
    std::copy(cp949.begin(), cp949.begin() + static_cast<std::ptrdiff_t>(length),
              packet.begin() + kMessageBoxTextOffset);
    return packet;
}

Bytes BuildContainer(const std::vector<Bytes>& packets) {
    Bytes container = HeaderOnly(CMD_CONTAINER, kPacketHeaderSize);
    for (const Bytes& packet : packets) {
        container.insert(container.end(), packet.begin(), packet.end());
    }
    StoreLe32(container.data() + HDR_SIZE, static_cast<uint32_t>(container.size()));
    return container;
}

Bytes BuildTruncatedPacket() {
    Bytes packet = HeaderOnly(CMD_ROOM_LIST, 100);
    StoreLe32(packet.data() + HDR_SIZE, static_cast<uint32_t>(kRoomPageSize));
    return packet;
}

}  // namespace hx
