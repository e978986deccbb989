#include "kiosk/records/list_page_records.h"

#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/record_layout.h"

namespace hx {

namespace {

constexpr size_t kPageCountOffset = 40;
constexpr size_t kPageNoOffset = 44;
constexpr size_t kEntriesOffset = 48;

int32_t EntryKey(const stRoom4Kiosk& room) {
    return room.roomNo;
}

int32_t EntryKey(const stClass4Class& roomClass) {
    return roomClass.classId;
}

// What distinguishes the two kinds of page.
template <class Entry>
struct stPageShape {
    uint32_t command;
    size_t size;
    size_t entrySize;
    size_t capacity;
};

constexpr stPageShape<stRoom4Kiosk> kRoomShape{CMD_ROOM_LIST, kRoomPageSize, kRoomRecordSize,
                                               kRoomsPerPage};
constexpr stPageShape<stClass4Class> kClassShape{CMD_CLASS_LIST, kClassPageSize, kClassRecordSize,
                                                 kClassesPerPage};

template <class Entry>
bool PackPageBody(const stPageShape<Entry>& shape, int32_t pageCount, int32_t pageNo,
                  const std::vector<Entry>& entries, std::span<uint8_t> packet) {
    if (entries.size() > shape.capacity || !ClearBody(packet, shape.size)) {
        return false;
    }
    StoreInt32(packet, kPageCountOffset, pageCount);
    StoreInt32(packet, kPageNoOffset, pageNo);
    for (size_t i = 0; i < entries.size(); ++i) {
        Pack(entries[i], packet.subspan(kEntriesOffset + i * shape.entrySize));
    }
    return true;
}

template <class Entry>
bool UnpackPage(const stPageShape<Entry>& shape, std::span<const uint8_t> packet,
                int32_t& pageCount, int32_t& pageNo, std::vector<Entry>& entries) {
    if (!IsPacketOf(packet, shape.size, {shape.command})) {
        return false;
    }
    pageCount = LoadInt32(packet, kPageCountOffset);
    pageNo = LoadInt32(packet, kPageNoOffset);
    entries.clear();
    for (size_t i = 0; i < shape.capacity; ++i) {
        Entry entry;
        Unpack(packet.subspan(kEntriesOffset + i * shape.entrySize), entry);
        if (EntryKey(entry) < 1) {
            break;
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace

std::vector<uint8_t> Pack(const stRoomPage& page) {
    return BuildPacket(CMD_ROOM_LIST, kRoomPageSize,
                       [&](std::span<uint8_t> packet) { return PackBody(page, packet); });
}

bool PackBody(const stRoomPage& page, std::span<uint8_t> packet) {
    return PackPageBody(kRoomShape, page.pageCount, page.pageNo, page.rooms, packet);
}

bool Unpack(std::span<const uint8_t> packet, stRoomPage& page) {
    return UnpackPage(kRoomShape, packet, page.pageCount, page.pageNo, page.rooms);
}

std::vector<uint8_t> Pack(const stClassPage& page) {
    return BuildPacket(CMD_CLASS_LIST, kClassPageSize,
                       [&](std::span<uint8_t> packet) { return PackBody(page, packet); });
}

bool PackBody(const stClassPage& page, std::span<uint8_t> packet) {
    return PackPageBody(kClassShape, page.pageCount, page.pageNo, page.classes, packet);
}

bool Unpack(std::span<const uint8_t> packet, stClassPage& page) {
    return UnpackPage(kClassShape, packet, page.pageCount, page.pageNo, page.classes);
}

}  // namespace hx
