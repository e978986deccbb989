#include "kiosk/app/ini_failure_report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "kiosk/support/daily_log.h"
#include "kiosk/support/paths.h"
#include "platform/cp949.h"
#include "platform/ini_file.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

TEST(IniFailureReport, AFailedWriteLeavesItsLineInTheKioskLog) {
    CTempDrive drive;
    InstallIniWriteFailureReport();
    // The INI folder does not exist, so the write must fail.
    const auto file = GetProgramPath("INI\\SaveMoney.ini");
    EXPECT_FALSE(WritePrivateProfileString("Money", "1000", "12", file));
    SetIniWriteFailureHook({});

    const auto log = GetLogPath(CDailyLogWriter::FileNameFor("HXKioskLog", GetLocalTimeNow()));
    std::ifstream in(log, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string expected = file.string() + " 기록 실패. AppName=Money KeyName=1000 Val=12";
    EXPECT_NE(Utf8FromCp949(bytes).find(expected), std::string::npos) << Utf8FromCp949(bytes);
}

}  // namespace

}  // namespace hx
