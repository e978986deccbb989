#pragma once
// The records the board reports, built from its state.

#include <vector>

#include "tools/boardsim/board_frames.h"
#include "tools/boardsim/board_state.h"

namespace hx {

stBoardRecord BillsCountedRecord(const stBoardState& state);
stBoardRecord BillAcceptorRecord(const stBoardState& state, uint8_t doorCode = kNoDoorNews);
stBoardRecord CoinsCountedRecord(const stBoardState& state);
stBoardRecord CoinSelectorRecord(const stBoardState& state);
stBoardRecord DispenserStatusRecord(const stBoardState& state);
stBoardRecord DispenseResultRecord(const stPayout& payout);

// Everything a device reports when asked for all its data, in that order.
std::vector<stBoardRecord> DeviceRecords(const stBoardState& state, enumBoardDevice device);

}  // namespace hx
