#pragma once
// The dispenser's answer to one frame, and the ways the console can spoil it.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace hx {

// STX, LEN, CMD, RESULT, data, BCC (XOR of every byte after STX).
std::vector<uint8_t> BuildDispenserAnswer(uint8_t command, uint8_t result,
                                          std::span<const uint8_t> data = {});

enum class enumAnswerFault {
    Silent,        // the command is carried out, its answer never written
    BadBcc,        // the answer's check byte is wrong
    WrongCommand,  // the answer names another command (0x33, none at all)
};

// "silent", "bad-bcc", "wrong-cmd"; nullopt for another name.
std::optional<enumAnswerFault> AnswerFaultByName(std::string_view name);

// The answer spoiled that way; nullopt when it is not to be written.
std::optional<std::vector<uint8_t>> SpoilAnswer(std::vector<uint8_t> answer, enumAnswerFault fault);

}  // namespace hx
