#pragma once
// Reads a packet a kiosk sent: checks its header against the message that
// carried it and its length against its record, and names its fields for the
// journal. Malformed packets are reported with the reason, never trusted.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>
#include <string>

namespace hx {

struct stDecodedPacket {
    bool malformed = false;
    std::string reason;  // why it is malformed
    uint32_t command = 0;
    std::string name;       // what the command is, "unknown" when the desk does not know it
    nlohmann::json header;  // the header's fields
    nlohmann::json fields;  // the body's fields, by name
};

stDecodedPacket DecodePacket(std::span<const uint8_t> message);

}  // namespace hx
