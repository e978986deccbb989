#include "kiosk/records/file_chunk_records.h"

#include <algorithm>
#include <limits>

#include "kiosk/records/record_layout.h"

namespace hx {

namespace {

constexpr size_t kIndexOffset = 36;
constexpr size_t kOffsetOffset = 40;
constexpr size_t kCountOffset = 44;
constexpr size_t kDataOffset = 48;

using R = stPictureRequest;
constexpr stInt32Field<R> kRequestInts[] = {{36, &R::index}};
constexpr stTextField<R> kRequestTexts[] = {{40, 256, &R::fileName}};
constexpr stLayout<R> kRequestLayout{kRequestInts, {}, kRequestTexts};

}  // namespace

std::vector<stFileChunk> SplitIntoChunks(uint32_t command, int32_t index,
                                         std::span<const uint8_t> file) {
    if (file.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        return {};
    }
    std::vector<stFileChunk> chunks;
    size_t offset = 0;
    do {
        const size_t count = std::min(kFullChunkBytes, file.size() - offset);
        const auto data = file.subspan(offset, count);
        chunks.push_back(
            {command, index, static_cast<int32_t>(offset), {data.begin(), data.end()}});
        offset += count;
    } while (!IsLastChunk(chunks.back()));
    return chunks;
}

std::vector<uint8_t> Pack(const stFileChunk& chunk) {
    return BuildPacket(chunk.command, kFileChunkSize,
                       [&](std::span<uint8_t> packet) { return PackBody(chunk, packet); });
}

bool PackBody(const stFileChunk& chunk, std::span<uint8_t> packet) {
    if (chunk.data.size() > kChunkFieldBytes || !ClearBody(packet, kFileChunkSize)) {
        return false;
    }
    StoreInt32(packet, kIndexOffset, chunk.index);
    StoreInt32(packet, kOffsetOffset, chunk.offset);
    StoreInt32(packet, kCountOffset, static_cast<int32_t>(chunk.data.size()));
    std::copy(chunk.data.begin(), chunk.data.end(), packet.begin() + kDataOffset);
    return true;
}

bool Unpack(std::span<const uint8_t> packet, stFileChunk& chunk) {
    if (!IsPacketOf(packet, kFileChunkSize, {CMD_PICTURE_CHUNK, CMD_ROOM_IMAGES_INI})) {
        return false;
    }
    const int32_t offset = LoadInt32(packet, kOffsetOffset);
    const int32_t count = LoadInt32(packet, kCountOffset);
    if (offset < 0 || count < 0 || static_cast<size_t>(count) > kChunkFieldBytes) {
        return false;
    }
    const auto data = packet.subspan(kDataOffset, static_cast<size_t>(count));
    chunk.command = PacketCommand(packet);
    chunk.index = LoadInt32(packet, kIndexOffset);
    chunk.offset = offset;
    chunk.data.assign(data.begin(), data.end());
    return true;
}

std::vector<uint8_t> Pack(const stPictureRequest& request) {
    return BuildPacket(CMD_PICTURE_REQUEST, kPictureRequestSize,
                       [&](std::span<uint8_t> packet) { return PackBody(request, packet); });
}

bool PackBody(const stPictureRequest& request, std::span<uint8_t> packet) {
    return PackMessageBody(kRequestLayout, kPictureRequestSize, request, packet);
}

bool Unpack(std::span<const uint8_t> packet, stPictureRequest& request) {
    return UnpackMessage(kRequestLayout, kPictureRequestSize, {CMD_PICTURE_REQUEST}, packet,
                         request);
}

}  // namespace hx
