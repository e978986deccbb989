#pragma once
// Shared by the message loop's tests: a window that records what reaches it,
// a fixture that runs each test on the manual clock with an empty queue, and
// a bounded pumping wait for what another thread must deliver.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/loop_clock.h"
#include "platform/message_loop.h"
#include "platform/wnd.h"
#include "tests/support/wait_until.h"

namespace hx {

struct stSeenMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::uint32_t tick;
};

class CRecordingWnd : public CWnd {
public:
    // Runs after recording; its result is the procedure's result.
    std::function<LRESULT(UINT, WPARAM, LPARAM)> onMessage;
    std::vector<stSeenMessage> seen;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back({message, wParam, lParam, GetTickCount()});
        return onMessage ? onMessage(message, wParam, lParam)
                         : CWnd::WindowProc(message, wParam, lParam);
    }

    std::vector<WPARAM> WParamsOf(UINT message) const {
        std::vector<WPARAM> values;
        for (const stSeenMessage& msg : seen) {
            if (msg.message == message) {
                values.push_back(msg.wParam);
            }
        }
        return values;
    }
};

inline void DiscardWaitingMessages() {
    MSG msg;
    while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) {
    }
}

// Handles the calling thread's messages until `done` holds, for at most
// `limit` of real time. Only for what another thread or a socket must deliver.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = kTestPatience) {
    return WaitUntil(
        [&] {
            PumpMessagesFor(0);
            return done();
        },
        limit);
}

class CManualClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        CLoopClock::UseManualClock();
        DiscardWaitingMessages();
    }
    void TearDown() override {
        DiscardWaitingMessages();
        CLoopClock::UseRealClock();
    }
};

}  // namespace hx
