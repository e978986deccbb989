#pragma once
// What a door lock reads from a guest card: the two 16-byte blocks the kiosk
// writes (sector 0, blocks 1 and 2), decoded so a test or a demo can say
// which door a card opens and until when.
//
// Block 1: hotel region code, hotel sequence code (big-endian 16 bits), 0,
// door-lock number (big-endian 16 bits), 0, card grade and grade sequence
// characters, six 0xFF. Block 2: start year (two digits), month, day, hour,
// minute, then the end the same way, five zeros. Byte 15 of each makes the
// XOR of the block 0.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "tools/dispsim/dispenser_protocol.h"

namespace hx {

using CardBlock = std::array<uint8_t, kCardBlockSize>;

struct stCardTime {
    int year = 0;  // four digits
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

struct stGuestCard {
    int hotelRegion = 0;
    int hotelSequence = 0;
    int doorLock = 0;
    char grade = 0;
    char gradeSequence = 0;
    // nullopt when the bytes name no time (the kiosk writes 0 0 0 FF FF for
    // a time it could not convert).
    std::optional<stCardTime> start;
    std::optional<stCardTime> end;
    // Each block's XOR is 0.
    bool checksOk = false;
    // The fixed bytes hold what the layout puts there.
    bool wellFormed = false;
};

stGuestCard DecodeGuestCard(const CardBlock& block1, const CardBlock& block2);

// "2024-03-05 11:00", or "none".
std::string CardTimeText(const std::optional<stCardTime>& time);

}  // namespace hx
