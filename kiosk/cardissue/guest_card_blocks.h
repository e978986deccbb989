#pragma once
// What the serial dispenser writes onto a guest's key card for the door
// locks: block 1 names the motel and the room, block 2 when the card starts
// and stops opening it. Times are local; the start is the card base date
// (the RFCard settings), not the moment of issue.

#include <cstdint>
#include <string>

#include "kiosk/cardissue/dispenser_frame.h"
#include "platform/local_time.h"

namespace hx {

struct stGuestCardData {
    int32_t hotelRegion = 0;
    int32_t hotelSequence = 0;
    int32_t doorLockNumber = 0;
    std::string grade = "U";
    std::string gradeSequence = "0";
    std::string keyText;  // not written to the card
    int64_t endTime = 0;  // seconds since 1970
};

// The card base date from the RFCard settings, read now.
stLocalTime LoadCardBaseDate();

// The 16th byte is left 0: the write puts the check there.
CardBlock BuildCardBlock1(const stGuestCardData& card);
// The end is the card's for grades "P" and "U", the base date for others.
CardBlock BuildCardBlock2(const stGuestCardData& card, const stLocalTime& baseDate);

}  // namespace hx
