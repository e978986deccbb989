#pragma once
// How the desk addresses what it sends. An answer goes back to the request
// client that asked: its client key, sequence and service key. Anything sent
// on the desk's own initiative carries the kiosk's client key with sequence 0
// and service key 0, so the kiosk's dispatcher takes it; with a service key
// it would land in whichever request client happens to wait, and a room page
// would pass for an acknowledgement.

#include <cstdint>
#include <span>

#include "net/packet_header.h"

namespace hx {

// Both false, touching nothing, when a packet is shorter than a header.
bool AddressAnswer(const stHeader& request, std::span<uint8_t> packet);
// A container gets its own header and every packet inside addressed alike.
bool AddressUnsolicited(uint32_t clientKey, std::span<uint8_t> packet);

}  // namespace hx
