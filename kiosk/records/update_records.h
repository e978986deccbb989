#pragma once
// Start-up exchanges: the update information the kiosk asks for, and the
// server's answer to the start-up notice.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace hx {

inline constexpr size_t kUpdateInfoSize = 9268;
inline constexpr size_t kStartupAnswerSize = 296;

struct stUpdateInfo {
    std::string updateId;  // assigned to this kiosk by the server, passed on as is
};

// The answer's result that makes the kiosk show "Ready!".
inline constexpr int32_t kStartupReady = 1;

struct stStartupAnswer {
    int32_t result = 0;
};

// Pack, PackBody and Unpack as for every message (room_records.h).
std::vector<uint8_t> Pack(const stUpdateInfo& info);
bool PackBody(const stUpdateInfo& info, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stUpdateInfo& info);

std::vector<uint8_t> Pack(const stStartupAnswer& answer);
bool PackBody(const stStartupAnswer& answer, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stStartupAnswer& answer);

}  // namespace hx
