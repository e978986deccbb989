#include "tools/dispsim/guest_card.h"

#include <algorithm>
#include <cstdio>

#include "tools/common/xor_check.h"

namespace hx {

namespace {

int BigEndian16(uint8_t high, uint8_t low) {
    return (high << 8) | low;
}

bool AllAre(std::span<const uint8_t> bytes, uint8_t value) {
    return std::all_of(bytes.begin(), bytes.end(), [value](uint8_t byte) { return byte == value; });
}

// Five bytes: two-digit year, month, day, hour, minute.
std::optional<stCardTime> DecodeTime(std::span<const uint8_t, 5> bytes) {
    const stCardTime time{2000 + bytes[0], bytes[1], bytes[2], bytes[3], bytes[4]};
    if (bytes[0] > 99 || time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31 ||
        time.hour > 23 || time.minute > 59) {
        return std::nullopt;
    }
    return time;
}

}  // namespace

stGuestCard DecodeGuestCard(const CardBlock& block1, const CardBlock& block2) {
    stGuestCard card;
    card.hotelRegion = block1[0];
    card.hotelSequence = BigEndian16(block1[1], block1[2]);
    card.doorLock = BigEndian16(block1[4], block1[5]);
    card.grade = static_cast<char>(block1[7]);
    card.gradeSequence = static_cast<char>(block1[8]);
    card.start = DecodeTime(std::span(block2).subspan<0, 5>());
    card.end = DecodeTime(std::span(block2).subspan<5, 5>());
    card.checksOk = XorOfBytes(block1) == 0 && XorOfBytes(block2) == 0;
    card.wellFormed = block1[3] == 0 && block1[6] == 0 &&
                      AllAre(std::span(block1).subspan(9, 6), 0xFF) &&
                      AllAre(std::span(block2).subspan(10, 5), 0x00);
    return card;
}

std::string CardTimeText(const std::optional<stCardTime>& time) {
    if (!time) {
        return "none";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", time->year, time->month, time->day,
                  time->hour, time->minute);
    return text;
}

}  // namespace hx
