#include "platform/message_loop.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "platform/loop_test_support.h"
#include "platform/thread_queue.h"

namespace hx {

namespace {

std::vector<WPARAM> Sequence(WPARAM count) {
    std::vector<WPARAM> values;
    for (WPARAM i = 0; i < count; ++i) {
        values.push_back(i);
    }
    return values;
}

using PostedMessages = CManualClockTest;

TEST_F(PostedMessages, KeepTheirOrderWithinAndAcrossThreads) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    const HWND hwnd = wnd.GetSafeHwnd();
    for (WPARAM i = 0; i < 100; ++i) {
        ASSERT_TRUE(PostMessage(hwnd, WM_USER, i, 0));
    }
    auto postFromWorker = [hwnd](UINT message) {
        return std::thread([hwnd, message] {
            for (WPARAM i = 0; i < 1000; ++i) {
                PostMessage(hwnd, message, i, 0);
            }
        });
    };
    std::thread first = postFromWorker(WM_USER + 1);
    std::thread second = postFromWorker(WM_USER + 2);
    first.join();
    second.join();

    EXPECT_TRUE(PumpMessagesFor(0));
    EXPECT_EQ(wnd.WParamsOf(WM_USER), Sequence(100));
    EXPECT_EQ(wnd.WParamsOf(WM_USER + 1), Sequence(1000));
    EXPECT_EQ(wnd.WParamsOf(WM_USER + 2), Sequence(1000));
    ASSERT_EQ(wnd.seen.size(), 2100u);
    EXPECT_EQ(wnd.seen[99].message, WM_USER);  // posted before the workers started
}

TEST_F(PostedMessages, QuitComesAfterEveryPostedMessage) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.PostMessage(WM_USER, 1);
    PostQuitMessage(3);
    wnd.PostMessage(WM_USER, 2);

    MSG msg;
    ASSERT_EQ(GetMessage(&msg), 1);
    EXPECT_EQ(msg.wParam, 1u);
    ASSERT_EQ(GetMessage(&msg), 1);
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_EQ(GetMessage(&msg), 0);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));  // taken once only
}

TEST_F(PostedMessages, FullQueueRefusesMoreUntilItIsRead) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    for (std::size_t i = 0; i < CThreadQueue::kMaxPostedMessages; ++i) {
        ASSERT_TRUE(wnd.PostMessage(WM_USER));
    }
    EXPECT_FALSE(wnd.PostMessage(WM_USER));
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
    EXPECT_TRUE(wnd.PostMessage(WM_USER));
}

TEST_F(PostedMessages, MessageForADestroyedWindowIsDropped) {
    auto wnd = std::make_unique<CRecordingWnd>();
    ASSERT_TRUE(wnd->Create());
    const HWND gone = wnd->GetSafeHwnd();
    ASSERT_TRUE(PostMessage(gone, WM_USER, 1, 0));
    wnd.reset();

    EXPECT_FALSE(PostMessage(gone, WM_USER, 2, 0));
    EXPECT_EQ(SendMessage(gone, WM_USER, 3, 0), 0);
    EXPECT_EQ(SetTimer(gone, 1, 100), 0u);
    CRecordingWnd successor;
    ASSERT_TRUE(successor.Create());
    EXPECT_NE(successor.GetSafeHwnd(), gone);

    // The message posted before is still read, but dispatching it touches
    // nothing (the sanitizer build would catch a read of the freed window).
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, gone);
    EXPECT_EQ(DispatchMessage(&msg), 0);
    EXPECT_TRUE(successor.seen.empty());

    const MSG noWindow{0, WM_USER, 0, 0, 0};
    EXPECT_EQ(DispatchMessage(&noWindow), 0);
}

TEST_F(PostedMessages, FiltersLeaveOtherMessagesQueued) {
    CRecordingWnd first;
    CRecordingWnd second;
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    second.PostMessage(WM_USER, 1);
    first.PostMessage(WM_USER + 5, 2);
    PostThreadMessage(GetCurrentThreadId(), WM_APP, 3, 0);

    MSG msg;
    ASSERT_EQ(GetMessage(&msg, first.GetSafeHwnd()), 1);
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessage(&msg, 0, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);

    CRecordingWnd other;
    ASSERT_TRUE(other.Create());
    const HWND gone = other.GetSafeHwnd();
    ASSERT_TRUE(other.DestroyWindow());
    EXPECT_EQ(GetMessage(&msg, gone), -1);
}

