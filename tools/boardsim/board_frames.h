#pragma once
// The board's answers as bytes: the acknowledgement, a single record (no
// check byte) and a frame of records closed by the XOR of its length and
// payload.

#include <cstdint>
#include <span>
#include <vector>

#include "tools/boardsim/board_protocol.h"
#include "tools/common/xor_check.h"

namespace hx {

struct stBoardRecord {
    enumBoardRecord type;
    std::vector<uint8_t> data;  // at most 10 bytes
};

std::vector<uint8_t> BuildBoardAck();
// 22, LEN, TYPE, data.
std::vector<uint8_t> BuildSingleRecord(const stBoardRecord& record);
// 33, L, records (LEN, TYPE, data each), BCC. The records must fit the length byte.
std::vector<uint8_t> BuildRecordFrame(std::span<const stBoardRecord> records);

}  // namespace hx
