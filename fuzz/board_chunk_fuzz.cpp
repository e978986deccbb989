// Any bytes as one read from the control board: the parser stays inside the
// read, every record it yields holds at most ten data bytes, and applying the
// records to the devices keeps the amounts within what the counts allow.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "kiosk/cash/board_chunk.h"
#include "kiosk/cash/board_devices.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hx;
    // A buffer of exactly the input's size, so a sanitizer sees any overread.
    const std::vector<uint8_t> chunk(data, data + size);
    const stBoardChunk parsed = ParseBoardChunk(chunk);
    // Each record takes at least its length and type byte from the read.
    Require(parsed.records.size() <= size / 2);
    CBoardDevices devices{stBoardHooks{}};
    for (const stBoardRecord& record : parsed.records) {
        Require(record.length <= kMaxBoardRecordData);
        devices.Apply(record);
    }
    constexpr int kMostBills = 255 * 66 * 1000;
    Require(devices.BillsAmount() >= 0 && devices.BillsAmount() <= kMostBills);
    Require(devices.DispenserStateCode() >= 0 && devices.DispenserStateCode() <= 3);
    return 0;
}
