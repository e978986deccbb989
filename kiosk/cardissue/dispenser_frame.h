#pragma once
// The frames the kiosk sends to the serial card dispenser: STX, LEN (0x20
// plus the bytes from CMD up to ETX), CMD, parameters, ETX and a check byte
// that XORs every byte before it.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace hx {

enum enumDispenserCommand : uint8_t {
    DISPENSER_SET_RESET = 0x20,
    DISPENSER_SET_REBOOT = 0x21,
    DISPENSER_GET_STATUS = 0x30,
    DISPENSER_GET_FIRMWARE = 0x31,
    DISPENSER_GET_SENSOR = 0x32,
    DISPENSER_READY = 0x35,
    DISPENSER_WRITE = 0x36,
    DISPENSER_READ = 0x37,
    DISPENSER_CAPTURE = 0x38,
    DISPENSER_EJECT_DROP = 0x39,
    DISPENSER_EJECT_CATCH = 0x40,  // only ever seen in answers
};

inline constexpr size_t kCardBlockSize = 16;
using CardBlock = std::array<uint8_t, kCardBlockSize>;

// "Get Status", "Write", …; empty for a byte that is no command.
std::string_view DispenserCommandName(uint8_t command);

// A command without parameters.
std::vector<uint8_t> BuildDispenserFrame(enumDispenserCommand command,
                                         std::span<const uint8_t> parameters = {});
// Writes a card block; its 16th byte goes out XORed with the first 15, so a
// block that ends in 0 carries their check there.
std::vector<uint8_t> BuildWriteFrame(uint8_t sector, uint8_t block, const CardBlock& data);
std::vector<uint8_t> BuildReadFrame(uint8_t sector, uint8_t block);

// Bytes of data a '0' answer to `command` carries (firmware, sensor text,
// a card block); 0 for the others.
size_t AnswerDataSize(uint8_t command);

// XOR of the bytes.
uint8_t XorOf(std::span<const uint8_t> bytes);

}  // namespace hx
