#include "tools/frontdesk/desk_packets.h"

#include "kiosk/records/config_records.h"
#include "kiosk/records/kiosk_command.h"
#include "net/packet_header.h"
#include "tools/frontdesk/list_pages.h"

namespace hx {

std::vector<Bytes> BuildClassListPackets(const stScenario& scenario) {
    return BuildClassPages(scenario.classes);
}

std::vector<Bytes> BuildRoomListPackets(const stScenario& scenario) {
    return BuildRoomPages(scenario.rooms);
}

std::vector<Bytes> BuildListPackets(const stScenario& scenario) {
    std::vector<Bytes> packets = BuildClassListPackets(scenario);
    for (Bytes& page : BuildRoomListPackets(scenario)) {
        packets.push_back(std::move(page));
    }
    return packets;
}

Bytes BuildConfigPacket(const stScenario& scenario) {
    return Pack(scenario.config);
}

Bytes BuildOptionsPacket(const stScenario& scenario) {
    return Pack(scenario.options);
}

Bytes BuildSingleRoomPacket(const stRoom4Kiosk& room, uint32_t command) {
    return Pack(stSingleRoom{command, room});
}

std::vector<Bytes> BuildPictureIndexPackets(const CPictureLibrary& pictures) {
    const std::string index = pictures.BuildIndex();
    return BuildFileChunkPackets(
        CMD_ROOM_IMAGES_INI, 0,
        std::span(reinterpret_cast<const uint8_t*>(index.data()), index.size()));
}

std::vector<Bytes> BuildWelcomePackets(const stDeskState& state) {
    std::vector<Bytes> packets = BuildListPackets(state.scenario);
    packets.push_back(BuildConfigPacket(state.scenario));
    packets.push_back(BuildOptionsPacket(state.scenario));
    if (state.scenario.sendPicturesOnConnect) {
        for (Bytes& chunk : BuildPictureIndexPackets(state.pictures)) {
            packets.push_back(std::move(chunk));
        }
    }
    return packets;
}

Bytes BuildClearLoadingPacket() {
    Bytes packet(kPacketHeaderSize);
    InitPacketHeader(packet, static_cast<enumCommand>(CMD_CLEAR_LOADING));
    return packet;
}

}  // namespace hx
