#include "kiosk/cardissue/dispenser_dlg.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "kiosk/cardissue/dispenser_result.h"
#include "kiosk/cardissue/testing_dispenser_device.h"
#include "kiosk/support/serial_chunks.h"
#include "platform/loop_clock.h"
#include "platform/serial_test_support.h"

namespace hx {

namespace {

// For each command, the answers to its frames in turn.
using Answers = std::map<uint8_t, std::vector<DispenserBytes>>;

// The dispenser's window on a pseudo-terminal whose far end answers as
// scripted.
class DispenserDlg : public CSerialPortTest {
protected:
    void SetUp() override {
        CSerialPortTest::SetUp();
        ASSERT_TRUE(m_dlg.Create());
        ASSERT_TRUE(m_dlg.OpenDispenserPort("COM3"));
    }

    // Answers cross threads, so they are waited for on the real clock.
    void AnswerWith(Answers answers) {
        CLoopClock::UseRealClock();
        m_answers = std::move(answers);
        m_farEnd = std::make_unique<CScriptedDispenserDevice>(
            m_device, [this](const DispenserBytes& frame) -> std::optional<DispenserBytes> {
                auto& queue = m_answers[frame[2]];
                if (queue.empty()) {
                    return std::nullopt;
                }
                DispenserBytes answer = queue.front();
                queue.erase(queue.begin());
                return answer;
            });
    }
    CDispenserDlg m_dlg{nullptr, nullptr};
    Answers m_answers;
    std::unique_ptr<CScriptedDispenserDevice> m_farEnd;
};

TEST_F(DispenserDlg, EachAnswerEndsItsCommandsWaitWithItsResult) {
    DispenserBytes badCheck = DispenserAnswerBytes(DISPENSER_READY, '0');
    badCheck.back() ^= 0xFF;
    const DispenserBytes block(16, 0x3C);
    AnswerWith({{DISPENSER_GET_STATUS, {DispenserAnswerBytes(DISPENSER_GET_STATUS, '3')}},
                {DISPENSER_GET_FIRMWARE,
                 {DispenserAnswerBytes(DISPENSER_GET_FIRMWARE, '0',
                                       {'V', '1', '.', '0', '2', ' ', ' ', 'K'})}},
                {DISPENSER_READ, {DispenserAnswerBytes(DISPENSER_READ, '0', block)}},
                {DISPENSER_READY, {badCheck}},
                {DISPENSER_CAPTURE, {DispenserAnswerBytes(0x33, '0')}}});

    EXPECT_EQ(m_dlg.DispenserHealth(false), DISPENSER_EMPTY_CARD);
    EXPECT_EQ(m_dlg.RunCommand(DISPENSER_GET_FIRMWARE), DISPENSER_OK);
    EXPECT_EQ(m_dlg.AnswerText(), "V1.02  K");
    EXPECT_EQ(m_dlg.ReadCardBlock(0, 2), DISPENSER_OK);
    EXPECT_EQ(DispenserBytes(m_dlg.CardBlockRead().begin(), m_dlg.CardBlockRead().end()), block);
    EXPECT_EQ(m_dlg.RunCommand(DISPENSER_READY), DISPENSER_BCC_ERROR);
    EXPECT_EQ(m_dlg.RunCommand(DISPENSER_CAPTURE), DISPENSER_UNKOWN_PACKET);
}

TEST_F(DispenserDlg, AnAnswerToAnotherCommandDoesNotEndTheWait) {
    // A late status answer must not pass for the write's: the write was
    // never answered.
    AnswerWith({{DISPENSER_WRITE, {DispenserAnswerBytes(DISPENSER_GET_STATUS, '0')}}});
    EXPECT_EQ(m_dlg.WriteCardBlock(0, 1, CardBlock{}), DISPENSER_RECV_ERROR);
    EXPECT_EQ(m_dlg.Monitor().Rows().back().row.content, "기다리는 명령의 응답이 아님: 무시");
}

// A state query asked during another's wait (the health check's, say) shares
// its answer; anything else asked during a wait is not sent.
TEST_F(DispenserDlg, ACommandAskedForDuringAWaitIsBusyUnlessBothAskForTheState) {
    CRecordingWnd other;
    ASSERT_TRUE(other.Create());
    int nested = 0;
    other.onMessage = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_USER) {
            nested = m_dlg.DispenserHealth(false);
        }
        return 0;
    };
    AnswerWith({{DISPENSER_EJECT_DROP, {DispenserAnswerBytes(DISPENSER_EJECT_DROP, '0')}},
                {DISPENSER_GET_STATUS, {DispenserAnswerBytes(DISPENSER_GET_STATUS, '3')}}});
    other.PostMessage(WM_USER);
    EXPECT_EQ(m_dlg.RunCommand(DISPENSER_EJECT_DROP), DISPENSER_OK);
    EXPECT_EQ(nested, DISPENSER_BUSY);

    other.PostMessage(WM_USER);
    EXPECT_EQ(m_dlg.DispenserHealth(false), DISPENSER_EMPTY_CARD);
    EXPECT_EQ(nested, DISPENSER_EMPTY_CARD);
    EXPECT_EQ(m_farEnd->Commands(),
              (std::vector<uint8_t>{DISPENSER_EJECT_DROP, DISPENSER_GET_STATUS}));
}

// The receive handler lets other messages run while the rest of a burst
// arrives; a state query asked then waits for the very answer that handler
// is about to read.
TEST_F(DispenserDlg, AStateQueryAskedWhileItsAnswerIsBeingReceivedGetsIt) {
    CRecordingWnd other;
    ASSERT_TRUE(other.Create());
    int nested = 0;
    other.onMessage = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_TIMER) {
            other.KillTimer(1);
            nested = m_dlg.DispenserHealth(false);
        }
        return 0;
    };
    AnswerWith({{DISPENSER_GET_STATUS, {DispenserAnswerBytes(DISPENSER_GET_STATUS, '0')}}});
    other.SetTimer(1, kSerialSettleMs / 2);  // due while the answer settles
    EXPECT_EQ(m_dlg.DispenserHealth(false), DISPENSER_OK);
    EXPECT_EQ(nested, DISPENSER_OK);
    EXPECT_EQ(m_farEnd->Commands(), std::vector<uint8_t>{DISPENSER_GET_STATUS});
}

TEST_F(DispenserDlg, ASilentDispenserGivesNoAnswerAfterItsTimeout) {
    const std::uint32_t start = GetTickCount();
    EXPECT_EQ(m_dlg.RunCommand(DISPENSER_GET_STATUS), DISPENSER_RECV_ERROR);
    EXPECT_EQ(GetTickCount() - start, 3050u) << "sixty-one slices of 50 ms";
}

TEST_F(DispenserDlg, ALineThatGoesAwayClosesThePort) {
    CLoopClock::UseRealClock();
    m_device.CloseMaster();
    EXPECT_TRUE(PumpUntil([&] { return !m_dlg.IsPortOpen(); }));
    EXPECT_EQ(m_dlg.RunCommand(DISPENSER_GET_STATUS), DISPENSER_RECV_ERROR)
        << "at once: nothing could be sent";
}

}  // namespace

}  // namespace hx
