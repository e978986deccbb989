#include "kiosk/records/room_records.h"

#include "kiosk/records/record_layout.h"
#include "net/packet_header.h"

namespace hx {

namespace {

constexpr stInt32Field<stRoom4Kiosk> kRoomInts[] = {
    {0, &stRoom4Kiosk::operation},   {4, &stRoom4Kiosk::roomNo},
    {8, &stRoom4Kiosk::classId},     {12, &stRoom4Kiosk::state},
    {16, &stRoom4Kiosk::lockGroup},  {20, &stRoom4Kiosk::displayMode},
    {24, &stRoom4Kiosk::firstPrice}, {28, &stRoom4Kiosk::secondPrice},
    {112, &stRoom4Kiosk::lockNo},
};
constexpr stInt64Field<stRoom4Kiosk> kRoomTimes[] = {{32, &stRoom4Kiosk::serverStamp}};
constexpr stTextField<stRoom4Kiosk> kRoomTexts[] = {
    {40, 64, &stRoom4Kiosk::name},
    {104, 8, &stRoom4Kiosk::rentalDuration},
};
constexpr stLayout<stRoom4Kiosk> kRoomLayout{kRoomInts, kRoomTimes, kRoomTexts};

constexpr stInt32Field<stClass4Class> kClassInts[] = {
    {0, &stClass4Class::mergeMark},
    {4, &stClass4Class::classId},
    {8, &stClass4Class::classValue},
};
constexpr stTextField<stClass4Class> kClassTexts[] = {{12, 64, &stClass4Class::name}};
constexpr stLayout<stClass4Class> kClassLayout{kClassInts, {}, kClassTexts};

}  // namespace

bool Pack(const stRoom4Kiosk& room, std::span<uint8_t> out) {
    return PackRecord(kRoomLayout, kRoomRecordSize, room, out);
}

bool Unpack(std::span<const uint8_t> in, stRoom4Kiosk& room) {
    return UnpackRecord(kRoomLayout, kRoomRecordSize, in, room);
}

bool Pack(const stClass4Class& roomClass, std::span<uint8_t> out) {
    return PackRecord(kClassLayout, kClassRecordSize, roomClass, out);
}

bool Unpack(std::span<const uint8_t> in, stClass4Class& roomClass) {
    return UnpackRecord(kClassLayout, kClassRecordSize, in, roomClass);
}

std::vector<uint8_t> Pack(const stSingleRoom& message) {
    return BuildPacket(message.command, kSingleRoomSize,
                       [&](std::span<uint8_t> packet) { return PackBody(message, packet); });
}

bool PackBody(const stSingleRoom& message, std::span<uint8_t> packet) {
    return ClearBody(packet, kSingleRoomSize) &&
           Pack(message.room, packet.subspan(kPacketHeaderSize));
}

bool Unpack(std::span<const uint8_t> packet, stSingleRoom& message) {
    if (!IsPacketOf(packet, kSingleRoomSize, {CMD_SINGLE_ROOM, CMD_SINGLE_ROOM_ALT})) {
        return false;
    }
    message.command = PacketCommand(packet);
    return Unpack(packet.subspan(kPacketHeaderSize), message.room);
}

}  // namespace hx
