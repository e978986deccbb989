#include "kiosk/printing/amount_fill.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

constexpr char kOwnLine[] = "(amount on its own line)";

std::string Fill(int columns, std::string_view label, std::string_view money) {
    switch (columns) {
        case 42:
            return AmountFill42(label, money).value_or(kOwnLine);
        case 48:
            return AmountFill48(label, money);
        default:
            return AmountFill24(label, money);
    }
}

TEST(AmountFill, AmountsMeetTheRightEdgeCountingCp949Bytes) {
    const std::string korean16 = "가나다라마바사아자차카타파하가나";  // 32 bytes, 48 in UTF-8
    const struct {
        int columns;
        std::string label;
        const char* money;
        std::string fill;
    } cases[] = {
        {42, std::string(33, 'a'), "50,000", " "},  // 41 bytes
        {42, std::string(34, 'a'), "50,000", kOwnLine},
        {42, korean16, "5,000", "   "},
        {42, "", "50,000", std::string(34, ' ')},
        {42, "과세금액", "45,455", std::string(26, ' ')},
        {48, std::string(39, 'a'), "50,000", " "},  // 47 bytes and the line feed
        {48, korean16, "50,000", std::string(8, ' ')},
        // The amount then ends at the right edge of the next line.
        {48, std::string(40, 'a'), "50,000", "\n" + std::string(40, ' ')},
        {48, std::string(41, 'a'), "5,000", "\n" + std::string(41, ' ')},
        {24, "합계", "50,000", std::string(12, ' ')},
        {24, std::string(15, 'a'), "50,000", " "},
        {24, std::string(16, 'a'), "50,000", ""},  // exactly 24 bytes
        {24, std::string(17, 'a'), "50,000", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Fill(c.columns, c.label, c.money), c.fill) << c.columns << " " << c.label;
    }
}

}  // namespace

}  // namespace hx
