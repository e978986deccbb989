#pragma once
// The card dispenser's serial protocol as the device sees it. The kiosk sends
// STX, LEN (0x20 plus the bytes from CMD up to ETX), CMD, parameters, ETX and
// the XOR of every byte before; the device answers each frame with one
// answer: STX, LEN, the CMD answered, a result character, data, and the XOR
// of every byte after STX.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace hx {

inline constexpr uint8_t kDispenserStx = 0x02;
inline constexpr uint8_t kDispenserEtx = 0x03;
inline constexpr uint8_t kDispenserLengthBase = 0x20;

enum class enumDispenserCommand : uint8_t {
    Reset = 0x20,
    Reboot = 0x21,
    Status = 0x30,
    Firmware = 0x31,
    Sensor = 0x32,
    Ready = 0x35,
    Write = 0x36,  // sector, block, 16 data bytes
    Read = 0x37,   // sector, block
    Capture = 0x38,
    Eject = 0x39,
};

// The answer's result character.
enum class enumDispenserResult : uint8_t {
    Ok = '0',
    Error = '1',
    NoCard = '2',    // the stack is empty
    StackLow = '3',  // the kiosk takes it for healthy
    CardHeld = '4',  // the last card still sits in the exit
    CardJam = '5',
};

inline constexpr size_t kCardBlockSize = 16;
inline constexpr size_t kFirmwareTextSize = 8;
inline constexpr size_t kSensorTextSize = 5;

// "status", "write", ...; empty for a byte that is no command.
std::string_view DispenserCommandName(uint8_t command);

}  // namespace hx
