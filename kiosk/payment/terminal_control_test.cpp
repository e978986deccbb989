#include "kiosk/payment/terminal_control.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

#include "platform/cp949.h"
#include "platform/loop_test_support.h"
#include "platform/tcp_listener.h"
#include "platform/terminal_frames.h"

namespace hx {

namespace {

using Frames = std::vector<stTerminalFrame>;

// The terminal program's side of one request: takes the request and
// answers with the frames given.
class CTestTerminal {
public:
    explicit CTestTerminal(Frames replies) : m_replies(std::move(replies)) {
        EXPECT_TRUE(m_listener.Listen("127.0.0.1", 0));
        m_thread = std::thread([this] { Serve(); });
    }
    ~CTestTerminal() { m_thread.join(); }

    std::uint16_t Port() const { return m_listener.Port(); }
    const stTerminalFrame& Request() const { return m_request; }

private:
    void Serve() {
        CTcpStream stream;
        const auto deadline = std::chrono::steady_clock::now() + kTestPatience;
        if (!m_listener.Accept(stream, deadline)) {
            return;
        }
        std::string bytes;
        stTerminalFrameRead read;
        while ((read = DecodeTerminalFrame(
                    std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())))
                       .status == stTerminalFrameRead::Incomplete &&
               stream.ReceiveSome(bytes, deadline)) {
        }
        m_request = read.frame;
        for (const stTerminalFrame& reply : m_replies) {
            stream.SendAll(EncodeTerminalFrame(reply));
        }
    }

    Frames m_replies;
    CTcpListener m_listener;
    stTerminalFrame m_request;
    std::thread m_thread;
};

stTerminalFrame Answer(std::vector<std::pair<int16_t, std::string>> fields) {
    return {enumTerminalFrame::Answer, std::move(fields), {}, 0};
}

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
        {{enumTerminalFrame::State, {}, "TS", 0},
         Answer({{1, "5202"}, {13, "T-1001"}, {41, Cp949FromUtf8("해피모텔")}})});
    m_control->ClearSendData();
    m_control->SetSendData(1, "5201");
    m_control->SetSendData(41, "이름");
    const int32_t handle = m_control->SndRcvSync("127.0.0.1", terminal.Port(), 30);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(m_control->GetRcvData(static_cast<int16_t>(handle), 41), "해피모텔");
    EXPECT_EQ(m_control->GetRcvData(static_cast<int16_t>(handle), 99), "");
    EXPECT_EQ(terminal.Request().fields, (std::vector<std::pair<int16_t, std::string>>{
                                             {1, "5201"}, {41, Cp949FromUtf8("이름")}}));
    EXPECT_TRUE(PumpUntil([&] { return !Events().empty(); }));
    EXPECT_EQ(m_control->TakeState(), std::optional<std::string>("TS"));
}

TEST_F(TerminalControl, AnAsynchronousAnswerIsAnnouncedAfterItsStates) {
    CTestTerminal terminal(
        {{enumTerminalFrame::State, {}, "1M", 0}, Answer({{1, "0102"}, {17, "00"}})});
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
        CTestTerminal terminal({{enumTerminalFrame::Exit, {}, {}, 0}});
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
