#pragma once
// The board takes one command at a time: the queue sends the next command
// at the first tick (every 300 ms) after the board answered the previous
// one, or at the third tick without an answer, so a silent board slows the
// kiosk down but never stops it. The first command goes at once.

#include <cstddef>
#include <deque>
#include <functional>

#include "kiosk/cash/board_command.h"
#include "platform/wnd.h"

namespace hx {

class CBoardCommandQueue {
public:
    using Send = std::function<void(const stControlBoardCommand&)>;

    static constexpr UINT_PTR kQueueTimer = 3;
    static constexpr UINT kTickMs = 300;
    // Ticks to wait for an answer before the next command goes anyway.
    static constexpr int kWaitTicks = 2;

    explicit CBoardCommandQueue(Send send);

    // The window whose timer 3 paces the queue (WM_TIMER comes to OnTimer);
    // the timer runs from Start for the window's life.
    void Attach(CWnd& window) { m_window = &window; }
    void Start();

    void QueueBoardCommand(int code, int x = -1, int y = -1, int z = -1);
    void OnBoardAnswer() { m_answered = true; }
    // True for the queue's timer.
    bool OnTimer(UINT_PTR id);

    size_t Pending() const { return m_commands.size(); }

private:
    Send m_send;
    CWnd* m_window = nullptr;
    std::deque<stControlBoardCommand> m_commands;
    bool m_answered = true;
    int m_waitTicks = 0;
};

}  // namespace hx
