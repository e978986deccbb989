#pragma once
// The room and class lists as the pages the kiosk takes them in: rooms 50 to
// a page (501), classes 20 (503), numbered from 1 with the count in each. An
// empty list still goes as one empty page, so the kiosk empties its own.

#include <cstdint>
#include <vector>

#include "kiosk/records/room_records.h"

namespace hx {

using Bytes = std::vector<uint8_t>;

std::vector<Bytes> BuildRoomPages(const std::vector<stRoom4Kiosk>& rooms);
std::vector<Bytes> BuildClassPages(const std::vector<stClass4Class>& classes);

}  // namespace hx
