#pragma once
// The desk's side of discovery: a kiosk looking for its server sends
// "ZP-AGENT"; the desk answers "ZP-SERVER" to the sender alone, never to a
// broadcast address, and the kiosk connects to whoever answered.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace hx {

inline constexpr uint16_t kDiscoveryPort = 5001;

// "ZP-AGENT", alone or followed by a zero byte (and whatever comes after it).
bool IsDiscoveryRequest(std::span<const uint8_t> datagram);
// The answer to a datagram: "ZP-SERVER" for a request, nothing otherwise.
std::optional<std::vector<uint8_t>> AnswerDiscovery(std::span<const uint8_t> datagram);

}  // namespace hx
