#include "platform/wnd.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/loop_test_support.h"

namespace hx {

namespace {

using Windows = CManualClockTest;

TEST_F(Windows, BelongToTheThreadThatCreatedThem) {
    CRecordingWnd wnd;
    EXPECT_EQ(wnd.GetSafeHwnd(), 0u);
    ASSERT_TRUE(wnd.Create());
    EXPECT_FALSE(wnd.Create());
    const HWND hwnd = wnd.GetSafeHwnd();
    EXPECT_EQ(CWnd::FromHandle(hwnd), &wnd);
    EXPECT_EQ(CWnd::FromHandle(0), nullptr);

    std::thread([&] {
        EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
        EXPECT_FALSE(wnd.DestroyWindow());
        EXPECT_TRUE(wnd.PostMessage(WM_USER, 1));
    }).join();
    EXPECT_EQ(wnd.GetSafeHwnd(), hwnd);
    EXPECT_TRUE(PumpMessagesFor(0));
    EXPECT_EQ(wnd.WParamsOf(WM_USER), (std::vector<WPARAM>{1}));
}

TEST_F(Windows, DestroyWindowSendsDestroyAndStopsTheTimers) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    int destroyCalls = 0;
    wnd.onMessage = [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_DESTROY) {
            ++destroyCalls;
            EXPECT_NE(wnd.GetSafeHwnd(), 0u);  // still usable while handling it
            EXPECT_FALSE(wnd.DestroyWindow());
        }
        return LRESULT{0};
    };
    wnd.SetTimer(1, 100);
    CLoopClock::Advance(100);

    ASSERT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(destroyCalls, 1);
    EXPECT_EQ(wnd.GetSafeHwnd(), 0u);
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
    EXPECT_FALSE(wnd.DestroyWindow());
    EXPECT_TRUE(wnd.Create());  // a destroyed window can be created again
}

TEST_F(Windows, ShowWindowTellsWhetherTheWindowWasVisible) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    EXPECT_FALSE(wnd.IsWindowVisible()) << "hidden until shown";
    EXPECT_FALSE(wnd.ShowWindow(SW_SHOW));
    EXPECT_TRUE(wnd.ShowWindow(SW_HIDE));
    EXPECT_FALSE(wnd.IsWindowVisible());
}

TEST_F(Windows, CloseDestroysAPlainWindow) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    EXPECT_EQ(wnd.SendMessage(WM_CLOSE), 0);
    EXPECT_EQ(wnd.GetSafeHwnd(), 0u);
    ASSERT_EQ(wnd.seen.size(), 2u);
    EXPECT_EQ(wnd.seen[1].message, WM_DESTROY);
}

}  // namespace

}  // namespace hx
