#include "kiosk/support/money_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace hx {

namespace {

TEST(MoneyText, GroupsEveryThreeDigitsFromTheRight) {
    const struct {
        long long amount;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {50000, "50,000"},
        {1234567, "1,234,567"},
        {-7300, "-7,300"},
        {-100, "-100"},
        {LLONG_MIN, "-9,223,372,036,854,775,808"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MoneyText(c.amount), c.text) << c.amount;
    }
}

}  // namespace

}  // namespace hx
