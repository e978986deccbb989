#include "kiosk/cash/board_chunk.h"

#include <algorithm>

namespace hx {

namespace {

// LEN counts the type byte and the data; the data is cut at `end`, which is
// never past the bytes received, and at the record's data limit.
stBoardRecord RecordAt(std::span<const uint8_t> bytes, size_t lengthAt, size_t end) {
    stBoardRecord record;
    record.type = bytes[lengthAt + 1];
    const size_t dataAt = lengthAt + 2;
    const size_t declared = static_cast<size_t>(bytes[lengthAt]) - 1;
    const size_t available = end > dataAt ? end - dataAt : 0;
    record.length = std::min({declared, available, kMaxBoardRecordData});
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(dataAt), record.length,
                record.data.begin());
    return record;
}

void ParseSingleRecord(std::span<const uint8_t> chunk, stBoardChunk& result) {
    constexpr size_t kShortest = 4;
    if (chunk.size() < kShortest) {
        result.drop = enumBoardChunkDrop::SplitFrame;
        return;
    }
    if (chunk[1] == 0) {
        result.drop = enumBoardChunkDrop::BadLength;
        return;
    }
    result.records.push_back(RecordAt(chunk, 1, chunk.size()));
}

// Records of one frame (0x33 L payload BCC), each LEN TYPE data, inside the
// payload only; the walk moves by LEN + 1, so a LEN of 0 skips one byte.
void ProcessBoardFrame(std::span<const uint8_t> frame, stBoardChunk& result) {
    const size_t payloadEnd = frame.size() - 1;
    for (size_t at = 2; at + 1 < payloadEnd; at += static_cast<size_t>(frame[at]) + 1) {
        if (frame[at] >= 1) {
            result.records.push_back(RecordAt(frame, at, payloadEnd));
        }
    }
}

uint8_t FrameCheck(std::span<const uint8_t> frame) {
    uint8_t check = 0;
    for (size_t i = 1; i + 1 < frame.size(); ++i) {
        check ^= frame[i];
    }
    return check;
}

void ParseMergedFrames(std::span<const uint8_t> rest, stBoardChunk& result) {
    constexpr size_t kLeftOverDropped = 3;
    while (rest.size() > kLeftOverDropped) {
        const size_t payload = rest[1];
        if (payload == 0) {
            result.drop = enumBoardChunkDrop::BadLength;
            return;
        }
        if (payload + 3 > rest.size()) {
            result.drop = enumBoardChunkDrop::SplitFrame;
            return;
        }
        const auto frame = rest.first(payload + 3);
        if (FrameCheck(frame) != frame.back()) {
            result.drop = enumBoardChunkDrop::BadCheck;
            return;
        }
        ProcessBoardFrame(frame, result);
        rest = rest.subspan(frame.size());
    }
}

void ParseFrames(std::span<const uint8_t> chunk, stBoardChunk& result) {
    constexpr size_t kShortest = 4;
    if (chunk.size() < kShortest) {
        result.drop = enumBoardChunkDrop::SplitFrame;
        return;
    }
    const size_t payload = chunk[1];
    if (payload == 0) {
        result.drop = enumBoardChunkDrop::BadLength;
    } else if (chunk.size() < payload + 3) {
        result.drop = enumBoardChunkDrop::SplitFrame;
    } else if (chunk.size() == payload + 3) {
        // A read that holds exactly one frame is taken without its check.
        ProcessBoardFrame(chunk, result);
    } else {
        ParseMergedFrames(chunk, result);
    }
}

}  // namespace

stBoardChunk ParseBoardChunk(std::span<const uint8_t> chunk) {
    stBoardChunk result;
    constexpr size_t kAcknowledgementSize = 2;
    if (chunk.size() <= kAcknowledgementSize || chunk[0] == kBoardAck) {
        return result;
    }
    if (chunk[0] == kBoardSingleRecord) {
        ParseSingleRecord(chunk, result);
    } else if (chunk[0] == kBoardFrame) {
        ParseFrames(chunk, result);
    }
    return result;
}

bool IsBoardAnswer(std::span<const uint8_t> chunk) {
    return !chunk.empty() &&
           (chunk[0] == kBoardAck || chunk[0] == kBoardSingleRecord || chunk[0] == kBoardFrame);
}

bool IsBareAcknowledgement(std::span<const uint8_t> chunk) {
    return (chunk.size() == 1 || chunk.size() == 2) &&
           std::all_of(chunk.begin(), chunk.end(), [](uint8_t b) { return b == kBoardAck; });
}

}  // namespace hx
