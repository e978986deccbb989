#pragma once
// What the desk does with a request a kiosk sent: the answer routed back to
// the request client that asked, packets for the asking kiosk's dispatcher,
// and changes every connected kiosk must see. Reports are acknowledged only
// once the ledger holds them, so a kiosk never drops a report the desk lost.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tools/frontdesk/desk_state.h"

namespace hx {

using Bytes = std::vector<uint8_t>;

struct stKioskIdentity {
    uint32_t terminalNo = 0;
    uint32_t clientKey = 0;
};

struct stReplies {
    std::vector<Bytes> answers;     // addressed to the request that asked
    std::vector<Bytes> pushes;      // for the asking kiosk, not yet addressed
    std::vector<Bytes> broadcasts;  // for every connected kiosk, not yet addressed
    std::string note;               // worth a journal line, when not empty
};

// The packet is a whole, well-formed request (see DecodePacket); a picture or
// sale request whose record cannot be read anyway is not answered or is
// refused, with a note saying so.
stReplies DispatchRequest(stDeskState& state, const stKioskIdentity& kiosk,
                          std::span<const uint8_t> packet, int64_t now);

}  // namespace hx
