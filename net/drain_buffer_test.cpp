#include "net/drain_buffer.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace hx {

namespace {

void Fill(CDrainBuffer& buffer, size_t length, uint8_t& next) {
    ASSERT_TRUE(buffer.MakeRoom());
    ASSERT_GE(buffer.FreeSize(), length);
    for (size_t i = 0; i < length; ++i) {
        buffer.FreeSpace()[i] = next++;
    }
    buffer.Commit(length);
}

TEST(DrainBuffer, KeepsOrderWhileGrowingAndCompacting) {
    CDrainBuffer buffer;
    uint8_t written = 0;
    uint8_t expected = 0;
    std::vector<uint8_t> out(5000);
    for (int round = 0; round < 200; ++round) {
        Fill(buffer, CDrainBuffer::kRoom, written);
        size_t taken = buffer.Take(out.data(), round % 3 == 0 ? 1000 : out.size());
        for (size_t i = 0; i < taken; ++i) {
            ASSERT_EQ(out[i], expected++) << "round " << round;
        }
    }
    std::vector<uint8_t> rest(buffer.Count());
    buffer.Take(rest.data(), rest.size());
    for (uint8_t b : rest) {
        ASSERT_EQ(b, expected++);
    }
    EXPECT_EQ(buffer.Count(), 0u);
}

TEST(DrainBuffer, EmptiedBufferStartsAtTheFrontAgain) {
    CDrainBuffer buffer;
    uint8_t next = 0;
    Fill(buffer, 100, next);
    uint8_t out[100];
    buffer.Take(out, 100);
    EXPECT_EQ(buffer.FreeSize(), CDrainBuffer::kInitialSize);
}

TEST(DrainBuffer, RefusesToGrowPastItsCap) {
    CDrainBuffer buffer;
    uint8_t next = 0;
    size_t stored = 0;
    while (buffer.MakeRoom()) {
        size_t free = buffer.FreeSize();
        Fill(buffer, free, next);
        stored += free;
    }
    EXPECT_EQ(stored, CDrainBuffer::kMaxSize);
    EXPECT_EQ(buffer.Count(), CDrainBuffer::kMaxSize);
}

}  // namespace

}  // namespace hx
