#include "channel/return_code.h"

#include <algorithm>

#include "net/byte_order.h"

namespace hx {

bool UnpackReturnCode(std::span<const uint8_t> packet, stReturnCode& record) {
    if (packet.size() < stReturnCode::kSize) {
        return false;
    }
    record.header = UnpackHeader(packet);
    record.returnCode = static_cast<int32_t>(LoadLe32(&packet[stReturnCode::kCodeOffset]));
    std::copy_n(&packet[stReturnCode::kDataOffset], record.data.size(), record.data.begin());
    return true;
}

bool PackReturnCode(const stReturnCode& record, std::span<uint8_t> packet) {
    if (packet.size() < stReturnCode::kSize) {
        return false;
    }
    PackHeader(record.header, packet);
    StoreLe32(&packet[stReturnCode::kCodeOffset], static_cast<uint32_t>(record.returnCode));
    std::copy(record.data.begin(), record.data.end(), &packet[stReturnCode::kDataOffset]);
    return true;
}

}  // namespace hx
