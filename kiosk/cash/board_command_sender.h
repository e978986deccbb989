#pragma once
// Sends one board command at once: its bytes to the port, its row to the
// monitor. The queue sends through it, and so do the monitor's buttons.

#include <cstdint>
#include <functional>
#include <span>

#include "kiosk/cash/board_command.h"
#include "kiosk/cash/board_monitor.h"

namespace hx {

class CBoardCommandSender {
public:
    // Stands for the port's Write (100 ms time-out); true when all went out.
    using Write = std::function<bool(std::span<const uint8_t>)>;

    CBoardCommandSender(CBoardMonitor& monitor, Write write);

    void SetPortOpen(bool open) { m_portOpen = open; }
    bool IsPortOpen() const { return m_portOpen; }
    // Set by the inlet-open commands, cleared by the inlet-close ones.
    bool IsBillInletOpen() const { return m_billInletOpen; }

    void SendBoardCommand(const stControlBoardCommand& command);

private:
    void FollowBillInlet(int code);
    bool IsRowShown(int code, bool written) const;

    CBoardMonitor& m_monitor;
    Write m_write;
    bool m_portOpen = false;
    bool m_billInletOpen = false;
};

}  // namespace hx
