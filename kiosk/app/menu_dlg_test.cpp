#include "kiosk/app/menu_dlg.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/loop_test_support.h"

namespace hx {

namespace {

class MenuDlgTest : public CManualClockTest {
protected:
    void SetUp() override {
        CManualClockTest::SetUp();
        m_tray = std::make_unique<CMenuDlg>(
            CMenuDlg::stHooks{[this] {
                                  ++m_stateReads;
                                  return m_channelState;
                              },
                              [this] { m_quitSteps.push_back("shutdown"); },
                              {},
                              [this](std::string_view line) { m_log.emplace_back(line); },
                              [this] { m_quitSteps.push_back("normal end"); }});
        ASSERT_TRUE(m_tray->Create());
    }
    void TearDown() override {
        m_tray.reset();
        CManualClockTest::TearDown();
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessage(m_tray->GetSafeHwnd(), message, wParam, lParam);
    }

    std::unique_ptr<CMenuDlg> m_tray;
    int m_channelState = 0;
    int m_stateReads = 0;
    std::vector<std::string> m_quitSteps;
    std::vector<std::string> m_log;
};

TEST_F(MenuDlgTest, ShowsTheChannelStateAndSettlesOnTheLastRecordedOneAfter100Ms) {
    EXPECT_TRUE(m_tray->HasTrayIcon());
    EXPECT_EQ(m_tray->GetShownIconState(), 0);

    Send(CMenuDlg::kChannelStateMessage, 1);
    EXPECT_EQ(m_tray->GetShownIconState(), 1);

    // The channel connected meanwhile: the timer shows where it ended up.
    m_channelState = 2;
    PumpMessagesFor(99);
    EXPECT_EQ(m_tray->GetShownIconState(), 1);
    PumpMessagesFor(1);
    EXPECT_EQ(m_tray->GetShownIconState(), 2);
    EXPECT_EQ(CMenuDlg::IconResourceOf(2), 131);

    // A state without an icon is recorded but changes nothing on screen.
    Send(CMenuDlg::kChannelStateMessage, 7);
    EXPECT_EQ(m_tray->GetShownIconState(), 2);
}

TEST_F(MenuDlgTest, ReapplyingTheLastStateStartsNoTimer) {
    m_channelState = 2;
    Send(CMenuDlg::kChannelStateMessage, CMenuDlg::kReapplyLastState);
    EXPECT_EQ(m_tray->GetShownIconState(), 2);
    EXPECT_EQ(m_stateReads, 1);
    PumpMessagesFor(1000);
    EXPECT_EQ(m_stateReads, 1);
}

TEST_F(MenuDlgTest, QuitFromTheMenuReportsANormalEndBeforeTheShutdownSteps) {
    EXPECT_EQ(Send(CMenuDlg::kAcceptedMessageA), 0);
    EXPECT_EQ(Send(CMenuDlg::kAcceptedMessageB), 1);

    Send(WM_COMMAND, CMenuDlg::kQuitCommand);
    EXPECT_FALSE(m_tray->HasTrayIcon());
    EXPECT_EQ(m_quitSteps, (std::vector<std::string>{"normal end", "shutdown"}));
    MSG msg;
    EXPECT_EQ(GetMessage(&msg, 0, 0, 0), 0);

    m_tray->Quit();  // a quit by signal is no end from the menu
    EXPECT_EQ(m_quitSteps.back(), "shutdown");
    EXPECT_EQ(m_quitSteps.size(), 3u);

    // The window goes only when the application tears down, and says so.
    EXPECT_TRUE(m_log.empty());
    m_tray.reset();
    EXPECT_EQ(m_log, std::vector<std::string>{"트레이 창 닫음."});
}

}  // namespace

}  // namespace hx
