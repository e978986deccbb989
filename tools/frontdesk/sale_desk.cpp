#include "tools/frontdesk/sale_desk.h"

#include <algorithm>

#include "platform/local_time.h"
#include "tools/frontdesk/named_fields.h"

namespace hx {

namespace {

constexpr int64_t kSecondsPerDay = 24 * 3600;

// Minutes of an "HHMM" duration; 0 when the text is not one.
int64_t DurationMinutes(const std::string& text) {
    int64_t hours = 0;
    int64_t minutes = 0;
    if (text.size() != 4 || !ParseWholeNumber(std::string_view(text).substr(0, 2), 0, 99, hours) ||
        !ParseWholeNumber(std::string_view(text).substr(2, 2), 0, 59, minutes)) {
        return 0;
    }
    return hours * 60 + minutes;
}

const stSaleRefusal* FindRefusal(const stSaleRules& rules, const stSaleRequest& request) {
    for (const stSaleRefusal& refusal : rules.refusals) {
        if (refusal.roomNo == request.roomNo &&
            (refusal.stayType == 0 || refusal.stayType == request.stayType)) {
            return &refusal;
        }
    }
    return nullptr;
}

}  // namespace

int64_t StayEnd(const stSaleRules& rules, const stRoom4Kiosk& room, int32_t stayType, int64_t now) {
    if (stayType == STAY_RENTAL) {
        const int64_t minutes = DurationMinutes(room.rentalDuration);
        return now + 60 * (minutes > 0 ? minutes : rules.rentalMinutes);
    }
    const stLocalTime local = LocalTimeFromEpoch(now);
    const int64_t secondOfDay = local.hour * 3600 + local.minute * 60 + local.second;
    int64_t untilCheckout = rules.checkoutMinuteOfDay * 60 - secondOfDay;
    if (untilCheckout <= 0) {
        untilCheckout += kSecondsPerDay;
    }
    return now + untilCheckout;
}

std::string FormatEndTime(int64_t secondsSince1970) {
    return LocalTimeText(LocalTimeFromEpoch(secondsSince1970));
}

stSaleAnswer DecideSale(const stSaleRules& rules, std::vector<stRoom4Kiosk>& rooms,
                        const stSaleRequest& request, int64_t now) {
    stSaleAnswer answer;
    answer.room.roomNo = request.roomNo;
    const auto room = std::find_if(rooms.begin(), rooms.end(), [&](const stRoom4Kiosk& candidate) {
        return candidate.roomNo == request.roomNo;
    });
    if (room != rooms.end()) {
        answer.room = *room;
    }
    const bool validStay = request.stayType == STAY_RENTAL || request.stayType == STAY_SLEEP;
    const stSaleRefusal* refusal = FindRefusal(rules, request);
    if (room == rooms.end() || !validStay) {
        answer.result = rules.failureResult;
    } else if (refusal != nullptr) {
        answer.result = refusal->result;
    } else if (room->state != kRoomVacant) {
        answer.result = rules.unavailableResult;
    } else {
        room->state = rules.soldState;
        answer.result = kSaleAccepted;
        answer.room = *room;
        answer.endTime = FormatEndTime(StayEnd(rules, *room, request.stayType, now));
    }
    return answer;
}

}  // namespace hx
