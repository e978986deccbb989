#pragma once
// Line errors as the driver counts them, turned into the comm error bits and
// events a listener reports. Drivers count; Windows hands out bits that a
// fetch clears, so the listener remembers the counts it last saw.

#include <cstdint>

#include "platform/serial_codes.h"

namespace hx {

struct stLineErrorCounts {
    std::uint64_t frame = 0;
    std::uint64_t overrun = 0;  // the UART's own
    std::uint64_t parity = 0;
    std::uint64_t breaks = 0;
    std::uint64_t bufferOverrun = 0;  // the driver's input queue
};

// CE_* bits for every count that changed. A count that went down (a driver
// reloaded under us) counts as a change too: something happened on the line.
DWORD CommErrorsBetween(const stLineErrorCounts& before, const stLineErrorCounts& now);
// EV_BREAK for a break, EV_ERR for any other line error.
DWORD EventsOfCommErrors(DWORD errors);

}  // namespace hx
