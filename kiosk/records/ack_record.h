#pragma once
// The server's acknowledgement of a report (and its answer to a settlement):
// the request's command, at least 104 bytes, a result at 40.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace hx {

inline constexpr size_t kAckSize = 104;

struct stAck {
    uint32_t command = 0;  // the acknowledged request's
    int32_t result = 0;    // above 0 acknowledges
};

inline bool IsAcknowledged(const stAck& ack) {
    return ack.result > 0;
}

// Pack, PackBody and Unpack as for every message (room_records.h), for any
// command.
std::vector<uint8_t> Pack(const stAck& ack);
bool PackBody(const stAck& ack, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stAck& ack);

}  // namespace hx
