#include "kiosk/support/float_counts.h"

#include <gtest/gtest.h>

#include "kiosk/support/paths.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

TEST(FloatCounts, SavedTogetherAndReadBackWithMissingOnesAsZero) {
    CTempDrive drive;
    const auto file = GetProgramPath("INI\\SaveMoney.ini");
    ASSERT_TRUE(WriteWholeFile(file, "[Money]\r\n5000=7\r\nRFCard=abc\r\n"));
    const stFloatCounts stored = LoadFloatCounts();
    EXPECT_EQ(stored.notes1000, 0);
    EXPECT_EQ(stored.notes5000, 7);
    EXPECT_EQ(stored.keyCards, 0);

    ASSERT_TRUE(SaveFloatCounts({12, 7, -1, 40}));
    const stFloatCounts back = LoadFloatCounts();
    EXPECT_EQ(back.notes1000, 12);
    EXPECT_EQ(back.notes5000, 7);
    EXPECT_EQ(back.notes10000, -1) << "a float may go below zero; it is kept as it is";
    EXPECT_EQ(back.keyCards, 40);
    EXPECT_NE(ReadWholeFile(file).find("10000=-1"), std::string::npos);
}

}  // namespace

}  // namespace hx
