#include "tools/boardsim/board_frames.h"

namespace hx {

namespace {

// LEN counts the type byte and the data.
void AppendRecord(const stBoardRecord& record, std::vector<uint8_t>& bytes) {
    bytes.push_back(static_cast<uint8_t>(record.data.size() + 1));
    bytes.push_back(static_cast<uint8_t>(record.type));
    bytes.insert(bytes.end(), record.data.begin(), record.data.end());
}

}  // namespace

std::vector<uint8_t> BuildBoardAck() {
    return {kBoardAck};
}

std::vector<uint8_t> BuildSingleRecord(const stBoardRecord& record) {
    std::vector<uint8_t> bytes{kBoardSingleRecord};
    AppendRecord(record, bytes);
    return bytes;
}

std::vector<uint8_t> BuildRecordFrame(std::span<const stBoardRecord> records) {
    std::vector<uint8_t> bytes{kBoardFrame, 0};
    for (const stBoardRecord& record : records) {
        AppendRecord(record, bytes);
    }
    bytes[1] = static_cast<uint8_t>(bytes.size() - 2);
    bytes.push_back(XorOfBytes(std::span(bytes).subspan(1)));
    return bytes;
}

}  // namespace hx
