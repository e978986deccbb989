#include "platform/thread_queue.h"

#include <algorithm>
#include <unordered_map>

#include "platform/loop_clock.h"

namespace hx {

namespace {

struct stQueueTable {
    std::unordered_map<std::uint32_t, std::shared_ptr<CThreadQueue>> queues;
    std::uint32_t nextThreadId = 1;
};

// Never destroyed: thread-exit hooks of late threads still reach it.
stQueueTable& Table() {
    static auto* table = new stQueueTable;
    return *table;
}

void WakeAllQueues() {
    std::lock_guard lock(LoopMutex());
    for (auto& [id, queue] : Table().queues) {
        queue->Wake();
    }
}

thread_local std::uint32_t t_threadId = 0;

// Ends the thread's queue when the thread exits.
class CQueueOwner {
public:
    ~CQueueOwner() {
        if (!m_queue) {
            return;
        }
        std::lock_guard lock(LoopMutex());
        m_queue->End();
        Table().queues.erase(m_queue->ThreadId());
    }

    std::shared_ptr<CThreadQueue>& Queue() { return m_queue; }

private:
    std::shared_ptr<CThreadQueue> m_queue;
};

thread_local CQueueOwner t_owner;

}  // namespace

std::mutex& LoopMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

bool CThreadQueue::Post(const MSG& msg) {
    if (!m_alive || m_posted.size() >= kMaxPostedMessages) {
        return false;
    }
    m_posted.push_back(msg);
    Wake();
    return true;
}

void CThreadQueue::PostQuit(int exitCode) {
    m_quitPending = true;
    m_quitCode = exitCode;
    Wake();
}

bool CThreadQueue::Send(stSentMessage& sent) {
    if (!m_alive) {
        return false;
    }
    m_sent.push_back(&sent);
    Wake();
    return true;
}

stSentMessage* CThreadQueue::TakeSent() {
    if (m_sent.empty()) {
        return nullptr;
    }
    stSentMessage* sent = m_sent.front();
    m_sent.pop_front();
    return sent;
}

void CThreadQueue::Complete(stSentMessage& sent, LRESULT result) {
    sent.result = result;
    sent.done = true;
    sent.sender->Wake();
}

std::optional<MSG> CThreadQueue::Retrieve(const stMessageFilter& filter, std::uint64_t now,
                                          bool remove) {
    auto posted = std::find_if(m_posted.begin(), m_posted.end(), [&](const MSG& msg) {
        return filter.Matches(msg.hwnd, msg.message);
    });
    if (posted != m_posted.end()) {
        const MSG msg = *posted;
        if (remove) {
            m_posted.erase(posted);
        }
        return msg;
    }
    if (m_quitPending) {
        if (remove) {
            m_quitPending = false;
        }
        return MSG{0, WM_QUIT, static_cast<WPARAM>(m_quitCode), 0, static_cast<std::uint32_t>(now)};
    }
    return m_timers.TakeDue(filter, now, remove);
}

bool CThreadQueue::HasWork(std::uint64_t now) const {
    return !m_sent.empty() || !m_posted.empty() || m_quitPending || m_timers.AnyDue(now);
}

void CThreadQueue::ForgetWindow(HWND hwnd) {
    m_timers.KillAllOf(hwnd);
    AbandonSent(hwnd);
}

void CThreadQueue::End() {
    m_alive = false;
    AbandonSent(0);
    m_posted.clear();
    m_timers = CTimerList();
    m_quitPending = false;
}

void CThreadQueue::AbandonSent(HWND hwnd) {
    std::erase_if(m_sent, [hwnd](stSentMessage* sent) {
        if (hwnd != 0 && sent->hwnd != hwnd) {
            return false;
        }
        Complete(*sent, 0);
        return true;
    });
}

void CThreadQueue::Wait(std::unique_lock<std::mutex>& lock, std::optional<std::uint64_t> dueMs) {
    CLoopClock::WaitUntil(m_wake, lock, dueMs);
}

std::shared_ptr<CThreadQueue> CurrentThreadQueue() {
    std::shared_ptr<CThreadQueue>& queue = t_owner.Queue();
    if (!queue) {
        [[maybe_unused]] static const bool listening = [] {
            CLoopClock::SetWakeListener(&WakeAllQueues);
            return true;
        }();
        stQueueTable& table = Table();
        queue = std::make_shared<CThreadQueue>(table.nextThreadId++);
        table.queues.emplace(queue->ThreadId(), queue);
        t_threadId = queue->ThreadId();
    }
    return queue;
}

std::shared_ptr<CThreadQueue> FindThreadQueue(std::uint32_t threadId) {
    auto found = Table().queues.find(threadId);
    return found == Table().queues.end() ? nullptr : found->second;
}

std::uint32_t CurrentThreadIdIfAny() {
    return t_threadId;
}

}  // namespace hx
