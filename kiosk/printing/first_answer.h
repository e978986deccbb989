#pragma once
// Reading a printer's answer: the first bytes that arrive within a time
// limit, waited for in slices so a line that has died ends the wait early.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/serial.h"

namespace hx {

// How many bytes came (0 when none came in time); at most buffer.size().
size_t ReadFirstBytes(CSerial& port, std::span<uint8_t> buffer, std::chrono::milliseconds limit,
                      std::chrono::milliseconds slice);

}  // namespace hx