using ThreadMessages = CManualClockTest;

TEST_F(ThreadMessages, ReachGetMessageWithNoWindow) {
    const std::uint32_t self = GetCurrentThreadId();
    EXPECT_NE(self, 0u);
    std::thread([self] { EXPECT_TRUE(PostThreadMessage(self, 1050, 7, 8)); }).join();

    MSG msg;
    ASSERT_EQ(GetMessage(&msg), 1);
    EXPECT_EQ(msg.hwnd, 0u);
    EXPECT_EQ(msg.message, 1050u);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.lParam, 8);
    EXPECT_EQ(DispatchMessage(&msg), 0);
}

TEST_F(ThreadMessages, UnknownOrEndedThreadsRefuseThem) {
    std::uint32_t ended = 0;
    std::thread([&ended] { ended = GetCurrentThreadId(); }).join();
    EXPECT_NE(ended, GetCurrentThreadId());
    EXPECT_FALSE(PostThreadMessage(ended, WM_USER, 0, 0));
    EXPECT_FALSE(PostThreadMessage(0, WM_USER, 0, 0));
}

using Timers = CManualClockTest;

std::vector<std::pair<WPARAM, std::uint32_t>> TimerFirings(const CRecordingWnd& wnd,
                                                           std::uint32_t start) {
    std::vector<std::pair<WPARAM, std::uint32_t>> firings;
    for (const stSeenMessage& msg : wnd.seen) {
        if (msg.message == WM_TIMER) {
            firings.emplace_back(msg.wParam, msg.tick - start);
        }
    }
    return firings;
}

TEST_F(Timers, FireInDueOrderAcrossALongPump) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    const std::uint32_t start = GetTickCount();
    ASSERT_EQ(wnd.SetTimer(1, 100), 1u);
    ASSERT_EQ(wnd.SetTimer(2, 250), 2u);

    EXPECT_TRUE(PumpMessagesFor(1000));

    const std::vector<std::pair<WPARAM, std::uint32_t>> expected = {
        {1, 100}, {1, 200}, {2, 250}, {1, 300}, {1, 400}, {1, 500},  {2, 500},
        {1, 600}, {1, 700}, {2, 750}, {1, 800}, {1, 900}, {1, 1000}, {2, 1000}};
    EXPECT_EQ(TimerFirings(wnd, start), expected);
    EXPECT_EQ(GetTickCount() - start, 1000u);
}

TEST_F(Timers, SeveralDueTimersComeInDueOrder) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.SetTimer(1, 300);
    wnd.SetTimer(2, 100);
    wnd.SetTimer(3, 200);
    CLoopClock::Advance(300);

    EXPECT_TRUE(PumpMessagesFor(0));
    EXPECT_EQ(wnd.WParamsOf(WM_TIMER), (std::vector<WPARAM>{2, 3, 1}));
}

TEST_F(Timers, NeverOvertakeAWaitingPostedMessage) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.SetTimer(1, 50);
    CLoopClock::Advance(100);
    wnd.PostMessage(WM_USER);

    MSG msg;
    ASSERT_EQ(GetMessage(&msg), 1);
    EXPECT_EQ(msg.message, WM_USER);
    ASSERT_EQ(GetMessage(&msg), 1);
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.wParam, 1u);
}

TEST_F(Timers, ALongJumpOfTheClockGivesOneTimerMessage) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.SetTimer(1, 100);
    CLoopClock::Advance(1000);

    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_FALSE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
    // The next period counts from when the message was taken.
    CLoopClock::Advance(99);
    EXPECT_FALSE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
    CLoopClock::Advance(1);
    EXPECT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
}

