#pragma once
// The kiosk's configuration and options as the server sets them.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace hx {

inline constexpr size_t kKioskConfigSize = 108;
inline constexpr size_t kKioskOptionsSize = 560;

// Hours run 0 to 24, where 24 means 0. A restriction of 0 allows that stay
// type at any time.
struct stKioskConfig {
    int32_t rentalRestricted = 0;
    int32_t rentalStartHour = 0;
    int32_t rentalStartMinute = 0;
    int32_t rentalEndHour = 0;
    int32_t rentalEndMinute = 0;
    int32_t sleepRestricted = 0;
    int32_t sleepStartHour = 0;
    int32_t sleepStartMinute = 0;
    int32_t sleepEndHour = 0;
    int32_t sleepEndMinute = 0;
    int32_t showAllRooms = 0;            // 0 hides the rooms that are not available
    int32_t dispenser1Denomination = 0;  // 0 = 1,000, 1 = 5,000, other = 10,000 won
    int32_t dispenser1LowStock = 0;      // notes
    int32_t dispenser2Denomination = 0;
    int32_t dispenser2LowStock = 0;
    int32_t hotelRegion = 0;      // written on guest cards
    int32_t hotelSequence = 0;    // written on guest cards
    int32_t dispenserDriver = 0;  // 0 = serial dispenser, other = the maker's library
};

struct stKioskOptions {
    std::string deviceName;    // printed on the card receipt
    int32_t paymentTypes = 0;  // 0 = cash only, 1 = card only, other = both
    int32_t sound = 0;
    int32_t inService = 0;
    std::string ticketFooter;
};

// Pack, PackBody and Unpack as for every message (room_records.h).
std::vector<uint8_t> Pack(const stKioskConfig& config);
bool PackBody(const stKioskConfig& config, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stKioskConfig& config);

std::vector<uint8_t> Pack(const stKioskOptions& options);
bool PackBody(const stKioskOptions& options, std::span<uint8_t> packet);
bool Unpack(std::span<const uint8_t> packet, stKioskOptions& options);

}  // namespace hx
