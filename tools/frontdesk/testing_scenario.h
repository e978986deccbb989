#pragma once
// For tests only: the smallest motel worth serving, one class and two rooms
// (201 and 202, three hours of day use, both vacant). Tests add what else
// their desk needs.

#include <cstdint>
#include <string>

#include "tools/frontdesk/scenario.h"

namespace hx {

inline stScenario TwoRoomScenario() {
    stScenario scenario;
    scenario.classes = {{0, 1, 1, "스탠다드"}};
    for (const int32_t roomNo : {201, 202}) {
        stRoom4Kiosk room;
        room.roomNo = roomNo;
        room.classId = 1;
        room.name = std::to_string(roomNo) + "호";
        room.rentalDuration = "0300";
        scenario.rooms.push_back(room);
    }
    return scenario;
}

}  // namespace hx
