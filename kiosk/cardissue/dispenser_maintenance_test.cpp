#include "kiosk/cardissue/dispenser_maintenance.h"

#include <gtest/gtest.h>

#include <memory>

#include "kiosk/cardissue/dispenser_result.h"
#include "kiosk/cardissue/testing_dispenser_device.h"
#include "platform/loop_clock.h"
#include "platform/serial_test_support.h"
#include "tests/support/scoped_environment.h"

namespace hx {

namespace {

// The serial dispenser answers '0' to everything, with a firmware version.
class DispenserMaintenance : public CSerialPortTest {
protected:
    void SetUp() override {
        CSerialPortTest::SetUp();
        CLoopClock::UseRealClock();
        ASSERT_TRUE(m_dlg.Create());
        ASSERT_TRUE(m_dlg.OpenDispenserPort("COM3"));
        m_farEnd =
            std::make_unique<CScriptedDispenserDevice>(m_device, [](const DispenserBytes& frame) {
                const DispenserBytes version{'D', 'S', 'I', 'M', '1', '.', '0', '0'};
                return std::optional(DispenserAnswerBytes(
                    frame[2], '0',
                    frame[2] == DISPENSER_GET_FIRMWARE ? version : DispenserBytes{}));
            });
    }

    const CScopedEnvironment m_zone{"TZ", "KST-9"};
    CDispenserDlg m_dlg{nullptr, nullptr};
    CGuestCardIssuer m_issuer{m_dlg};
    CDispenserMaintenance m_maintenance{m_dlg, m_issuer};
    std::unique_ptr<CScriptedDispenserDevice> m_farEnd;
};

TEST_F(DispenserMaintenance, ActionsSayHowTheyWent) {
    EXPECT_EQ(m_maintenance.Run(ACTION_FIRMWARE), "Version: DSIM1.00\r\nResult: [DISPENSER_OK]");
    EXPECT_EQ(m_maintenance.Run(ACTION_CAPTURE), "Result: [DISPENSER_OK]");
    EXPECT_EQ(m_maintenance.Run(ACTION_WRITE), "Result: [DISPENSER_OK]");
    const std::vector<DispenserBytes> frames = m_farEnd->Frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(DispenserBytes(frames[2].begin() + 2, frames[2].begin() + 7),
              (DispenserBytes{DISPENSER_WRITE, 1, 0, 0x01, 0x02}));
    EXPECT_EQ(DispenserBytes(frames[3].begin() + 2, frames[3].begin() + 7),
              (DispenserBytes{DISPENSER_WRITE, 1, 1, 0x00, 0x02}));
}

TEST_F(DispenserMaintenance, ATestCardComesFromTheLockFieldsOrTheyAreRefused) {
    stLockFields fields{"7", "2021", "305", "U", "0", "", "202403051100"};
    EXPECT_EQ(m_maintenance.IssueTestCard(fields), "Result: [DISPENSER_OK]");
    EXPECT_EQ(m_farEnd->Commands(),
              (std::vector<uint8_t>{DISPENSER_WRITE, DISPENSER_WRITE, DISPENSER_EJECT_DROP}));
    EXPECT_EQ(m_farEnd->Frames()[1][13], 0x0B) << "ends at 11 o'clock";

    for (const char* endTime : {"2024030511", "202413051100", "2024-3-05110", ""}) {
        fields.endTime = endTime;
        EXPECT_EQ(m_maintenance.IssueTestCard(fields), "입력값을 확인하세요.") << endTime;
    }
    EXPECT_EQ(m_farEnd->Commands().size(), 3u) << "nothing more was sent";
}

}  // namespace

}  // namespace hx
