#pragma once
// The packets the desk sends on its own initiative, built from its state as
// it stands now. None is addressed yet: each kiosk's key is stamped on the
// copy it gets.

#include <cstdint>
#include <vector>

#include "tools/frontdesk/desk_state.h"

namespace hx {

using Bytes = std::vector<uint8_t>;

// Class pages (503) first, so the rooms find their class names, then room pages (501).
std::vector<Bytes> BuildListPackets(const stScenario& scenario);
std::vector<Bytes> BuildClassListPackets(const stScenario& scenario);
std::vector<Bytes> BuildRoomListPackets(const stScenario& scenario);
Bytes BuildConfigPacket(const stScenario& scenario);
Bytes BuildOptionsPacket(const stScenario& scenario);
// 502 (or 519) with the room; a removal carries the room number with operation -1.
Bytes BuildSingleRoomPacket(const stRoom4Kiosk& room, uint32_t command);
// "RoomImages.ini" as 510 chunks.
std::vector<Bytes> BuildPictureIndexPackets(const CPictureLibrary& pictures);
// What a kiosk gets right after its handshake: lists, configuration, options,
// and the picture index when the scenario says so.
std::vector<Bytes> BuildWelcomePackets(const stDeskState& state);
// 513, a bare header: the kiosk takes its loading notice off the screen.
Bytes BuildClearLoadingPacket();

}  // namespace hx
