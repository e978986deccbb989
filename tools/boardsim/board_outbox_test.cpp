#include "tools/boardsim/board_outbox.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

const Bytes kFrame{0x33, 0x06, 0x05, 0x18, 0x01, 0x00, 0x00, 0x00, 0x1A};
const Bytes kAck{0x11};

// Everything the outbox writes, taking each write as soon as it is due.
std::vector<Bytes> Drain(CBoardOutbox& outbox, CBoardOutbox::Clock::time_point& now) {
    std::vector<Bytes> writes;
    while (const auto wait = outbox.TimeToNext(now)) {
        now += *wait;
        writes.push_back(*outbox.TakeDue(now));
    }
    return writes;
}

TEST(BoardOutboxTest, MisbehavesOnTheNextWritesOnly) {
    const struct {
        const char* what;
        std::optional<enumMisbehaviour> kind;
        std::vector<Bytes> pushed;
        std::vector<Bytes> written;
    } cases[] = {
        {"as pushed", std::nullopt, {kAck, kFrame}, {kAck, kFrame}},
        {"merge",
         enumMisbehaviour::Merge,
         {kFrame, kFrame, kAck},
         {{0x33, 0x06, 0x05, 0x18, 0x01, 0x00, 0x00, 0x00, 0x1A, 0x33, 0x06, 0x05, 0x18, 0x01, 0x00,
           0x00, 0x00, 0x1A},
          kAck}},
        {"bad check byte on the frame, not the ack",
         enumMisbehaviour::BadBcc,
         {kAck, kFrame, kFrame},
         {kAck, {0x33, 0x06, 0x05, 0x18, 0x01, 0x00, 0x00, 0x00, 0xE5}, kFrame}},
        {"split waits for a write that can be split",
         enumMisbehaviour::Split,
         {kAck, kFrame, kFrame},
         {kAck, {0x33, 0x06, 0x05, 0x18}, {0x01, 0x00, 0x00, 0x00, 0x1A}, kFrame}},
    };
    for (const auto& c : cases) {
        CBoardOutbox outbox(100ms);
        if (c.kind) {
            outbox.Misbehave(*c.kind, 1);
        }
        for (const Bytes& bytes : c.pushed) {
            outbox.Push(bytes);
        }
        auto now = CBoardOutbox::Clock::time_point{};
        EXPECT_EQ(Drain(outbox, now), c.written) << c.what;
    }
}

TEST(BoardOutboxTest, KeepsTheGapBetweenWrites) {
    CBoardOutbox outbox(100ms);
    const auto start = CBoardOutbox::Clock::time_point{} + 1h;
    EXPECT_FALSE(outbox.TimeToNext(start));
    outbox.Push(kAck);
    outbox.Push(kFrame);
    EXPECT_EQ(outbox.TimeToNext(start), 0ms);
    EXPECT_EQ(outbox.TakeDue(start), kAck);
    EXPECT_FALSE(outbox.TakeDue(start + 99ms));
    EXPECT_EQ(outbox.TimeToNext(start + 40ms), 60ms);
    EXPECT_EQ(outbox.TakeDue(start + 100ms), kFrame);
    // Once the line has been quiet for the gap, a new write goes at once.
    outbox.Push(kAck);
    EXPECT_EQ(outbox.TakeDue(start + 500ms), kAck);
}

}  // namespace

}  // namespace hx
