#include "kiosk/app/ini_failure_report.h"

#include <gtest/gtest.h>

#include "kiosk/support/paths.h"
#include "kiosk/support/testing_kiosk_log.h"
#include "platform/ini_file.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

TEST(IniFailureReport, AFailedWriteIsLoggedWithItsWindowsPathAndReported) {
    CTempDrive drive;
    int reports = 0;
    InstallIniWriteFailureReport([&reports] { ++reports; });
    // The INI folder does not exist, so the write must fail.
    const auto file = GetProgramPath("INI\\SaveMoney.ini");
    EXPECT_FALSE(WritePrivateProfileString("Money", "1000", "12", file));
    SetIniWriteFailureHook({});

    const std::string log = KioskLogText();
    const std::string expected =
        "c:\\Harlix\\INI\\SaveMoney.ini 기록 실패. AppName=Money KeyName=1000 Val=12";
    EXPECT_NE(log.find(expected), std::string::npos) << log;
    EXPECT_EQ(reports, 1);
}

}  // namespace

}  // namespace hx
