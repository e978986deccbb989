#include "kiosk/records/record_layout.h"

#include <algorithm>

#include "net/byte_order.h"
#include "net/packet_header.h"
#include "platform/fixed_field.h"

namespace hx {

void StoreInt32(std::span<uint8_t> bytes, size_t offset, int32_t value) {
    StoreLe32(bytes.data() + offset, static_cast<uint32_t>(value));
}

int32_t LoadInt32(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<int32_t>(LoadLe32(bytes.data() + offset));
}

void StoreInt64(std::span<uint8_t> bytes, size_t offset, int64_t value) {
    const auto bits = static_cast<uint64_t>(value);
    StoreLe32(bytes.data() + offset, static_cast<uint32_t>(bits));
    StoreLe32(bytes.data() + offset + 4, static_cast<uint32_t>(bits >> 32));
}

int64_t LoadInt64(std::span<const uint8_t> bytes, size_t offset) {
    const uint64_t low = LoadLe32(bytes.data() + offset);
    const uint64_t high = LoadLe32(bytes.data() + offset + 4);
    return static_cast<int64_t>(low | (high << 32));
}

void StoreText(std::span<uint8_t> bytes, size_t offset, size_t width, const std::string& utf8) {
    WriteTextField(bytes.subspan(offset, width), utf8);
}

std::string LoadText(std::span<const uint8_t> bytes, size_t offset, size_t width) {
    return ReadTextField(bytes.subspan(offset, width));
}

bool ClearBody(std::span<uint8_t> packet, size_t size) {
    if (size < kPacketHeaderSize || packet.size() < size) {
        return false;
    }
    std::fill(packet.begin() + kPacketHeaderSize, packet.begin() + size, uint8_t{0});
    return true;
}

std::vector<uint8_t> BuildPacket(uint32_t command, size_t size,
                                 const std::function<bool(std::span<uint8_t>)>& fillBody) {
    std::vector<uint8_t> packet(size);
    if (!InitPacketHeader(packet, static_cast<enumCommand>(command)) || !fillBody(packet)) {
        return {};
    }
    return packet;
}

uint32_t PacketCommand(std::span<const uint8_t> packet) {
    return packet.size() < kPacketHeaderSize ? 0 : LoadLe32(packet.data() + HDR_COMMAND);
}

bool IsPacketOf(std::span<const uint8_t> packet, size_t size,
                std::initializer_list<uint32_t> commands) {
    return packet.size() >= size && packet.size() >= kPacketHeaderSize &&
           std::find(commands.begin(), commands.end(), PacketCommand(packet)) != commands.end();
}

}  // namespace hx
