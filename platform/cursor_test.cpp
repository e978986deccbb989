#include "platform/cursor.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

TEST(Cursor, ShowsAndHidesCountUpAndDown) {
    const int start = ShowCursor(true) - 1;
    EXPECT_EQ(ShowCursor(false), start);
    EXPECT_EQ(ShowCursor(false), start - 1);
    EXPECT_EQ(ShowCursor(true), start);
}

}  // namespace

}  // namespace hx
