#pragma once
// The channel's worker thread: runs one polling pass after another until it is
// stopped, pausing 10 ms after a negative result, 5 ms after a positive one
// and 2 ms after 0. After a pass that found nothing, the optional idle wait
// may hold the loop longer (until input arrives, at most kIdleWaitMs), so an
// idle connection does not wake the thread 500 times a second. A pass that
// throws is recorded in the "Log" settings section (value name the local
// time, value the error text) and the loop goes on.
//
// Stopping waits a bounded time for a pass in progress. A pass stuck beyond
// that (in a handler, or a transport call nobody interrupted) is logged and
// left to end by itself: the loop keeps the pass and the idle wait, with
// whatever they hold, until it ends, and no pass starts after a stop.

#include <chrono>
#include <functional>
#include <memory>

namespace hx {

class CChannelThread {
public:
    using Pass = std::function<int()>;
    using IdleWait = std::function<void(std::chrono::milliseconds)>;
    static constexpr unsigned kStopLimitMs = 5000;
    static constexpr std::chrono::milliseconds kIdleWaitMs{48};

    explicit CChannelThread(Pass pass, IdleWait idleWait = nullptr);
    // Stops the loop; unless Stop was called, waits up to kStopLimitMs for it.
    ~CChannelThread();
    CChannelThread(const CChannelThread&) = delete;
    CChannelThread& operator=(const CChannelThread&) = delete;

    // Clears the running flag and waits up to limitMs for the loop to end.
    // False (and logged) when it did not end in time.
    bool Stop(unsigned limitMs = kStopLimitMs);
    bool IsRunning() const;

    // Worker loops running in the process.
    static int GetRunningCount();

private:
    struct stState;
    std::shared_ptr<stState> m_state;
    bool m_stopCalled = false;
};

// Stores a worker failure under "Log"; the text is cut to 512 bytes.
void RecordWorkerFailure(const char* text);

}  // namespace hx
