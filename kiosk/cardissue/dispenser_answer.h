#pragma once
// Reading one answer of the serial card dispenser: byte 0, byte 1, the
// command answered, the result character, the command's data, and a check
// byte that XORs every byte from byte 1 up to it. Nothing is read past the
// bytes received: an answer too short for its result, or for the data its
// command carries with '0', cannot be read.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "kiosk/cardissue/dispenser_frame.h"

namespace hx {

// A line of the dispenser's monitor.
struct stDispenserRow {
    std::string direction;  // "TX", "RX", or empty for the kiosk's own notes
    std::string command;
    std::string content;
};

struct stDispenserAnswer {
    int result = 0;  // enumDispenserResult
    // The command answered; none when the answer could not be read.
    std::optional<uint8_t> command;
    std::string text;                // firmware version or sensor text, with '0'
    std::optional<CardBlock> block;  // a Read's block, with '0'
    stDispenserRow row;
};

stDispenserAnswer ParseDispenserAnswer(std::span<const uint8_t> bytes);

}  // namespace hx
