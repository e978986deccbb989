#include "kiosk/cardissue/guest_card_issuer.h"

#include <gtest/gtest.h>

#include <memory>

#include "kiosk/cardissue/dispenser_result.h"
#include "kiosk/cardissue/testing_dispenser_device.h"
#include "kiosk/cardissue/testing_dispenser_libraries.h"
#include "platform/loop_clock.h"
#include "platform/serial_test_support.h"
#include "tests/support/scoped_environment.h"

namespace hx {

namespace {

using Commands = std::vector<uint8_t>;

class GuestCardIssuer : public CSerialPortTest {
protected:
    void SetUp() override {
        CSerialPortTest::SetUp();
        ASSERT_TRUE(m_dlg.Create());
        m_room.lockGroup = 3;
        m_room.lockNo = 305;
    }

    // The serial dispenser answers each command with the result character
    // given for it ('0' when none is).
    void SerialDispenserAnswers(std::map<uint8_t, uint8_t> results) {
        CLoopClock::UseRealClock();
        ASSERT_TRUE(m_dlg.OpenDispenserPort("COM3"));
        m_farEnd = std::make_unique<CScriptedDispenserDevice>(
            m_device, [results](const DispenserBytes& frame) {
                const auto found = results.find(frame[2]);
                return std::optional(DispenserAnswerBytes(
                    frame[2], found == results.end() ? uint8_t{'0'} : found->second));
            });
    }

    int Issue(bool libraryKind) {
        return m_issuer.IssueGuestCard(m_room, kEnd, {7, 2021}, libraryKind);
    }

    static constexpr int64_t kEnd = 1709604000;  // 2024-03-05 11:00 in Korea
    const CScopedEnvironment m_zone{"TZ", "KST-9"};
    CScriptedD1801Library m_dispenserLibrary;
    CScriptedLockLibrary m_lockLibrary;
    CDispenserDlg m_dlg{&m_dispenserLibrary, &m_lockLibrary};
    CGuestCardIssuer m_issuer{m_dlg};
    stRoom4Kiosk m_room;
    std::unique_ptr<CScriptedDispenserDevice> m_farEnd;
};

TEST_F(GuestCardIssuer, ASerialCardCarriesTheRoomAndTheStayThenComesOut) {
    SerialDispenserAnswers({});
    EXPECT_EQ(Issue(false), DISPENSER_OK);
    EXPECT_TRUE(m_issuer.EjectWasSent());
    EXPECT_EQ(m_farEnd->Commands(),
              (Commands{DISPENSER_WRITE, DISPENSER_WRITE, DISPENSER_EJECT_DROP}));
    const std::vector<DispenserBytes> frames = m_farEnd->Frames();
    EXPECT_EQ(DispenserBytes(frames[0].begin() + 3, frames[0].begin() + 11),
              (DispenserBytes{0x00, 0x01, 0x07, 0x07, 0xE5, 0x00, 0x01, 0x31}))
        << "sector 0, block 1: the motel and door 305";
    EXPECT_EQ(
        DispenserBytes(frames[1].begin() + 3, frames[1].begin() + 15),
        (DispenserBytes{0x00, 0x02, 0x10, 0x01, 0x01, 0x00, 0x00, 0x18, 0x03, 0x05, 0x0B, 0x00}))
        << "sector 0, block 2: from the base date to the end of the stay";
}

TEST_F(GuestCardIssuer, ACardThatFailsIsTakenBackWhereverItFailed) {
    const struct {
        const char* what;
        std::map<uint8_t, uint8_t> results;
        int result;
        Commands commands;
        bool ejectSent;
    } cases[] = {
        {"block 1 rejected",
         {{DISPENSER_WRITE, '5'}},
         DISPENSER_CARD_JAM,
         {DISPENSER_WRITE, DISPENSER_CAPTURE},
         false},
        {"held in the mouth",
         {{DISPENSER_EJECT_DROP, '4'}},
         DISPENSER_CARD_HOLD,
         {DISPENSER_WRITE, DISPENSER_WRITE, DISPENSER_EJECT_DROP, DISPENSER_CAPTURE},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SerialDispenserAnswers(c.results);
        EXPECT_EQ(Issue(false), c.result);
        EXPECT_EQ(m_farEnd->Commands(), c.commands);
        EXPECT_EQ(m_issuer.EjectWasSent(), c.ejectSent);
        m_farEnd.reset();
    }
}

TEST_F(GuestCardIssuer, TheLibraryPathStopsAtTheFirstStepThatFails) {
    const struct {
        const char* what;
        int sendResult;
        int encodeResult;
        int result;
        std::vector<std::string> dispenserCalls;
    } cases[] = {
        {"issued", 0, 1, DISPENSER_OK, {"0 FC7", "0 FC0"}},
        {"not ready", -1, 1, DISPENSER_ERROR, {"0 FC7"}},
        {"jammed while encoding", 0, -100, DISPENSER_CARD_JAM, {"0 FC7"}},
        {"not encoded", 0, 0, DISPENSER_ERROR, {"0 FC7"}},
    };
    ASSERT_TRUE(m_dlg.Library().ConnectD1801());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_dispenserLibrary.calls.clear();
        m_lockLibrary.encoded.clear();
        m_dispenserLibrary.sendResult = c.sendResult;
        m_lockLibrary.encodeResult = c.encodeResult;
        EXPECT_EQ(Issue(true), c.result);
        EXPECT_EQ(m_dispenserLibrary.calls, c.dispenserCalls);
    }
    m_lockLibrary.encodeResult = 1;
    m_dispenserLibrary.sendResult = 0;
    m_lockLibrary.encoded.clear();
    Issue(true);
    ASSERT_EQ(m_lockLibrary.encoded.size(), 1u);
    EXPECT_EQ(m_lockLibrary.encoded[0].substr(0, 14), "001.003.00305|");
    EXPECT_EQ(m_lockLibrary.encoded[0].substr(33), "|2024-03-05 11:00:00");
}

}  // namespace

}  // namespace hx
