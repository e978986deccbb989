// The kiosk program started as a real process: one instance per drive, and an
// orderly end on SIGTERM and SIGINT that leaves the service monitor's values
// saying so.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "kiosk/app/testing_kiosk_program.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "platform/envr.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

struct stMonitorValues {
    int serviceMon;
    std::string quitServer;
};

stMonitorValues ReadMonitorValues() {
    const CEnvr envr(kRegistryApplication);
    return {envr.GetInt("Settings", "ServiceMon", -1),
            envr.GetString("Settings", "QuitServer", "")};
}

void ExpectOrderlyEndOn(enumChildSignal signal) {
    CTempDrive drive;
    CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
    CChildProcess kiosk;
    ASSERT_TRUE(StartKioskProgram(kiosk, drive.Folder()));
    std::string log;
    ASSERT_TRUE(WaitForKioskLog(std::regex("HxKiosk 시작\\."), log)) << log;
    EXPECT_EQ(ReadMonitorValues().serviceMon, 1);
    EXPECT_EQ(ReadMonitorValues().quitServer, "0");

    // A second instance ends at once and leaves everything as it was.
    CEnvr(kRegistryApplication).WriteInt("Settings", "ServiceMon", 5);
    CChildProcess second;
    ASSERT_TRUE(StartKioskProgram(second, drive.Folder()));
    EXPECT_EQ(second.WaitForExit(), 3);
    EXPECT_EQ(ReadMonitorValues().serviceMon, 5);

    ASSERT_TRUE(kiosk.Signal(signal));
    EXPECT_EQ(kiosk.WaitForExit(), 0) << "the kiosk did not end by itself";
    EXPECT_NE(KioskLogText().find("HxKiosk 종료."), std::string::npos) << KioskLogText();
    EXPECT_EQ(ReadMonitorValues().serviceMon, 0);
    EXPECT_EQ(ReadMonitorValues().quitServer, "1");
}

TEST(KioskProcess, EndsInOrderOnSigterm) {
    ExpectOrderlyEndOn(enumChildSignal::Terminate);
}

TEST(KioskProcess, EndsInOrderOnSigint) {
    ExpectOrderlyEndOn(enumChildSignal::Interrupt);
}

}  // namespace

}  // namespace hx
