#include "kiosk/printing/receipt_texts.h"

#include <algorithm>
#include <cstdio>

namespace hx {

namespace {

int TwelveHourClock(int hour) {
    const int onTheDial = hour % 12;
    return onTheDial == 0 ? 12 : onTheDial;
}

// Characters [from, from + count) of text, as many of them as there are.
std::string_view Part(std::string_view text, size_t from, size_t count) {
    return from < text.size() ? text.substr(from, count) : std::string_view();
}

}  // namespace

std::string PrintedTimeText(const stLocalTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d / %s %d시 %02d분", time.year % 10000,
                  time.month % 100, time.day % 100, time.hour < 12 ? "오전" : "오후",
                  TwelveHourClock(time.hour), time.minute % 100);
    return text;
}

std::string InstallmentText(std::string_view months) {
    if (months == "0" || months == "00" || months == "1") {
        return "일시불";
    }
    return std::string(months) + "개월";
}

std::string BusinessNumberText(std::string_view number) {
    constexpr size_t kHeadLength = 3;
    constexpr size_t kMiddleLength = 2;
    constexpr size_t kTailLength = 5;
    constexpr size_t kTailEarliest = kHeadLength + kMiddleLength;
    // The tail is the last five characters, but never reaches back into the
    // head or the middle, which would print a short number's digits twice.
    const size_t tailFrom =
        std::max(kTailEarliest, number.size() - std::min(number.size(), kTailLength));
    std::string text(Part(number, 0, kHeadLength));
    text += '-';
    text += Part(number, kHeadLength, kMiddleLength);
    text += '-';
    text += Part(number, tailFrom, kTailLength);
    return text;
}

}  // namespace hx
