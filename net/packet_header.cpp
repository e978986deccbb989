#include "net/packet_header.h"

#include <algorithm>

#include "net/byte_order.h"

namespace hx {

stHeader UnpackHeader(std::span<const uint8_t> packet) {
    const uint8_t* p = packet.data();
    stHeader header;
    header.command = LoadLe32(p + HDR_COMMAND);
    header.size = LoadLe32(p + HDR_SIZE);
    header.senderClientKey = LoadLe32(p + HDR_SENDER_CLIENT_KEY);
    header.senderSequence = LoadLe32(p + HDR_SENDER_SEQUENCE);
    header.addresseeClientKey = LoadLe32(p + HDR_ADDRESSEE_CLIENT_KEY);
    header.addresseeSequence = LoadLe32(p + HDR_ADDRESSEE_SEQUENCE);
    header.serviceKey = LoadLe32(p + HDR_SERVICE_KEY);
    header.uniqueNo = LoadLe32(p + HDR_UNIQUE_NO);
    header.magic = LoadLe32(p + HDR_MAGIC);
    return header;
}

void PackHeader(const stHeader& header, std::span<uint8_t> packet) {
    uint8_t* p = packet.data();
    StoreLe32(p + HDR_COMMAND, header.command);
    StoreLe32(p + HDR_SIZE, header.size);
    StoreLe32(p + HDR_SENDER_CLIENT_KEY, header.senderClientKey);
    StoreLe32(p + HDR_SENDER_SEQUENCE, header.senderSequence);
    StoreLe32(p + HDR_ADDRESSEE_CLIENT_KEY, header.addresseeClientKey);
    StoreLe32(p + HDR_ADDRESSEE_SEQUENCE, header.addresseeSequence);
    StoreLe32(p + HDR_SERVICE_KEY, header.serviceKey);
    StoreLe32(p + HDR_UNIQUE_NO, header.uniqueNo);
    StoreLe32(p + HDR_MAGIC, header.magic);
}

bool InitPacketHeader(std::span<uint8_t> packet, enumCommand command, packet_result /*result*/) {
    if (packet.size() < kPacketHeaderSize) {
        return false;
    }
    std::fill(packet.begin(), packet.end(), uint8_t{0});
    stHeader header;
    header.command = command;
    header.size = static_cast<uint32_t>(packet.size());
    header.magic = kPacketMagic;
    PackHeader(header, packet);
    return true;
}

const char* GetCommandString(enumCommand /*command*/) {
    return "?";
}

void Log(const char* /*text*/) {}

}  // namespace hx
