#include "kiosk/payment/terminal_control.h"

#include <gtest/gtest.h>

#include <memory>

#include "kiosk/payment/testing_terminal.h"
#include "platform/cp949.h"
#include "platform/loop_test_support.h"

namespace hx {

namespace {

class TerminalControl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_window.Create());
        m_control = std::make_unique<CDSmtSndRcvVCAT>(m_window.GetSafeHwnd());
    }

    std::vector<WPARAM> Events() const {
        return m_window.WParamsOf(CDSmtSndRcvVCAT::EventMessage());
    }

    CRecordingWnd m_window;
    std::unique_ptr<CDSmtSndRcvVCAT> m_control;
};

TEST_F(TerminalControl, ASynchronousRequestGoesInOrderAndItsAnswerIsReadByHandle) {
    CTestTerminal terminal(
        {TerminalFrames{{enumTerminalFrame::State, {}, "TS", 0},
                        Answer({{1, "5202"}, {13, "T-1001"}, {41, Cp949FromUtf8("해피모텔")}})}});
    m_control->ClearSendData();
    m_control->SetSendData(1, "5201");
    m_control->SetSendData(41, "이름");
    const int32_t handle = m_control->SndRcvSync("127.0.0.1", terminal.Port(), 30);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(m_control->GetRcvData(static_cast<int16_t>(handle), 41), "해피모텔");
    EXPECT_EQ(m_control->GetRcvData(static_cast<int16_t>(handle), 99), "");
    EXPECT_EQ(terminal.Requests().at(0).fields, (std::vector<std::pair<int16_t, std::string>>{
                                                    {1, "5201"}, {41, Cp949FromUtf8("이름")}}));
    EXPECT_TRUE(PumpUntil([&] { return !Events().empty(); }));
    EXPECT_EQ(m_control->TakeState(), std::optional<std::string>("TS"));
}

TEST_F(TerminalControl, AnAsynchronousAnswerIsAnnouncedAfterItsStates) {
    CTestTerminal terminal({TerminalFrames{{enumTerminalFrame::State, {}, "1M", 0},
                                           Answer({{1, "0102"}, {17, "00"}})}});
    m_control->ClearSendData();
    m_control->SetSendData(1, "0101");
    const int16_t handle = m_control->SndRcvAsync("127.0.0.1", terminal.Port(), 30);
    ASSERT_GT(handle, 0);
    EXPECT_TRUE(PumpUntil([&] { return Events().size() == 2; }));
    EXPECT_EQ(Events(), (std::vector<WPARAM>{TERMINAL_STATE, TERMINAL_DATA}));
    EXPECT_EQ(m_control->GetRcvData(handle, 17), "00");
}

TEST_F(TerminalControl, ATerminalThatEndsOrIsNotThereFailsTheRequest) {
    {
        CTestTerminal terminal({TerminalFrames{{enumTerminalFrame::Exit, {}, {}, 0}}});
        m_control->ClearSendData();
        m_control->SetSendData(1, "0101");
        ASSERT_GT(m_control->SndRcvAsync("127.0.0.1", terminal.Port(), 30), 0);
        EXPECT_TRUE(PumpUntil([&] { return !Events().empty(); }));
        EXPECT_EQ(Events(), std::vector<WPARAM>{TERMINAL_EXIT});
        EXPECT_EQ(m_control->GetTermExitCode(), 0);
    }
    CTcpListener closed;
    ASSERT_TRUE(closed.Listen("127.0.0.1", 0));
    const std::uint16_t nobody = closed.Port();
    closed.Close();
    EXPECT_EQ(m_control->SndRcvAsync("127.0.0.1", nobody, 30), -1);
    EXPECT_EQ(m_control->SndRcvSync("127.0.0.1", nobody, 30), -1);
}

}  // namespace

}  // namespace hx
