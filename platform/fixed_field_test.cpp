#include "platform/fixed_field.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace hx {

namespace {

// A record with guard bytes around the field, so an overrun shows.
struct stGuardedRecord {
    static constexpr size_t kOffset = 10;
    std::vector<uint8_t> bytes = std::vector<uint8_t>(40, 0xCC);

    std::span<uint8_t> Field(size_t size) { return std::span(bytes).subspan(kOffset, size); }
    bool GuardsIntact(size_t size) const {
        for (size_t i = 0; i < bytes.size(); ++i) {
            if ((i < kOffset || i >= kOffset + size) && bytes[i] != 0xCC) {
                return false;
            }
        }
        return true;
    }
};

TEST(TextField, LongTextIsCutBeforeATwoByteCharacterAndTerminated) {
    stGuardedRecord record;
    WriteTextField(record.Field(7), "대실 숙박");  // B4EB BDC7 20 | BCF7 does not fit in 6
    EXPECT_EQ(std::vector<uint8_t>(record.Field(7).begin(), record.Field(7).end()),
              (std::vector<uint8_t>{0xB4, 0xEB, 0xBD, 0xC7, 0x20, 0, 0}));
    EXPECT_TRUE(record.GuardsIntact(7));
    EXPECT_EQ(ReadTextField(record.Field(7)), "대실 ");

    WriteTextField(record.Field(8), "대실 숙박");  // exactly 7 bytes fit
    EXPECT_EQ(ReadTextField(record.Field(8)), "대실 숙");
    EXPECT_EQ(record.bytes[stGuardedRecord::kOffset + 7], 0);
    EXPECT_TRUE(record.GuardsIntact(8));
}

TEST(TextField, ShortTextZeroFillsTheRestAndTinyFieldsStaySafe) {
    stGuardedRecord record;
    WriteTextField(record.Field(12), "A1");
    EXPECT_EQ(std::vector<uint8_t>(record.Field(12).begin(), record.Field(12).end()),
              (std::vector<uint8_t>{'A', '1', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(record.GuardsIntact(12));

    stGuardedRecord tiny;
    WriteTextField(tiny.Field(1), "숙박");
    EXPECT_EQ(tiny.bytes[stGuardedRecord::kOffset], 0);
    EXPECT_TRUE(tiny.GuardsIntact(1));
    stGuardedRecord empty;
    WriteTextField(empty.Field(0), "숙박");
    EXPECT_TRUE(empty.GuardsIntact(0));
}

TEST(TextField, ReadingStopsAtTheFieldEndWhenThereIsNoZero) {
    std::array<char, 8> buffer = {'\xBC', '\xF7', '\xB9', '\xDA', 'X', 'Y', 'Z', 'W'};
    EXPECT_EQ(ReadTextField(buffer.data(), 4), "숙박");
    EXPECT_EQ(ReadTextField(buffer.data(), 3), "숙?");  // the field ends inside a character
    EXPECT_EQ(ReadTextField(buffer.data(), 0), "");

    std::array<char, 16> record{};
    WriteTextField(record.data(), record.size(), "기록 실패");
    EXPECT_EQ(ReadTextField(record.data(), record.size()), "기록 실패");
}

}  // namespace

}  // namespace hx
