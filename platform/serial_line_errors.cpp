#include "platform/serial_line_errors.h"

namespace hx {

DWORD CommErrorsBetween(const stLineErrorCounts& before, const stLineErrorCounts& now) {
    DWORD errors = 0;
    const auto note = [&errors](std::uint64_t was, std::uint64_t is, DWORD bit) {
        if (was != is) {
            errors |= bit;
        }
    };
    note(before.frame, now.frame, CE_FRAME);
    note(before.overrun, now.overrun, CE_OVERRUN);
    note(before.parity, now.parity, CE_RXPARITY);
    note(before.breaks, now.breaks, CE_BREAK);
    note(before.bufferOverrun, now.bufferOverrun, CE_RXOVER);
    return errors;
}

DWORD EventsOfCommErrors(DWORD errors) {
    DWORD events = 0;
    if ((errors & CE_BREAK) != 0) {
        events |= EV_BREAK;
    }
    if ((errors & ~CE_BREAK) != 0) {
        events |= EV_ERR;
    }
    return events;
}

}  // namespace hx
