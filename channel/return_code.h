#pragma once
// The server's answer carrying the return code of a request (command 20001):
// the packet header, the code, and 256 bytes whose meaning the server fixes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "net/packet_header.h"

namespace hx {

struct stReturnCode {
    static constexpr size_t kSize = 296;
    static constexpr size_t kCodeOffset = 36;
    static constexpr size_t kDataOffset = 40;

    stHeader header;
    int32_t returnCode = 0;
    std::array<uint8_t, 256> data{};
};

// Both need at least stReturnCode::kSize bytes; false, touching nothing, otherwise.
bool UnpackReturnCode(std::span<const uint8_t> packet, stReturnCode& record);
bool PackReturnCode(const stReturnCode& record, std::span<uint8_t> packet);

}  // namespace hx
