// The kiosk program started as a real process ends in order on SIGTERM and
// SIGINT: it logs its start, takes the signal as its quit request, logs its end
// and exits with status 0.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "kiosk/app/daily_log.h"
#include "kiosk/app/paths.h"
#include "platform/cp949.h"
#include "tests/support/temp_drive.h"

extern char** environ;

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
    char* argv[] = {program.data(), const_cast<char*>("--drive"), driveArg.data(), nullptr};
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

void ExpectOrderlyEndOn(int signalNumber) {
    CTempDrive drive;
    const pid_t kiosk = StartKiosk(drive);
    ASSERT_GT(kiosk, 0);
    ASSERT_TRUE(WaitForLogText("HxKiosk 시작.")) << KioskLogText();

    ASSERT_EQ(::kill(kiosk, signalNumber), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(kiosk, &status, 0), kiosk);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(KioskLogText().find("HxKiosk 종료."), std::string::npos) << KioskLogText();
}

TEST(KioskProcess, EndsInOrderOnSigterm) {
    ExpectOrderlyEndOn(SIGTERM);
}

TEST(KioskProcess, EndsInOrderOnSigint) {
    ExpectOrderlyEndOn(SIGINT);
}

}  // namespace
