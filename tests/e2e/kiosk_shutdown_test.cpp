// The kiosk program started as a real process: one instance per drive, an
// orderly end on SIGTERM and SIGINT that leaves the service monitor's values
// saying so, and a start-up that ends when the customer screen cannot be served.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "kiosk/app/testing_kiosk_program.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "platform/envr.h"
#include "tests/support/child_process.h"
#include "tests/support/dropping_listener.h"
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

// The teardown's lines in order: the tray (its quit hook reaches into the
// kiosk window), the server link, the kiosk window, then `lastLine`, written
// just before the instance mutex goes; nothing after it.
void ExpectTeardownInOrder(const std::string& lastLine) {
    const std::string log = KioskLogText();
    std::size_t after = 0;
    for (const std::string& line :
         {std::string("트레이 창 닫음."), std::string("서버 연결 창 닫음."),
          std::string("키오스크 창 닫음."), lastLine}) {
        const std::size_t at = log.find(line, after);
        ASSERT_NE(at, std::string::npos) << "no '" << line << "' after the steps before:\n" << log;
        after = at + line.size();
    }
    EXPECT_EQ(log.substr(after), "\r\n") << log;
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
    ExpectTeardownInOrder("HxKiosk 종료.");
    EXPECT_EQ(ReadMonitorValues().serviceMon, 0);
    EXPECT_EQ(ReadMonitorValues().quitServer, "1");
}

TEST(KioskProcess, EndsInOrderOnSigterm) {
    ExpectOrderlyEndOn(enumChildSignal::Terminate);
}

TEST(KioskProcess, EndsInOrderOnSigint) {
    ExpectOrderlyEndOn(enumChildSignal::Interrupt);
}

// Without its screen the kiosk cannot sell: start-up ends with a line that
// says why, a status that is not 0, and the monitor's values as a crash
// leaves them, so the monitor notices.
TEST(KioskProcess, EndsAtStartUpWhenItsScreenCannotBeServed) {
    struct stCase {
        const char* what;
        bool portTaken;
        bool filesMissing;
    };
    for (const stCase& test :
         {stCase{"port taken", true, false}, stCase{"files missing", false, true}}) {
        SCOPED_TRACE(test.what);
        CTempDrive drive;
        CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
        CDroppingListener holder;
        ASSERT_TRUE(holder.Open("127.0.0.1", 0));
        stKioskStart start;
        std::string reason;
        if (test.portTaken) {
            start.uiPort = holder.Port();
            reason = "화면 서버: 포트를 열 수 없음: 127.0.0.1:" + std::to_string(holder.Port());
        }
        if (test.filesMissing) {
            start.webRoot = drive.MakeFolder("empty");
            reason = "화면 서버: 화면 파일 없음: " + (*start.webRoot / "index.html").string();
        }
        CChildProcess kiosk;
        ASSERT_TRUE(StartKioskProgram(kiosk, drive.Folder(), start));
        const std::optional<int> status = kiosk.WaitForExit();
        ASSERT_TRUE(status) << "the kiosk did not end by itself";
        EXPECT_NE(*status, 0);
        EXPECT_NE(KioskLogText().find(reason), std::string::npos) << KioskLogText();
        EXPECT_EQ(KioskLogText().find("HxKiosk 시작."), std::string::npos) << KioskLogText();
        ExpectTeardownInOrder("화면을 열 수 없어 HxKiosk 종료.");
        EXPECT_EQ(ReadMonitorValues().serviceMon, 1);
        EXPECT_EQ(ReadMonitorValues().quitServer, "0");
    }
}

}  // namespace

}  // namespace hx
