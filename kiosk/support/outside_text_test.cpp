#include "kiosk/support/outside_text.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

std::string Repeat(std::string_view text, size_t times) {
    std::string repeated;
    for (size_t i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

TEST(OutsideText, TextBeyondTheBoundIsCutBetweenCharactersAndMarked) {
    static_assert(kMaxOutsideTextBytes == 512, "the cases below are written for 512 bytes");
    const struct {
        std::string text;
        std::string logged;
    } cases[] = {
        {"", ""},
        {"Skin\\RoomImage\\101_0.png", "Skin\\RoomImage\\101_0.png"},
        {std::string(512, 'a'), std::string(512, 'a')},
        {std::string(513, 'a'), std::string(512, 'a') + "...(잘림, 전체 513바이트)"},
        // The bound falls on the first byte of a two-byte character.
        {"a" + Repeat("가", 300), "a" + Repeat("가", 255) + "...(잘림, 전체 601바이트)"},
        {Repeat("가", 30000), Repeat("가", 256) + "...(잘림, 전체 60000바이트)"},
        {Repeat("객실", 128), Repeat("객실", 128)},  // 512 bytes in CP949, 768 in UTF-8
    };
    for (const auto& [text, logged] : cases) {
        SCOPED_TRACE(text.size());
        EXPECT_EQ(CutOutsideText(text), logged);
    }
}

}  // namespace

}  // namespace hx