TEST_F(Timers, KillTimerTakesBackADueTimer) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.SetTimer(1, 100);
    CLoopClock::Advance(100);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_TIMER);

    EXPECT_TRUE(wnd.KillTimer(1));
    EXPECT_FALSE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
    EXPECT_FALSE(wnd.KillTimer(1));
    CLoopClock::Advance(1000);
    EXPECT_FALSE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
}

TEST_F(Timers, SettingAnIdAgainRestartsItWithTheNewPeriod) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    const std::uint32_t start = GetTickCount();
    wnd.SetTimer(1, 100);
    CLoopClock::Advance(60);
    wnd.SetTimer(1, 300);
    wnd.SetTimer(2, 0);  // raised to the minimum period, never a busy loop

    EXPECT_TRUE(PumpMessagesFor(340));
    const std::vector<std::pair<WPARAM, std::uint32_t>> firstOfOne = {{1, 360}};
    auto firings = TimerFirings(wnd, start);
    std::erase_if(firings, [](const auto& firing) { return firing.first != 1; });
    EXPECT_EQ(firings, firstOfOne);
    EXPECT_EQ(wnd.WParamsOf(WM_TIMER).size(), 1u + 340 / CTimerList::kMinimumElapseMs);
}

TEST_F(Timers, AThreadBlockedInGetMessageWakesWhenTheClockIsMovedElsewhere) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.SetTimer(1, 100);
    std::thread mover([] { CLoopClock::Advance(100); });
    MSG msg;
    ASSERT_EQ(GetMessage(&msg), 1);
    EXPECT_EQ(msg.message, WM_TIMER);
    mover.join();
}

TEST(RealClockTimers, WakeAWaitingLoop) {
    CLoopClock::UseRealClock();
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.SetTimer(1, 10);
    MSG msg;
    ASSERT_EQ(GetMessage(&msg, wnd.GetSafeHwnd()), 1);
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_TRUE(PumpMessagesFor(30));
    EXPECT_FALSE(wnd.WParamsOf(WM_TIMER).empty());
}

using Pumping = CManualClockTest;

TEST_F(Pumping, QuitEndsTheWaitAndStaysPosted) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.onMessage = [](UINT message, WPARAM, LPARAM) {
        if (message == WM_USER) {
            PostQuitMessage(4);
        }
        return LRESULT{0};
    };
    wnd.SetTimer(1, 100);
    wnd.PostMessage(WM_USER);
    const std::uint32_t start = GetTickCount();

    EXPECT_FALSE(PumpMessagesFor(1000));
    EXPECT_EQ(GetTickCount(), start);
    EXPECT_TRUE(wnd.WParamsOf(WM_TIMER).empty());
    MSG msg;
    ASSERT_EQ(GetMessage(&msg), 0);
    EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(Pumping, LeavesThreadMessagesToTheMainLoopInOrder) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    const std::uint32_t self = GetCurrentThreadId();
    ASSERT_TRUE(PostThreadMessage(self, WM_USER + 7, 1, 0));
    wnd.PostMessage(WM_USER, 2);
    ASSERT_TRUE(PostThreadMessage(self, WM_USER + 7, 3, 0));

    EXPECT_TRUE(PumpMessagesFor(40));
    EXPECT_EQ(wnd.WParamsOf(WM_USER), (std::vector<WPARAM>{2}));
    MSG msg;
    for (WPARAM expected : {1, 3}) {
        ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.hwnd, 0u);
        EXPECT_EQ(msg.message, WM_USER + 7u);
        EXPECT_EQ(msg.wParam, expected);
    }
    EXPECT_FALSE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
}

TEST_F(Pumping, DropsWhatTheCallerRejects) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.PostMessage(WM_USER, 1);
    wnd.PostMessage(WM_USER + 1, 2);
    wnd.PostMessage(WM_USER, 3);

    EXPECT_TRUE(PumpMessagesFor(40, [](const MSG& msg) { return msg.message == WM_USER + 1; }));
    EXPECT_EQ(wnd.WParamsOf(WM_USER), (std::vector<WPARAM>{1, 3}));
    EXPECT_TRUE(wnd.WParamsOf(WM_USER + 1).empty());
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
}

}  // namespace

}  // namespace hx
