#include "kiosk/screen/guest_steps.h"

#include <gtest/gtest.h>

#include "platform/loop_test_support.h"

namespace hx {

namespace {

using Calls = std::vector<std::string>;

class GuestSteps : public CManualClockTest {
protected:
    void SetUp() override {
        CManualClockTest::SetUp();
        m_window.onMessage = [this](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            return message == WM_TIMER && m_steps.OnTimer(wParam) ? 0 : 1;
        };
        m_window.Create();
        m_steps.Attach(m_window);
    }

    Calls Take() { return std::exchange(m_calls, {}); }

    Calls m_calls;
    CGuestSteps m_steps{
        [this](std::string_view command, std::string_view) { m_calls.emplace_back(command); },
        [this](int code, std::string_view text) {
            m_calls.push_back("step " + std::to_string(code) + " " + std::string(text));
        }};
    CRecordingWnd m_window;
};

TEST_F(GuestSteps, AGuestWhoWalksAwayIsSentHomeOnceAfterThirtySeconds) {
    m_steps.OnSelectRoom("305||스탠다드");
    EXPECT_EQ(Take(), (Calls{"StartProgress", "step 0 305||스탠다드"}));
    PumpMessagesFor(29999);
    EXPECT_TRUE(Take().empty());
    PumpMessagesFor(1);
    EXPECT_EQ(Take(), (Calls{"GoHome", "step 19 "}));
    PumpMessagesFor(60000);
    EXPECT_TRUE(Take().empty()) << "once";
}

TEST_F(GuestSteps, TouchesAfterAStayTypeGiveMoreTimeUntilTheScreenMovesOn) {
    m_steps.OnSelectCheckInType(305, "대실||305");
    EXPECT_EQ(Take(), (Calls{"StartProgress", "step 1 대실||305"}));
    EXPECT_EQ(m_steps.RoomNumber(), 305);

    PumpMessagesFor(20000);
    m_steps.OnTouch(enumTouchedButton::Previous);
    EXPECT_EQ(Take(), (Calls{"StartProgress", "step 17 "}));
    PumpMessagesFor(29999);
    EXPECT_TRUE(Take().empty()) << "the touch restarted the 30 s";

    m_steps.OnTouch(enumTouchedButton::Move);
    EXPECT_EQ(Take(), (Calls{"StopProgress"}));
    m_steps.OnTouch(enumTouchedButton::Home);
    m_steps.OnTouch(enumTouchedButton::Other);
    EXPECT_EQ(Take(), (Calls{"step 18 "})) << "no restart after MoveBtn";
    PumpMessagesFor(60000);
    EXPECT_TRUE(Take().empty());
}

TEST_F(GuestSteps, NoTouchDuringThePaymentSendsTheGuestHome) {
    m_steps.OnSelectCheckInType(201, "숙박||201");
    m_steps.OnPaymentChosen(201);
    Take();
    m_steps.OnTouch(enumTouchedButton::Other);
    PumpMessagesFor(60000);
    EXPECT_TRUE(Take().empty());
}

TEST_F(GuestSteps, HomeStopsTheTimerAndReportsTheRoom) {
    m_steps.OnSelectCheckInType(std::nullopt, "숙박");
    m_steps.OnSelectCheckInType(201, "숙박||201");
    Take();
    m_steps.OnHome();
    EXPECT_EQ(Take(), (Calls{"step 16 201"}));
    EXPECT_FALSE(m_steps.IsIdleTimerRestartable());
    m_steps.OnTouch(enumTouchedButton::Other);
    PumpMessagesFor(60000);
    EXPECT_TRUE(Take().empty());
}

}  // namespace

}  // namespace hx
