#include "net/scramble.h"

#include <gtest/gtest.h>

#include <vector>

namespace hx {

namespace {

TEST(Scramble, KeyAlternatesFromEachBlockStartAndUndoesItself) {
    for (size_t length : {0u, 1u, 7u, 8u, 13u, 64u, 1001u}) {
        std::vector<uint8_t> payload(length, 0);
        Scramble(payload.data(), payload.size());
        for (size_t i = 0; i < length; ++i) {
            ASSERT_EQ(payload[i], i % 2 == 0 ? 0x5C : 0xA3) << "length " << length << " at " << i;
        }
        Scramble(payload.data(), payload.size());
        EXPECT_EQ(payload, std::vector<uint8_t>(length, 0));
    }
}

}  // namespace

}  // namespace hx
