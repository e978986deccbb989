#include "tools/frontdesk/sale_desk.h"

#include <gtest/gtest.h>

#include "platform/local_time.h"

namespace hx {

namespace {

// Seconds since 1970 of a local time today-independent: found by stepping
// from a known moment, so the test holds in any time zone.
int64_t LocalMoment(int hour, int minute) {
    int64_t moment = 1700000000;
    const stLocalTime local = LocalTimeFromEpoch(moment);
    moment -= local.hour * 3600 + local.minute * 60 + local.second;
    return moment + hour * 3600 + minute * 60;
}

stRoom4Kiosk Room(int32_t roomNo, int32_t state, const char* duration = "") {
    stRoom4Kiosk room;
    room.roomNo = roomNo;
    room.state = state;
    room.rentalDuration = duration;
    return room;
}

stSaleRequest Sale(int32_t roomNo, int32_t stayType) {
    stSaleRequest request;
    request.roomNo = roomNo;
    request.stayType = stayType;
    request.amount = request.cashAmount = 30000;
    return request;
}

TEST(SaleDesk, DayUseLastsTheRoomsDurationElseTheDefault) {
    stSaleRules rules;
    rules.rentalMinutes = 90;
    const int64_t now = LocalMoment(14, 0);
    EXPECT_EQ(StayEnd(rules, Room(1, 0, "0330"), STAY_RENTAL, now), now + 210 * 60);
    EXPECT_EQ(StayEnd(rules, Room(1, 0, ""), STAY_RENTAL, now), now + 90 * 60);
    EXPECT_EQ(StayEnd(rules, Room(1, 0, "3h"), STAY_RENTAL, now), now + 90 * 60);
}

TEST(SaleDesk, OvernightEndsAtTheNextCheckout) {
    stSaleRules rules;
    rules.checkoutMinuteOfDay = 12 * 60;
    EXPECT_EQ(StayEnd(rules, Room(1, 0), STAY_SLEEP, LocalMoment(22, 0)), LocalMoment(36, 0));
    EXPECT_EQ(StayEnd(rules, Room(1, 0), STAY_SLEEP, LocalMoment(2, 30)), LocalMoment(12, 0))
        << "a guest arriving after midnight leaves the same morning";
    EXPECT_EQ(StayEnd(rules, Room(1, 0), STAY_SLEEP, LocalMoment(12, 0)), LocalMoment(36, 0));
}

TEST(SaleDesk, EndTimeTextHasItsFieldsWhereTheKioskReadsThem) {
    const std::string text = FormatEndTime(LocalMoment(9, 5));
    ASSERT_EQ(text.size(), 19u);
    EXPECT_EQ(text.substr(11, 2), "09");
    EXPECT_EQ(text.substr(14, 2), "05");
    EXPECT_EQ(text[4], '-');
    EXPECT_EQ(text[13], ':');
}

TEST(SaleDesk, SellsAVacantRoomOnceAndRefusesByTheRules) {
    stSaleRules rules;
    rules.soldState = 7;
    rules.refusals = {{302, STAY_RENTAL, -2}};
    std::vector<stRoom4Kiosk> rooms = {Room(301, 0), Room(302, 0), Room(303, 1)};
    const int64_t now = LocalMoment(15, 0);

    const stSaleAnswer sold = DecideSale(rules, rooms, Sale(301, STAY_SLEEP), now);
    EXPECT_EQ(sold.result, kSaleAccepted);
    EXPECT_EQ(sold.room.state, 7);
    EXPECT_EQ(rooms[0].state, 7);
    EXPECT_EQ(sold.endTime, FormatEndTime(LocalMoment(36, 0)));

    EXPECT_EQ(DecideSale(rules, rooms, Sale(301, STAY_SLEEP), now).result, -3) << "sold already";
    EXPECT_EQ(DecideSale(rules, rooms, Sale(302, STAY_RENTAL), now).result, -2);
    EXPECT_EQ(DecideSale(rules, rooms, Sale(302, STAY_SLEEP), now).result, kSaleAccepted)
        << "the refusal is for day use only";
    EXPECT_EQ(DecideSale(rules, rooms, Sale(303, STAY_RENTAL), now).result, -3);
    EXPECT_EQ(DecideSale(rules, rooms, Sale(999, STAY_RENTAL), now).result, -1);
    const stSaleAnswer badStay = DecideSale(rules, rooms, Sale(303, 5), now);
    EXPECT_EQ(badStay.result, -1);
    EXPECT_EQ(badStay.room.roomNo, 303);
    EXPECT_EQ(rooms[2].state, 1) << "a refusal changes no room";
}

}  // namespace

}  // namespace hx
