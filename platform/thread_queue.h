#pragma once
// One message queue per thread, made when the thread first uses the loop and
// ended when the thread exits. All queues and the window table share one lock:
// the kiosk has few threads and little traffic, and a single lock leaves no
// lock order to get wrong.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/message_filter.h"
#include "platform/timer_list.h"
#include "platform/window_types.h"

namespace hx {

std::mutex& LoopMutex();

class CThreadQueue;

// A message sent from another thread. It lives on the sender's stack; the
// sender waits until it is done.
struct stSentMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    CThreadQueue* sender;
    LRESULT result = 0;
    bool done = false;
};

// Every member needs LoopMutex() held.
class CThreadQueue {
public:
    // As on Windows: a runaway poster gets failures instead of eating memory.
    static constexpr std::size_t kMaxPostedMessages = 10000;

    explicit CThreadQueue(std::uint32_t threadId) : m_threadId(threadId) {}

    std::uint32_t ThreadId() const { return m_threadId; }
    bool IsAlive() const { return m_alive; }

    bool Post(const MSG& msg);
    void PostQuit(int exitCode);

    // Queues a message sent from another thread; false when this thread has ended.
    bool Send(stSentMessage& sent);
    stSentMessage* TakeSent();
    // Hands the result back and wakes the sender.
    static void Complete(stSentMessage& sent, LRESULT result);

    // Posted messages first, then the quit request, then due timers.
    std::optional<MSG> Retrieve(const stMessageFilter& filter, std::uint64_t now, bool remove);
    // Whether an unfiltered read would find something to do.
    bool HasWork(std::uint64_t now) const;

    CTimerList& Timers() { return m_timers; }

    // The window is gone: its timers stop and senders waiting on it get 0.
    // Its posted messages stay and are dropped when dispatched.
    void ForgetWindow(HWND hwnd);
    // The thread has ended: every waiting sender gets 0, the rest is dropped.
    void End();

    void Wait(std::unique_lock<std::mutex>& lock, std::optional<std::uint64_t> dueMs);
    void Wake() { m_wake.notify_all(); }

private:
    // Senders waiting on `hwnd` (0: on any window) get 0.
    void AbandonSent(HWND hwnd);

    const std::uint32_t m_threadId;
    bool m_alive = true;
    std::deque<MSG> m_posted;
    std::deque<stSentMessage*> m_sent;
    CTimerList m_timers;
    bool m_quitPending = false;
    int m_quitCode = 0;
    std::condition_variable m_wake;
};

// Lock held. The calling thread's queue, made on first use.
std::shared_ptr<CThreadQueue> CurrentThreadQueue();
// Lock held. Null when no live thread has that id.
std::shared_ptr<CThreadQueue> FindThreadQueue(std::uint32_t threadId);
// No lock needed. The calling thread's id, 0 while it has no queue.
std::uint32_t CurrentThreadIdIfAny();

}  // namespace hx
