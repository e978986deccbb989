#pragma once
// Field-by-field packing shared by every record of this folder. Each record
// lists its fields once, as offsets into its bytes, and these helpers write
// and read them little-endian; nothing is ever cast over the bytes. Callers
// check the span's size before packing or unpacking fields.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace hx {

template <class Record>
struct stInt32Field {
    size_t offset;
    int32_t Record::*member;
};

template <class Record>
struct stInt64Field {
    size_t offset;
    int64_t Record::*member;
};

// Zero-terminated CP949 text, cut to width - 1 bytes.
template <class Record>
struct stTextField {
    size_t offset;
    size_t width;
    std::string Record::*member;
};

template <class Record>
struct stLayout {
    std::span<const stInt32Field<Record>> ints;
    std::span<const stInt64Field<Record>> times = {};
    std::span<const stTextField<Record>> texts = {};
};

void StoreInt32(std::span<uint8_t> bytes, size_t offset, int32_t value);
int32_t LoadInt32(std::span<const uint8_t> bytes, size_t offset);
void StoreInt64(std::span<uint8_t> bytes, size_t offset, int64_t value);
int64_t LoadInt64(std::span<const uint8_t> bytes, size_t offset);
void StoreText(std::span<uint8_t> bytes, size_t offset, size_t width, const std::string& utf8);
std::string LoadText(std::span<const uint8_t> bytes, size_t offset, size_t width);

template <class Record>
void PackFields(const stLayout<Record>& layout, const Record& record, std::span<uint8_t> bytes) {
    for (const auto& field : layout.ints) {
        StoreInt32(bytes, field.offset, record.*field.member);
    }
    for (const auto& field : layout.times) {
        StoreInt64(bytes, field.offset, record.*field.member);
    }
    for (const auto& field : layout.texts) {
        StoreText(bytes, field.offset, field.width, record.*field.member);
    }
}

template <class Record>
void UnpackFields(const stLayout<Record>& layout, std::span<const uint8_t> bytes, Record& record) {
    for (const auto& field : layout.ints) {
        record.*field.member = LoadInt32(bytes, field.offset);
    }
    for (const auto& field : layout.times) {
        record.*field.member = LoadInt64(bytes, field.offset);
    }
    for (const auto& field : layout.texts) {
        record.*field.member = LoadText(bytes, field.offset, field.width);
    }
}

// Zeroes everything after the header up to size, leaving the header as the
// caller set it. False, touching nothing, when the packet is shorter.
bool ClearBody(std::span<uint8_t> packet, size_t size);

// A packet of size bytes: command, size and magic in its header, the body
// from fillBody. Empty when fillBody fails.
std::vector<uint8_t> BuildPacket(uint32_t command, size_t size,
                                 const std::function<bool(std::span<uint8_t>)>& fillBody);

// 0 when the packet is too short to hold a header.
uint32_t PacketCommand(std::span<const uint8_t> packet);

// True when the packet holds at least size bytes and carries one of commands.
bool IsPacketOf(std::span<const uint8_t> packet, size_t size,
                std::initializer_list<uint32_t> commands);

// A record embedded in others: its size bytes at the start of the span.
template <class Record>
bool PackRecord(const stLayout<Record>& layout, size_t size, const Record& record,
                std::span<uint8_t> out) {
    if (out.size() < size) {
        return false;
    }
    const auto bytes = out.first(size);
    std::fill(bytes.begin(), bytes.end(), uint8_t{0});
    PackFields(layout, record, bytes);
    return true;
}

template <class Record>
bool UnpackRecord(const stLayout<Record>& layout, size_t size, std::span<const uint8_t> in,
                  Record& record) {
    if (in.size() < size) {
        return false;
    }
    UnpackFields(layout, in.first(size), record);
    return true;
}

// A message whose fields all sit in one layout, offsets counted from the
// start of the header.
template <class Record>
bool PackMessageBody(const stLayout<Record>& layout, size_t size, const Record& record,
                     std::span<uint8_t> packet) {
    if (!ClearBody(packet, size)) {
        return false;
    }
    PackFields(layout, record, packet);
    return true;
}

template <class Record>
bool UnpackMessage(const stLayout<Record>& layout, size_t size,
                   std::initializer_list<uint32_t> commands, std::span<const uint8_t> packet,
                   Record& record) {
    if (!IsPacketOf(packet, size, commands)) {
        return false;
    }
    UnpackFields(layout, packet, record);
    return true;
}

}  // namespace hx
