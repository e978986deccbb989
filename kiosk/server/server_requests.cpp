#include "kiosk/server/server_requests.h"

#include <functional>
#include <span>
#include <vector>

#include "channel/net_client.h"
#include "kiosk/records/file_chunk_records.h"
#include "kiosk/records/header_only_requests.h"
#include "kiosk/records/kiosk_command.h"

namespace hx {

namespace {

// Builds the record on a client of the kiosk's service (header stamped by the
// client, body zero) and sends it.
int SendRequest(CNetChannel* channel, uint32_t command, size_t size,
                const std::function<bool(std::span<uint8_t>)>& fillBody = {}) {
    if (channel == nullptr) {
        return 0;
    }
    CNetClient client(channel, SERVICE_KIOSK);
    std::vector<uint8_t> record(size);
    if (!client.InitClientHeader(record, static_cast<enumCommand>(command))) {
        return 0;
    }
    if (fillBody && !fillBody(record)) {
        return 0;
    }
    return client.SendPacket(record.data(), static_cast<int>(record.size()));
}

}  // namespace

int SendRoomListRequest(CNetChannel* channel) {
    return SendRequest(channel, CMD_ROOM_LIST, kRoomListRequestSize);
}

int SendPictureRequest(CNetChannel* channel, int position, const std::string& fileName) {
    const stPictureRequest request{position, fileName};
    return SendRequest(channel, CMD_PICTURE_REQUEST, kPictureRequestSize,
                       [&](std::span<uint8_t> record) { return PackBody(request, record); });
}

int SendStartupNotice(CNetChannel* channel) {
    return SendRequest(channel, CMD_STARTUP, kStartupNoticeSize);
}

}  // namespace hx
