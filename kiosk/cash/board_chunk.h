#pragma once
// The parser of what the board sends, one read at a time: an
// acknowledgement (0x11), a single record (0x22 LEN TYPE data) or frames of
// records (0x33 L payload BCC), several frames possibly merged in one read.
// It never reads outside the chunk and always moves forward, whatever the
// bytes; a frame split across two reads is not put together again but
// dropped, and the result says so.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace hx {

inline constexpr uint8_t kBoardAck = 0x11;
inline constexpr uint8_t kBoardSingleRecord = 0x22;
inline constexpr uint8_t kBoardFrame = 0x33;
// A record carries at most this many data bytes; longer ones are cut.
inline constexpr size_t kMaxBoardRecordData = 10;

struct stBoardRecord {
    uint8_t type = 0;
    std::array<uint8_t, kMaxBoardRecordData> data{};
    size_t length = 0;
};

enum class enumBoardChunkDrop {
    None,
    SplitFrame,  // a frame longer than what is left of the read
    BadCheck,    // a merged frame whose BCC does not match
    BadLength,   // a length byte of 0
};

struct stBoardChunk {
    std::vector<stBoardRecord> records;
    enumBoardChunkDrop drop = enumBoardChunkDrop::None;
};

stBoardChunk ParseBoardChunk(std::span<const uint8_t> chunk);

// The board answered something: the chunk starts with 0x11, 0x22 or 0x33.
bool IsBoardAnswer(std::span<const uint8_t> chunk);
// The chunk is exactly 11 or 11 11.
bool IsBareAcknowledgement(std::span<const uint8_t> chunk);

}  // namespace hx
