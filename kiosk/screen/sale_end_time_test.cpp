#include "kiosk/screen/sale_end_time.h"

#include <gtest/gtest.h>

#include "tests/support/scoped_environment.h"

namespace hx {

namespace {

TEST(SaleEndTime, ATimeIsReadByPositionAndAnythingElseIsNone) {
    const CScopedEnvironment zone{"TZ", "KST-9"};
    EXPECT_EQ(ParseSaleEndTime("2026-12-11 11:00:00"), 1796954400);
    EXPECT_EQ(ParseSaleEndTime("2026/12/11T11:00:00 and more"), 1796954400)
        << "only the digits' places count";
    for (const char* text : {"", "2026-12-11 11:00", "2026-13-11 11:00:00", "2026-12-11 24:00:00",
                             "20x6-12-11 11:00:00", "1969-12-31 23:59:59"}) {
        EXPECT_EQ(ParseSaleEndTime(text), std::nullopt) << text;
    }
}

}  // namespace

}  // namespace hx
