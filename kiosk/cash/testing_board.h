#pragma once
// For tests: a board record of a type with its data bytes.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "kiosk/cash/board_chunk.h"

namespace hx {

inline stBoardRecord BoardRecord(uint8_t type, const std::vector<uint8_t>& data) {
    stBoardRecord record;
    record.type = type;
    record.length = data.size();
    std::copy(data.begin(), data.end(), record.data.begin());
    return record;
}

}  // namespace hx
