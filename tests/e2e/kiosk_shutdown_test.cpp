// The kiosk program started as a real process: one instance per drive, and an
// orderly end on SIGTERM and SIGINT that leaves the service monitor's values
// saying so.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "kiosk/support/daily_log.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "kiosk/support/paths.h"
#include "platform/cp949.h"
#include "platform/envr.h"
#include "tests/support/temp_drive.h"

extern char** environ;

namespace hx {

namespace {

std::string KioskLogText() {
    const auto file = GetLogPath(CDailyLogWriter::FileNameFor("HXKioskLog", GetLocalTimeNow()));
    std::ifstream in(file, std::ios::binary);
    return Utf8FromCp949(
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

pid_t StartKiosk(const CTempDrive& drive) {
    std::string program = HX_KIOSK_PROGRAM;
    std::string driveArg = drive.Folder().string();
    char* argv[] = {program.data(),         const_cast<char*>("--drive"),
                    driveArg.data(),        const_cast<char*>("--ui-port"),
                    const_cast<char*>("0"), nullptr};
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    return pid;
}

// Bounded so a broken kiosk fails the test instead of hanging it.
bool WaitForLogText(const std::string& text) {
    for (int i = 0; i < 600; ++i) {
        if (KioskLogText().find(text) != std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    EXPECT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    return WEXITSTATUS(status);
}

struct stMonitorValues {
    int serviceMon;
    std::string quitServer;
};

stMonitorValues ReadMonitorValues() {
    const CEnvr envr(kRegistryApplication);
    return {envr.GetInt("Settings", "ServiceMon", -1),
            envr.GetString("Settings", "QuitServer", "")};
}

void ExpectOrderlyEndOn(int signalNumber) {
    CTempDrive drive;
    CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
    const pid_t kiosk = StartKiosk(drive);
    ASSERT_GT(kiosk, 0);
    ASSERT_TRUE(WaitForLogText("HxKiosk 시작.")) << KioskLogText();
    EXPECT_EQ(ReadMonitorValues().serviceMon, 1);
    EXPECT_EQ(ReadMonitorValues().quitServer, "0");

    // A second instance ends at once and leaves everything as it was.
    CEnvr(kRegistryApplication).WriteInt("Settings", "ServiceMon", 5);
    EXPECT_EQ(WaitForExit(StartKiosk(drive)), 3);
    EXPECT_EQ(ReadMonitorValues().serviceMon, 5);

    ASSERT_EQ(::kill(kiosk, signalNumber), 0);
    EXPECT_EQ(WaitForExit(kiosk), 0);
    EXPECT_NE(KioskLogText().find("HxKiosk 종료."), std::string::npos) << KioskLogText();
    EXPECT_EQ(ReadMonitorValues().serviceMon, 0);
    EXPECT_EQ(ReadMonitorValues().quitServer, "1");
}

TEST(KioskProcess, EndsInOrderOnSigterm) {
    ExpectOrderlyEndOn(SIGTERM);
}

TEST(KioskProcess, EndsInOrderOnSigint) {
    ExpectOrderlyEndOn(SIGINT);
}

}  // namespace

}  // namespace hx
