#include "platform/terminal_frames.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

TEST(TerminalFrames, EachKindComesBackAsItWentAndTheBytesAreFixed) {
    const stTerminalFrame request{enumTerminalFrame::Request, {{1, "0101"}, {3, "35000"}}, "", 0};
    const Bytes bytes = EncodeTerminalFrame(request);
    EXPECT_EQ(bytes, (Bytes{0,   0,   0,   24, 'Q', 0, 2, 0, 1, 0,   0,   0,   4,   '0',
                            '1', '0', '1', 0,  3,   0, 0, 0, 5, '3', '5', '0', '0', '0'}));
    for (const stTerminalFrame& frame :
         {request, stTerminalFrame{enumTerminalFrame::Answer, {{17, "00"}, {18, ""}}, "", 0},
          stTerminalFrame{enumTerminalFrame::State, {}, "1M", 0},
          stTerminalFrame{enumTerminalFrame::Exit, {}, "", -7}}) {
        const Bytes encoded = EncodeTerminalFrame(frame);
        Bytes withMore = encoded;
        withMore.push_back(0x00);
        const stTerminalFrameRead read = DecodeTerminalFrame(withMore);
        ASSERT_EQ(read.status, stTerminalFrameRead::Complete);
        EXPECT_EQ(read.consumed, encoded.size());
        EXPECT_EQ(read.frame, frame);
        EXPECT_EQ(DecodeTerminalFrame(std::span(encoded).first(encoded.size() - 1)).status,
                  stTerminalFrameRead::Incomplete);
    }
}

TEST(TerminalFrames, WhatDoesNotAddUpIsRefusedBeforeItIsWaitedFor) {
    const struct {
        const char* what;
        Bytes bytes;
    } invalid[] = {
        {"unknown kind", {0, 0, 0, 1, 'Z'}},
        {"empty", {0, 0, 0, 0, 'Q'}},
        {"over the limit", {0, 1, 0, 1, 'A'}},
        {"a field longer than its frame", {0, 0, 0, 9, 'A', 0, 1, 0, 1, 0, 0, 0, 9}},
        {"bytes after the fields", {0, 0, 0, 4, 'Q', 0, 0, 7}},
        {"a short exit code", {0, 0, 0, 3, 'X', 0, 0}},
    };
    for (const auto& c : invalid) {
        EXPECT_EQ(DecodeTerminalFrame(c.bytes).status, stTerminalFrameRead::Invalid) << c.what;
    }
}

}  // namespace

}  // namespace hx
