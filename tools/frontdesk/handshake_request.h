#pragma once
// The kiosk's handshake request (13) as the desk reads it.

#include <cstdint>
#include <span>

#include "channel/net_channel_handshake.h"

namespace hx {

// False when the packet is not a whole handshake request.
bool ReadHandshakeRequest(std::span<const uint8_t> packet, stHandshakeRequest& request);

}  // namespace hx
