#include "kiosk/cash/board_command_queue.h"

namespace hx {

CBoardCommandQueue::CBoardCommandQueue(Send send) : m_send(std::move(send)) {}

void CBoardCommandQueue::Start() {
    if (m_window != nullptr) {
        m_window->SetTimer(kQueueTimer, kTickMs);
    }
}

void CBoardCommandQueue::QueueBoardCommand(int code, int x, int y, int z) {
    m_commands.push_back({code, x, y, z});
}

bool CBoardCommandQueue::OnTimer(UINT_PTR id) {
    if (id != kQueueTimer) {
        return false;
    }
    if (m_commands.empty()) {
        return true;
    }
    if (!m_answered && m_waitTicks < kWaitTicks) {
        ++m_waitTicks;
        return true;
    }
    // Taken off before sending: a failed write is not tried again.
    const stControlBoardCommand head = m_commands.front();
    m_commands.pop_front();
    m_answered = false;
    m_waitTicks = 0;
    if (m_send) {
        m_send(head);
    }
    return true;
}

}  // namespace hx
