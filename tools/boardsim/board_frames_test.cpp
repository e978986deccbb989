#include "tools/boardsim/board_frames.h"

#include <gtest/gtest.h>

#include "tools/boardsim/board_records.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

TEST(BoardFramesTest, BuildsTheBytesTheKioskParses) {
    stBoardState oneThousand;
    oneThousand.bills = {1, 0, 0, 0};
    stBoardState door;
    door.acceptorFault = true;
    door.billInletOpen = true;
    const stBoardRecord bills = BillsCountedRecord(oneThousand);
    const stBoardRecord acceptor = BillAcceptorRecord(door, kDoorOpenGreeting);
    const struct {
        const char* what;
        Bytes built;
        Bytes expected;
    } cases[] = {
        {"acknowledgement", BuildBoardAck(), {0x11}},
        {"one bills record in a frame",
         BuildRecordFrame(std::vector{bills}),
         {0x33, 0x06, 0x05, 0x18, 0x01, 0x00, 0x00, 0x00, 0x1A}},
        {"single record, no check byte",
         BuildSingleRecord(acceptor),
         {0x22, 0x03, 0x1B, 0x05, 0x30}},
        {"two records, check byte over both",
         BuildRecordFrame(std::vector{acceptor, bills}),
         {0x33, 0x0A, 0x03, 0x1B, 0x05, 0x30, 0x05, 0x18, 0x01, 0x00, 0x00, 0x00, 0x3B}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.built, c.expected) << c.what;
    }
}

TEST(BoardFramesTest, RecordsCarryTheirCountsInTheirPositions) {
    stBoardState state;
    state.bills = {1, 2, 3, 4};
    state.coins = {7, 9};
    state.coinInletOpen = true;
    state.selectorFault = true;
    state.hopperFault = true;
    state.dispenser1 = {1000, 5, false, false, false};  // below the low level of 10
    state.dispenser2 = {5000, 50, true, true, false};
    const struct {
        stBoardRecord record;
        enumBoardRecord type;
        Bytes data;
    } cases[] = {
        {BillsCountedRecord(state), enumBoardRecord::BillsCounted, {1, 2, 3, 4}},
        {CoinsCountedRecord(state), enumBoardRecord::CoinsCounted, {0, 0, 7, 9}},
        {CoinSelectorRecord(state), enumBoardRecord::CoinSelectorStatus, {0x81}},
        {BillAcceptorRecord(state), enumBoardRecord::BillAcceptorStatus, {0x00, 0x00}},
        {DispenserStatusRecord(state), enumBoardRecord::DispenserStatus, {0x01, 0x00, 0x02, 0x05}},
        {DispenseResultRecord({3, 2, 1}), enumBoardRecord::DispenseResult, {3, 0, 2, 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.record.type, c.type);
        EXPECT_EQ(c.record.data, c.data) << static_cast<int>(c.type);
    }
}

TEST(BoardProtocolTest, CommandBytesNameTheirDeviceAndRequest) {
    const struct {
        uint8_t byte;
        enumBoardDevice device;
        enumBoardRequest request;
    } cases[] = {
        {0x59, enumBoardDevice::BillAcceptor, enumBoardRequest::AllData},
        {0x5A, enumBoardDevice::BillAcceptor, enumBoardRequest::ChangedData},
        {0x5B, enumBoardDevice::BillAcceptor, enumBoardRequest::DataCommand},
        {0x61, enumBoardDevice::CoinSelector, enumBoardRequest::AllData},
        {0x63, enumBoardDevice::CoinSelector, enumBoardRequest::DataCommand},
        {0x72, enumBoardDevice::Dispenser, enumBoardRequest::ChangedData},
        {0x73, enumBoardDevice::Dispenser, enumBoardRequest::DataCommand},
    };
    for (const auto& c : cases) {
        const auto decoded = DecodeBoardCommandByte(c.byte);
        ASSERT_TRUE(decoded) << int{c.byte};
        EXPECT_EQ(decoded->device, c.device) << int{c.byte};
        EXPECT_EQ(decoded->request, c.request) << int{c.byte};
    }
    for (const uint8_t other : {0x00, 0x11, 0x58, 0x5C, 0x60, 0x64, 0x70, 0x74, 0xFF}) {
        EXPECT_FALSE(DecodeBoardCommandByte(other)) << int{other};
    }
}

}  // namespace

}  // namespace hx
