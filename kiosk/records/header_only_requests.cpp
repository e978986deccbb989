#include "kiosk/records/header_only_requests.h"

#include "kiosk/records/kiosk_command.h"
#include "kiosk/records/record_layout.h"

namespace hx {

size_t HeaderOnlyRequestSize(uint32_t command) {
    switch (command) {
        case CMD_ROOM_LIST:
            return kRoomListRequestSize;
        case CMD_SALES_SUMMARY:
            return kSalesSummaryRequestSize;
        case CMD_SETTLEMENT:
            return kSettlementRequestSize;
        case CMD_UPDATE_INFO:
            return kUpdateInfoRequestSize;
        case CMD_STARTUP:
            return kStartupNoticeSize;
        default:
            return 0;
    }
}

std::vector<uint8_t> PackHeaderOnlyRequest(uint32_t command) {
    const size_t size = HeaderOnlyRequestSize(command);
    if (size == 0) {
        return {};
    }
    return BuildPacket(command, size, [](std::span<uint8_t>) { return true; });
}

}  // namespace hx
