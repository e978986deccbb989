#pragma once
// The device events the control board gives rise to, passed on only when a
// condition comes or goes: the board repeats a fault on every status report,
// and each repeat would otherwise reach the server (or the resend file) again.

#include <functional>
#include <map>

namespace hx {

enum enumBoardEvent : int {
    BOARD_EVENT_PORT = 101,
    BOARD_EVENT_DOOR_OPEN = 102,
    BOARD_EVENT_BILL_ACCEPTOR = 201,
    BOARD_EVENT_DISPENSER1_FAULT = 202,
    BOARD_EVENT_DISPENSER1_LOW = 203,
    BOARD_EVENT_DISPENSER2_FAULT = 205,
    BOARD_EVENT_DISPENSER2_LOW = 206,
};

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
