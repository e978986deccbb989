#pragma once
// Rooms and room classes as the server describes them, and the message that
// inserts, replaces or removes a single room.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "kiosk/records/kiosk_command.h"

namespace hx {

inline constexpr size_t kRoomRecordSize = 116;
inline constexpr size_t kClassRecordSize = 76;
inline constexpr size_t kSingleRoomSize = 152;

// In a single-room message this operation removes the room.
inline constexpr int32_t kRoomRemove = -1;
// A room's state when it can be sold.
inline constexpr int32_t kRoomVacant = 0;
// A display mode that keeps the room off the screen.
inline constexpr int32_t kRoomHidden = 3;

struct stRoom4Kiosk {
    int32_t operation = 0;  // kRoomRemove on the wire; the merge mark inside the kiosk
    int32_t roomNo = 0;     // the key; below 1 ends a room page
    int32_t classId = 0;
    int32_t state = 0;
    int32_t lockGroup = 0;  // middle part of the door-lock address
    int32_t displayMode = 0;
    int32_t firstPrice = 0;
    int32_t secondPrice = 0;
    int64_t serverStamp = 0;  // opaque; only compared to see a change
    std::string name;
    std::string rentalDuration;  // "HHMM"
    int32_t lockNo = 0;
};

struct stClass4Class {
    int32_t mergeMark = 0;
    int32_t classId = 0;  // the key; below 1 ends a class page
    int32_t classValue = 0;
    std::string name;
};

// Embedded records: Pack writes the record's bytes at the start of out (false
// when out is shorter); Unpack reads them (false when in is shorter).
bool Pack(const stRoom4Kiosk& room, std::span<uint8_t> out);
bool Unpack(std::span<const uint8_t> in, stRoom4Kiosk& room);
bool Pack(const stClass4Class& roomClass, std::span<uint8_t> out);
bool Unpack(std::span<const uint8_t> in, stClass4Class& roomClass);

struct stSingleRoom {
    uint32_t command = CMD_SINGLE_ROOM;  // or CMD_SINGLE_ROOM_ALT
    stRoom4Kiosk room;
};

// Messages: Pack builds the whole packet (command, size and magic in its
// header); PackBody fills everything after the header of a packet whose
// header the caller set; Unpack reads a whole packet and fails when it is
// too short or carries another command.
std::vector<uint8_t> Pack(const stSingleRoom& message);
bool PackBody(const stSingleRoom& message, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stSingleRoom& message);

}  // namespace hx
