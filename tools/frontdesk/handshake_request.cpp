#include "tools/frontdesk/handshake_request.h"

#include "net/byte_order.h"
#include "platform/fixed_field.h"

namespace hx {

bool ReadHandshakeRequest(std::span<const uint8_t> packet, stHandshakeRequest& request) {
    if (packet.size() < kHandshakeRequestSize ||
        LoadLe32(packet.data() + HDR_COMMAND) != CMD_HANDSHAKE) {
        return false;
    }
    const auto text = [&packet](size_t offset, size_t width) {
        return ReadTextField(packet.subspan(offset, width));
    };
    request.storedNo = LoadLe32(packet.data() + HDR_UNIQUE_NO);
    request.channelType = static_cast<int32_t>(LoadLe32(packet.data() + HSK_REQ_CHANNEL_TYPE));
    request.computerName = text(HSK_REQ_COMPUTER_NAME, kComputerNameField);
    request.localAddress = text(HSK_REQ_LOCAL_ADDRESS, kAddressField);
    request.firstMac = text(HSK_REQ_FIRST_MAC, kAddressField);
    request.secondMac = text(HSK_REQ_SECOND_MAC, kAddressField);
    request.firstKind = LoadLe32(packet.data() + HSK_REQ_FIRST_KIND);
    return true;
}

}  // namespace hx
