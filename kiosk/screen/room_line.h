#pragma once
// The text line that describes one room to the movie: 29 values joined by
// "||" with a trailing "||" (the bridge cuts it off): class name, room
// number, room name, both prices, day-use duration, room state, the 21
// picture paths and the display mode.

#include <cstdint>
#include <string>
#include <string_view>

#include "kiosk/records/room_records.h"

namespace hx {

inline constexpr int kRoomLineValues = 29;
inline constexpr int kRoomPicturesPerRoom = 21;

std::string BuildRoomLine(const stRoom4Kiosk& room, std::string_view className);

// "HHMM" as "%d시간 %d분", or "%d시간" when the minutes are 0 or the text is
// not four characters long (then only its first two count).
std::string DurationText(std::string_view hhmm);

// The picture path the movie gets for a room's picture slot (0 to 20):
// c:\Harlix\Skin\RoomImage\<room>_0.png ... _9.png, _0_1.png ... _9_1.png, _0_2.png.
std::string RoomPicturePath(int32_t roomNo, int slot);

}  // namespace hx
