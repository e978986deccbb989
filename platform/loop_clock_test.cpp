#include "platform/loop_clock.h"

#include <gtest/gtest.h>

#include "platform/message_loop.h"

namespace hx {

namespace {

class LoopClock : public ::testing::Test {
protected:
    void TearDown() override { CLoopClock::UseRealClock(); }
};

TEST_F(LoopClock, ManualClockMovesOnlyWhenToldAndNeverBack) {
    CLoopClock::UseManualClock();
    ASSERT_TRUE(CLoopClock::IsManual());
    const std::uint64_t start = CLoopClock::Now();
    EXPECT_EQ(CLoopClock::Now(), start);

    EXPECT_TRUE(CLoopClock::Advance(5));
    EXPECT_EQ(CLoopClock::Now(), start + 5);
    EXPECT_TRUE(CLoopClock::AdvanceTo(start));
    EXPECT_EQ(CLoopClock::Now(), start + 5);
    EXPECT_TRUE(CLoopClock::AdvanceTo(start + 20));
    EXPECT_EQ(CLoopClock::Now(), start + 20);
    EXPECT_EQ(GetTickCount(), static_cast<std::uint32_t>(start + 20));
}

TEST_F(LoopClock, SwitchingClocksNeverTurnsTimeBack) {
    const std::uint64_t realStart = CLoopClock::Now();
    CLoopClock::UseManualClock();
    EXPECT_GE(CLoopClock::Now(), realStart);
    const std::uint64_t farAhead = CLoopClock::Now() + 1'000'000'000;
    CLoopClock::AdvanceTo(farAhead);

    CLoopClock::UseRealClock();
    EXPECT_FALSE(CLoopClock::IsManual());
    EXPECT_GE(CLoopClock::Now(), farAhead);
    EXPECT_FALSE(CLoopClock::Advance(5));
    const std::uint64_t later = CLoopClock::Now();
    EXPECT_GE(CLoopClock::Now(), later);
}

}  // namespace

}  // namespace hx
