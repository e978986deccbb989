#include "platform/message_loop.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/kept_thread_messages.h"
#include "platform/loop_clock.h"
#include "platform/thread_queue.h"
#include "platform/window_registry.h"
#include "platform/wnd.h"

namespace hx {

namespace {

using CLoopLock = std::unique_lock<std::mutex>;

// Runs the procedures of messages other threads sent to this one, without the
// lock. Returns whether there were any.
bool HandleSentMessages(CLoopLock& lock, CThreadQueue& queue) {
    bool handledAny = false;
    while (stSentMessage* sent = queue.TakeSent()) {
        CWnd* window = FindOwnWindow(sent->hwnd);
        lock.unlock();
        const LRESULT result =
            window != nullptr ? window->WindowProc(sent->message, sent->wParam, sent->lParam) : 0;
        lock.lock();
        CThreadQueue::Complete(*sent, result);
        handledAny = true;
    }
    return handledAny;
}

enum class enumRead { Message, Nothing, BadFilter };

// One look at the queue, as GetMessage and PeekMessage take it.
enumRead ReadOnce(CLoopLock& lock, CThreadQueue& queue, const stMessageFilter& filter, bool remove,
                  MSG* msg) {
    HandleSentMessages(lock, queue);
    // A sent message may have destroyed the filter's window just now.
    if (filter.hwnd != 0 && FindOwnWindow(filter.hwnd) == nullptr) {
        return enumRead::BadFilter;
    }
    const std::optional<MSG> found = queue.Retrieve(filter, CLoopClock::Now(), remove);
    if (!found) {
        return enumRead::Nothing;
    }
    *msg = *found;
    return enumRead::Message;
}

LRESULT SendToOtherThread(CLoopLock& lock, CThreadQueue& owner, CThreadQueue& self,
                          stSentMessage& sent) {
    if (!owner.Send(sent)) {
        return 0;
    }
    while (!sent.done) {
        if (!HandleSentMessages(lock, self)) {
            self.Wait(lock, std::nullopt);
        }
    }
    return sent.result;
}

// Blocks until the calling thread has something to handle or the clock reads
// `end`. The manual clock would never get there by waiting, so it is stepped
// to the next due timer (or to `end`) instead.
void WaitForWorkUntil(std::uint64_t end) {
    CLoopLock lock(LoopMutex());
    const std::shared_ptr<CThreadQueue> queue = CurrentThreadQueue();
    const std::uint64_t now = CLoopClock::Now();
    if (now >= end || queue->HasWork(now)) {
        return;
    }
    const std::uint64_t wakeAt = std::min(end, queue->Timers().NextDue().value_or(end));
    if (CLoopClock::IsManual()) {
        lock.unlock();
        CLoopClock::AdvanceTo(wakeAt);
        return;
    }
    queue->Wait(lock, wakeAt);
}

}  // namespace

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard lock(LoopMutex());
    const stWindowEntry* entry = FindLiveWindow(hwnd);
    return entry != nullptr && entry->owner->Post({hwnd, message, wParam, lParam, GetTickCount()});
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CLoopLock lock(LoopMutex());
    const stWindowEntry* entry = FindLiveWindow(hwnd);
    if (entry == nullptr) {
        return 0;
    }
    const std::shared_ptr<CThreadQueue> self = CurrentThreadQueue();
    if (entry->owner == self) {
        CWnd* window = entry->window;
        lock.unlock();
        return window->WindowProc(message, wParam, lParam);
    }
    stSentMessage sent{hwnd, message, wParam, lParam, self.get()};
    return SendToOtherThread(lock, *entry->owner, *self, sent);
}

bool PostThreadMessage(std::uint32_t threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard lock(LoopMutex());
    const std::shared_ptr<CThreadQueue> queue = FindThreadQueue(threadId);
    return queue != nullptr && queue->Post({0, message, wParam, lParam, GetTickCount()});
}

std::uint32_t GetCurrentThreadId() {
    if (const std::uint32_t id = CurrentThreadIdIfAny(); id != 0) {
        return id;
    }
    std::lock_guard lock(LoopMutex());
    return CurrentThreadQueue()->ThreadId();
}

void PostQuitMessage(int exitCode) {
    std::lock_guard lock(LoopMutex());
    CurrentThreadQueue()->PostQuit(exitCode);
}

int GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (msg == nullptr) {
        return -1;
    }
    CLoopLock lock(LoopMutex());
    const std::shared_ptr<CThreadQueue> queue = CurrentThreadQueue();
    const stMessageFilter filter{hwnd, filterMin, filterMax};
    while (true) {
        switch (ReadOnce(lock, *queue, filter, true, msg)) {
            case enumRead::Message:
                return msg->message == WM_QUIT ? 0 : 1;
            case enumRead::BadFilter:
                return -1;
            case enumRead::Nothing:
                // Only timers that pass the filter: another window's due timer
                // would otherwise turn this wait into a busy loop.
                queue->Wait(lock, queue->Timers().NextDue(filter));
                break;
        }
    }
}

bool PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlag) {
    if (msg == nullptr) {
        return false;
    }
    CLoopLock lock(LoopMutex());
    const std::shared_ptr<CThreadQueue> queue = CurrentThreadQueue();
    const stMessageFilter filter{hwnd, filterMin, filterMax};
    return ReadOnce(lock, *queue, filter, (removeFlag & PM_REMOVE) != 0, msg) == enumRead::Message;
}

bool TranslateMessage(const MSG*) {
    return false;
}

LRESULT DispatchMessage(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == 0) {
        return 0;
    }
    CWnd* window = nullptr;
    {
        std::lock_guard lock(LoopMutex());
        window = FindOwnWindow(msg->hwnd);
    }
    return window != nullptr ? window->WindowProc(msg->message, msg->wParam, msg->lParam) : 0;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) {
    std::lock_guard lock(LoopMutex());
    const stWindowEntry* entry = FindLiveWindow(hwnd);
    if (entry == nullptr) {
        return 0;
    }
    entry->owner->Timers().Set(hwnd, id, elapseMs, CLoopClock::Now());
    // The owner may be waiting for a later timer.
    entry->owner->Wake();
    return id;
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
    std::lock_guard lock(LoopMutex());
    const stWindowEntry* entry = FindLiveWindow(hwnd);
    return entry != nullptr && entry->owner->Timers().Kill(hwnd, id);
}

std::uint32_t GetTickCount() {
    return static_cast<std::uint32_t>(CLoopClock::Now());
}

bool PumpMessagesFor(std::uint32_t ms, const std::function<bool(const MSG&)>& dropMessage) {
    const std::uint64_t end = CLoopClock::Now() + ms;
    CKeptThreadMessages forMainLoop;
    MSG msg;
    while (true) {
        while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            if (forMainLoop.Keep(msg)) {
                continue;
            }
            if (!dropMessage || !dropMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
            // What is due at `end` itself is still handled, but a flood of
            // messages cannot hold the wait beyond it.
            if (CLoopClock::Now() > end) {
                break;
            }
        }
        if (CLoopClock::Now() >= end) {
            return true;
        }
        WaitForWorkUntil(end);
    }
}

}  // namespace hx
