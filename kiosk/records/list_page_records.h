#pragma once
// Room and class lists travel in numbered pages; the kiosk empties its
// incoming list on page 1 and merges when the page number reaches the count.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "kiosk/records/room_records.h"

namespace hx {

inline constexpr size_t kRoomPageSize = 5848;
inline constexpr size_t kClassPageSize = 1568;
inline constexpr size_t kRoomsPerPage = 50;
inline constexpr size_t kClassesPerPage = 20;

// Unpack stops at the first room (class) whose number (identifier) is below
// 1, or when the page is full; Pack refuses more than a page holds.
struct stRoomPage {
    int32_t pageCount = 0;
    int32_t pageNo = 0;  // from 1
    std::vector<stRoom4Kiosk> rooms;
};

struct stClassPage {
    int32_t pageCount = 0;
    int32_t pageNo = 0;
    std::vector<stClass4Class> classes;
};

// Pack, PackBody and Unpack as for every message (room_records.h).
std::vector<uint8_t> Pack(const stRoomPage& page);
bool PackBody(const stRoomPage& page, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stRoomPage& page);

std::vector<uint8_t> Pack(const stClassPage& page);
bool PackBody(const stClassPage& page, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stClassPage& page);

}  // namespace hx
