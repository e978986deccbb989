#include "kiosk/printing/receipt_texts.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(ReceiptTexts, TimesReadOnTheTwelveHourClockWithTheKoreanMarker) {
    const struct {
        int hour;
        int minute;
        const char* text;
    } cases[] = {
        {0, 5, "2026-03-07 / 오전 12시 05분"},   {1, 0, "2026-03-07 / 오전 1시 00분"},
        {11, 59, "2026-03-07 / 오전 11시 59분"}, {12, 0, "2026-03-07 / 오후 12시 00분"},
        {13, 9, "2026-03-07 / 오후 1시 09분"},   {23, 59, "2026-03-07 / 오후 11시 59분"},
    };
    for (const auto& c : cases) {
        const stLocalTime time{2026, 3, 7, c.hour, c.minute, 30, 0};
        EXPECT_EQ(PrintedTimeText(time), c.text) << c.hour << ":" << c.minute;
    }
}

TEST(ReceiptTexts, OneMonthOrNoneIsALumpSum) {
    const struct {
        const char* months;
        const char* text;
    } cases[] = {
        {"0", "일시불"}, {"00", "일시불"}, {"1", "일시불"},
        {"3", "3개월"},  {"12", "12개월"}, {"01", "01개월"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InstallmentText(c.months), c.text) << c.months;
    }
}

TEST(ReceiptTexts, BusinessNumbersSplitThreeTwoFiveAndShortOnesPrintEachDigitOnce) {
    const struct {
        const char* number;
        const char* text;
    } cases[] = {
        {"1234567890", "123-45-67890"},
        {"123456789012", "123-45-89012"},
        {"1234567", "123-45-67"},
        {"12345", "123-45-"},
        {"12", "12--"},
        {"", "--"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BusinessNumberText(c.number), c.text) << c.number;
    }
}

}  // namespace

}  // namespace hx
