#include "kiosk/cardissue/guest_card_blocks.h"

#include "kiosk/support/kiosk_settings_defaults.h"
#include "platform/envr.h"

namespace hx {

namespace {

// Times outside these years cannot be put on a card (nor converted by the
// door locks' calendar).
constexpr int64_t kFirstConvertible = 0;
constexpr int64_t kLastConvertible = 32535215999;  // 3000-12-31 23:59:59 UTC

uint8_t FirstCharacterOf(const std::string& text) {
    return text.empty() ? 0 : static_cast<uint8_t>(text.front());
}

// Year (two digits), month, day, hour and minute from `at`.
void PutTime(const stLocalTime& time, uint8_t* at) {
    at[0] = static_cast<uint8_t>(time.year % 100);
    at[1] = static_cast<uint8_t>(time.month);
    at[2] = static_cast<uint8_t>(time.day);
    at[3] = static_cast<uint8_t>(time.hour);
    at[4] = static_cast<uint8_t>(time.minute);
}

void PutEndTime(int64_t endTime, uint8_t* at) {
    if (endTime < kFirstConvertible || endTime > kLastConvertible) {
        at[0] = at[1] = at[2] = 0;
        at[3] = at[4] = 0xFF;
        return;
    }
    PutTime(LocalTimeFromEpoch(endTime), at);
}

}  // namespace

stLocalTime LoadCardBaseDate() {
    const CEnvr settings(kRegistryApplication);
    stLocalTime base;
    base.year = settings.GetInt("RFCard", "StartYear", kDefaultRfStartYear);
    base.month = settings.GetInt("RFCard", "StartMonth", kDefaultRfStartMonth);
    base.day = settings.GetInt("RFCard", "StartDay", kDefaultRfStartDay);
    base.hour = settings.GetInt("RFCard", "StartHour", kDefaultRfStartHour);
    base.minute = settings.GetInt("RFCard", "StartMin", kDefaultRfStartMin);
    base.second = settings.GetInt("RFCard", "StartSec", kDefaultRfStartSec);
    return base;
}

CardBlock BuildCardBlock1(const stGuestCardData& card) {
    CardBlock block{};
    block[0] = static_cast<uint8_t>(card.hotelRegion & 0xFF);
    block[1] = static_cast<uint8_t>((card.hotelSequence >> 8) & 0xFF);
    block[2] = static_cast<uint8_t>(card.hotelSequence & 0xFF);
    block[4] = static_cast<uint8_t>((card.doorLockNumber >> 8) & 0xFF);
    block[5] = static_cast<uint8_t>(card.doorLockNumber & 0xFF);
    block[7] = FirstCharacterOf(card.grade);
    block[8] = FirstCharacterOf(card.gradeSequence);
    for (size_t i = 9; i < kCardBlockSize - 1; ++i) {
        block[i] = 0xFF;
    }
    return block;
}

CardBlock BuildCardBlock2(const stGuestCardData& card, const stLocalTime& baseDate) {
    CardBlock block{};
    PutTime(baseDate, &block[0]);
    if (card.grade == "P" || card.grade == "U") {
        PutEndTime(card.endTime, &block[5]);
    } else {
        PutTime(baseDate, &block[5]);
    }
    return block;
}

}  // namespace hx
