#pragma once
// One read from the board, end to end: its dump on the monitor, the answer
// that lets the queue go on, and each record handed to the devices. Frames
// split across two reads are dropped, as the board's reads come whole in
// practice, but each drop is counted on the monitor so a technician sees a
// line that cuts frames.

#include <cstdint>
#include <span>

#include "kiosk/cash/board_command_queue.h"
#include "kiosk/cash/board_devices.h"
#include "kiosk/cash/board_monitor.h"

namespace hx {

class CBoardReceiver {
public:
    CBoardReceiver(CBoardMonitor& monitor, CBoardDevices& devices, CBoardCommandQueue& queue);

    void ParseBoardChunk(std::span<const uint8_t> chunk);
    int SplitFramesDropped() const { return m_splitFrames; }

private:
    CBoardMonitor& m_monitor;
    CBoardDevices& m_devices;
    CBoardCommandQueue& m_queue;
    int m_splitFrames = 0;
};

}  // namespace hx
