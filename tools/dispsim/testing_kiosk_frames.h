#pragma once
// For tests only: frames as the kiosk sends them to the dispenser, built here
// byte by byte so a test does not trust the simulator's own framing.

#include <cstdint>
#include <vector>

namespace hx {

// STX, LEN (0x21 plus the parameters), CMD, parameters, ETX, XOR of all before.
inline std::vector<uint8_t> KioskFrame(uint8_t command,
                                       const std::vector<uint8_t>& parameters = {}) {
    std::vector<uint8_t> frame{0x02, static_cast<uint8_t>(0x21 + parameters.size()), command};
    frame.insert(frame.end(), parameters.begin(), parameters.end());
    frame.push_back(0x03);
    uint8_t bcc = 0;
    for (const uint8_t byte : frame) {
        bcc ^= byte;
    }
    frame.push_back(bcc);
    return frame;
}

}  // namespace hx
