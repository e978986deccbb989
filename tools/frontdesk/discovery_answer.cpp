#include "tools/frontdesk/discovery_answer.h"

#include <algorithm>
#include <string_view>

namespace hx {

namespace {

constexpr std::string_view kRequest = "ZP-AGENT";
constexpr std::string_view kAnswer = "ZP-SERVER";

}  // namespace

bool IsDiscoveryRequest(std::span<const uint8_t> datagram) {
    return datagram.size() >= kRequest.size() &&
           std::equal(kRequest.begin(), kRequest.end(), datagram.begin()) &&
           (datagram.size() == kRequest.size() || datagram[kRequest.size()] == 0);
}

std::optional<std::vector<uint8_t>> AnswerDiscovery(std::span<const uint8_t> datagram) {
    if (!IsDiscoveryRequest(datagram)) {
        return std::nullopt;
    }
    return std::vector<uint8_t>(kAnswer.begin(), kAnswer.end());
}

}  // namespace hx
