#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/loop_test_support.h"
#include "platform/message_loop.h"
#include "platform/thread_queue.h"

namespace hx {

namespace {

constexpr UINT kWakeUp = WM_USER + 99;

// True once anything waits in the calling thread's queue; here that can only
// be another thread's sent message.
bool SentMessageWaits() {
    std::lock_guard lock(LoopMutex());
    return CurrentThreadQueue()->HasWork(CLoopClock::Now());
}

void WaitUntilASentMessageWaits() {
    while (!SentMessageWaits()) {
        std::this_thread::yield();
    }
}

// Runs the calling thread's loop until `done` (set by one of its windows) is true.
void RunLoopUntil(const bool& done) {
    MSG msg;
    while (!done && GetMessage(&msg) > 0) {
        DispatchMessage(&msg);
    }
}

using SendMessageTest = CManualClockTest;

TEST_F(SendMessageTest, OnTheOwnThreadIsADirectCall) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.onMessage = [](UINT, WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam * 2); };
    wnd.PostMessage(WM_USER, 1);

    EXPECT_EQ(wnd.SendMessage(WM_USER + 1, 21), 42);
    ASSERT_EQ(wnd.seen.size(), 1u);  // the posted one still waits
    EXPECT_EQ(wnd.seen[0].message, WM_USER + 1u);
}

TEST_F(SendMessageTest, FromAnotherThreadRunsOnTheOwnerAndReturnsItsResult) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    std::uint32_t handledOn = 0;
    bool done = false;
    wnd.onMessage = [&](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == kWakeUp) {
            done = true;
            return 0;
        }
        handledOn = GetCurrentThreadId();
        return static_cast<LRESULT>(wParam + 1);
    };
    const HWND hwnd = wnd.GetSafeHwnd();
    LRESULT result = 0;
    std::thread sender([&] {
        result = SendMessage(hwnd, WM_USER, 41, 0);
        PostMessage(hwnd, kWakeUp, 0, 0);
    });
    RunLoopUntil(done);
    sender.join();
    EXPECT_EQ(result, 42);
    EXPECT_EQ(handledOn, GetCurrentThreadId());
}

// A window on its own thread that answers WM_USER.
struct stPeer {
    CRecordingWnd wnd;
    bool answered = false;
    LRESULT resultOfOwnSend = 0;

    void Setup(LRESULT answer) {
        wnd.onMessage = [this, answer](UINT message, WPARAM, LPARAM) -> LRESULT {
            if (message != WM_USER) {
                return 0;
            }
            answered = true;
            wnd.PostMessage(kWakeUp);
            return answer;
        };
    }
};

TEST_F(SendMessageTest, TwoThreadsSendingToEachOtherAtOnceBothFinish) {
    stPeer peers[2];
    std::barrier bothCreated(2);
    auto run = [&](int self) {
        stPeer& me = peers[self];
        me.Setup(100 + self);
        ASSERT_TRUE(me.wnd.Create());
        bothCreated.arrive_and_wait();
        me.resultOfOwnSend = SendMessage(peers[1 - self].wnd.GetSafeHwnd(), WM_USER, 0, 0);
        RunLoopUntil(me.answered);
    };
    std::thread first(run, 0);
    std::thread second(run, 1);
    first.join();
    second.join();
    EXPECT_EQ(peers[0].resultOfOwnSend, 101);
    EXPECT_EQ(peers[1].resultOfOwnSend, 100);
}

enum class enumTakedown { DestroyWindow, EndThread };

// The receiving thread destroys its window, or ends, while our send waits.
LRESULT SendWhileReceiverGoes(enumTakedown takedown, std::unique_ptr<CRecordingWnd>& wnd) {
    std::atomic<HWND> hwnd{0};
    std::atomic<bool> sendReturned{false};
    std::thread receiver([&] {
        wnd = std::make_unique<CRecordingWnd>();
        wnd->onMessage = [](UINT, WPARAM, LPARAM) { return LRESULT{5}; };
        ASSERT_TRUE(wnd->Create());
        hwnd = wnd->GetSafeHwnd();
        WaitUntilASentMessageWaits();
        if (takedown == enumTakedown::DestroyWindow) {
            wnd->DestroyWindow();
            // Stay alive: the sender must be let go by the window's end alone.
            while (!sendReturned.load()) {
                std::this_thread::yield();
            }
        }
    });
    while (hwnd.load() == 0) {
        std::this_thread::yield();
    }
    const LRESULT result = SendMessage(hwnd.load(), WM_USER, 0, 0);
    sendReturned = true;
    receiver.join();
    return result;
}

TEST_F(SendMessageTest, ReturnsZeroWhenTheWindowIsDestroyedFirst) {
    std::unique_ptr<CRecordingWnd> wnd;
    EXPECT_EQ(SendWhileReceiverGoes(enumTakedown::DestroyWindow, wnd), 0);
    EXPECT_TRUE(wnd->WParamsOf(WM_USER).empty());
}

TEST_F(SendMessageTest, ReturnsZeroWhenTheOwnerThreadEnds) {
    std::unique_ptr<CRecordingWnd> wnd;
    EXPECT_EQ(SendWhileReceiverGoes(enumTakedown::EndThread, wnd), 0);
    EXPECT_TRUE(wnd->seen.empty());
    const HWND orphan = wnd->GetSafeHwnd();
    EXPECT_FALSE(PostMessage(orphan, WM_USER, 0, 0));
    EXPECT_EQ(SendMessage(orphan, WM_USER, 0, 0), 0);
    wnd.reset();  // the handle is released from a thread that does not own it
}

}  // namespace

}  // namespace hx
