#pragma once
// Files the server sends in chunks (the picture list and the room pictures),
// and the kiosk's request for one picture.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "kiosk/records/kiosk_command.h"

namespace hx {

inline constexpr size_t kFileChunkSize = 16436;
inline constexpr size_t kPictureRequestSize = 296;
// A file goes as chunks of this many bytes and ends with a shorter chunk,
// possibly empty; the data field itself is a little wider.
inline constexpr size_t kFullChunkBytes = 16384;
inline constexpr size_t kChunkFieldBytes = 16388;

struct stFileChunk {
    uint32_t command = CMD_PICTURE_CHUNK;  // or CMD_ROOM_IMAGES_INI
    int32_t index = 0;                     // into the kiosk's download list; pictures only
    int32_t offset = 0;                    // of this chunk in the file
    std::vector<uint8_t> data;
};

inline bool IsLastChunk(const stFileChunk& chunk) {
    return chunk.data.size() < kFullChunkBytes;
}

// The whole file as the chunks to send, in order; empty when the file is too
// large for the offsets to count.
std::vector<stFileChunk> SplitIntoChunks(uint32_t command, int32_t index,
                                         std::span<const uint8_t> file);

struct stPictureRequest {
    int32_t index = 0;     // the download position
    std::string fileName;  // relative to the picture folder
};

// Pack, PackBody and Unpack as for every message (room_records.h). A chunk
// with more data than its field holds is not packed; one whose count or
// offset is negative or whose count exceeds the field is not unpacked.
std::vector<uint8_t> Pack(const stFileChunk& chunk);
bool PackBody(const stFileChunk& chunk, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stFileChunk& chunk);

std::vector<uint8_t> Pack(const stPictureRequest& request);
bool PackBody(const stPictureRequest& request, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stPictureRequest& request);

}  // namespace hx
