#include "kiosk/screen/sale_type_window.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

stLocalTime At(int hour, int minute, int second = 0) {
    return {2024, 5, 17, hour, minute, second, 0};
}

TEST(SaleTypeWindow, BothEndsCountToTheSecondAndAWindowMayRunOverMidnight) {
    const stSaleWindow day{true, 10, 0, 15, 0};
    EXPECT_FALSE(IsWithinSaleWindow(day, At(9, 59, 59)));
    EXPECT_TRUE(IsWithinSaleWindow(day, At(10, 0, 0)));
    EXPECT_TRUE(IsWithinSaleWindow(day, At(15, 0, 0)));
    EXPECT_FALSE(IsWithinSaleWindow(day, At(15, 0, 1)));
    EXPECT_TRUE(IsWithinSaleWindow({false, 10, 0, 15, 0}, At(3, 0))) << "not restricted";

    const stSaleWindow night{true, 22, 0, 6, 0};
    EXPECT_TRUE(IsWithinSaleWindow(night, At(23, 30)));
    EXPECT_TRUE(IsWithinSaleWindow(night, At(3, 0))) << "the early hours belong to it too";
    EXPECT_FALSE(IsWithinSaleWindow(night, At(6, 0, 1)));
    EXPECT_FALSE(IsWithinSaleWindow(night, At(21, 59, 59)));
}

TEST(SaleTypeWindow, StayTypesCombineIntoTheWordTheMovieGets) {
    stKioskConfig config;
    config.rentalRestricted = 1;
    config.rentalStartHour = 10;
    config.rentalEndHour = 15;
    config.sleepRestricted = 1;
    config.sleepStartHour = 14;
    config.sleepEndHour = 20;
    EXPECT_EQ(SaleTypeWord(SaleTypeAt(config, At(11, 0))), "Rental");
    EXPECT_EQ(SaleTypeWord(SaleTypeAt(config, At(14, 30))), "All");
    EXPECT_EQ(SaleTypeWord(SaleTypeAt(config, At(16, 0))), "Sleep");
    EXPECT_EQ(SaleTypeWord(SaleTypeAt(config, At(21, 0))), "None");
}

}  // namespace

}  // namespace hx
