#include "tools/boardsim/command_reader.h"

#include <gtest/gtest.h>

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

// The PC's commands exactly as it sends them, whole and one by one.
TEST(CommandReaderTest, ReadsEveryCommandOfThePc) {
    const struct {
        Bytes bytes;
        enumBoardDevice device;
        enumBoardRequest request;
        std::optional<uint8_t> type;
        Bytes data;
    } cases[] = {
        {{0x71, 0x8E}, enumBoardDevice::Dispenser, enumBoardRequest::AllData, {}, {}},
        {{0x62, 0x9D}, enumBoardDevice::CoinSelector, enumBoardRequest::ChangedData, {}, {}},
        {{0x5B, 0xA4}, enumBoardDevice::BillAcceptor, enumBoardRequest::DataCommand, {}, {}},
        {{0x5B, 0xA4, 0x03, 0x10, 0x81, 0x00, 0x92},
         enumBoardDevice::BillAcceptor,
         enumBoardRequest::DataCommand,
         0x10,
         {0x81, 0x00}},
        {{0x5B, 0xA4, 0x03, 0x10, 0x02, 0x00, 0x11},
         enumBoardDevice::BillAcceptor,
         enumBoardRequest::DataCommand,
         0x10,
         {0x02, 0x00}},
        {{0x63, 0x9C, 0x02, 0x00, 0x03, 0x01},
         enumBoardDevice::CoinSelector,
         enumBoardRequest::DataCommand,
         0x00,
         {0x03}},
        {{0x73, 0x8C, 0x05, 0x00, 0x03, 0x00, 0x02, 0x01, 0x05},
         enumBoardDevice::Dispenser,
         enumBoardRequest::DataCommand,
         0x00,
         {0x03, 0x00, 0x02, 0x01}},
        {{0x73, 0x8C, 0x05, 0x01, 0x01, 0x00, 0x00, 0x00, 0x05},
         enumBoardDevice::Dispenser,
         enumBoardRequest::DataCommand,
         0x01,
         {0x01, 0x00, 0x00, 0x00}},
        {{0x73, 0x8C, 0x05, 0x04, 0x00, 0x1C, 0x11, 0x00, 0x0C},
         enumBoardDevice::Dispenser,
         enumBoardRequest::DataCommand,
         0x04,
         {0x00, 0x1C, 0x11, 0x00}},
    };
    for (const auto& c : cases) {
        // Whole, and cut after the length byte: a long command waits for its
        // rest (the two command bytes alone at the end of a read are the short form).
        for (const size_t cut : {c.bytes.size(), std::min<size_t>(3, c.bytes.size())}) {
            CBoardCommandReader reader;
            std::vector<stLinePiece> pieces = reader.Feed(std::span(c.bytes).first(cut));
            for (auto& piece : reader.Feed(std::span(c.bytes).subspan(cut))) {
                pieces.push_back(std::move(piece));
            }
            ASSERT_EQ(pieces.size(), 1u) << testing::PrintToString(c.bytes);
            ASSERT_TRUE(pieces[0].command) << pieces[0].problem;
            EXPECT_EQ(pieces[0].bytes, c.bytes);
            EXPECT_EQ(pieces[0].command->device, c.device);
            EXPECT_EQ(pieces[0].command->request, c.request);
            EXPECT_EQ(pieces[0].command->type, c.type);
            EXPECT_EQ(pieces[0].command->data, c.data);
        }
    }
}

TEST(CommandReaderTest, SetsAsideWhatIsNoCommandAndGoesOn) {
    const struct {
        Bytes bytes;
        std::vector<std::string> problems;  // "" for a command
    } cases[] = {
        {{0x00, 0xFF, 0x59, 0xA6}, {"not a command byte", ""}},
        {{0x59, 0x59, 0xA6}, {"command byte without its complement", ""}},
        {{0x5B, 0xA4, 0x03, 0x10, 0x81, 0x00, 0x93, 0x61, 0x9E}, {"bad BCC", ""}},
        {{0x63, 0x9C, 0x00, 0x71, 0x8E}, {"data command of length 0", ""}},
        {{0x59, 0xA6, 0x61, 0x9E, 0x5A, 0xA5}, {"", "", ""}},
    };
    for (const auto& c : cases) {
        CBoardCommandReader reader;
        std::vector<std::string> problems;
        for (const stLinePiece& piece : reader.Feed(c.bytes)) {
            problems.push_back(piece.command ? "" : piece.problem);
        }
        EXPECT_EQ(problems, c.problems) << testing::PrintToString(c.bytes);
    }
}

}  // namespace

}  // namespace hx
