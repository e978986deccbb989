#pragma once
// The device events the control board gives rise to, passed on only when a
// condition comes or goes: the board repeats a fault on every status report,
// and each repeat would otherwise reach the server (or the resend file) again.

#include <functional>
#include <map>

#include "kiosk/support/device_event_text.h"

namespace hx {

// State 0: the condition is present; 1: it has cleared.
inline constexpr int kEventOccurred = 0;
inline constexpr int kEventCleared = 1;

class CBoardEvents {
public:
    using Hook = std::function<void(int code, int state)>;

    // Every condition starts cleared, except the port's, whose first
    // outcome is always told.
    explicit CBoardEvents(Hook hook);

    void Report(int code, bool present);
    bool IsPresent(int code) const;

private:
    Hook m_hook;
    std::map<int, bool> m_present;
};

}  // namespace hx
