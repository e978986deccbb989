#include "kiosk/server/server_requests.h"

#include "kiosk/records/file_chunk_records.h"
#include "kiosk/records/header_only_requests.h"
#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/sale_records.h"
#include "kiosk/server/server_exchange.h"

namespace hx {

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

int SendSaleRequest(CNetChannel* channel, const stSaleRequest& request) {
    return SendRequest(channel, CMD_SALE, kSaleRequestSize,
                       [&](std::span<uint8_t> record) { return PackBody(request, record); });
}

}  // namespace hx
