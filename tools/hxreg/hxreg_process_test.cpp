// hxreg as a separate process against the store the test process uses.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "platform/envr.h"
#include "tests/support/temp_drive.h"

extern char** environ;

namespace hx {


namespace {

class HxRegProcessTest : public ::testing::Test {
protected:
    void SetUp() override { CEnvr::SetFrameworkKey("Norvane", "HxKiosk"); }

    // Starts hxreg on the test's drive with its output in numbered files.
    pid_t Start(std::vector<std::string> args, int outputNumber = 0) {
        args.insert(args.begin(), {HXREG_PATH, "--drive", m_drive.Folder().string()});
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, OutputFile(outputNumber).c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
        pid_t pid = -1;
        EXPECT_EQ(::posix_spawn(&pid, HXREG_PATH, &files, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&files);
        return pid;
    }

    static int Wait(pid_t pid) {
        int status = 0;
        if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
            return -1;
        }
        return WEXITSTATUS(status);
    }

    std::string Output(int number = 0) {
        std::ifstream file(OutputFile(number));
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::string OutputFile(int number) {
        return (m_drive.Folder() / ("hxreg." + std::to_string(number) + ".out")).string();
    }

    CTempDrive m_drive;
};

const std::string kKey = "HKLM\\SOFTWARE\\Norvane\\HxKiosk\\KIOSK";

TEST_F(HxRegProcessTest, ValuesCrossBetweenProcessesBothWays) {
    CEnvr envr;
    ASSERT_TRUE(envr.WriteInt("KIOSK", "KioskNo", 12));
    ASSERT_TRUE(envr.WriteString("KIOSK", "KioskName", "정문"));
    ASSERT_EQ(Wait(Start({"query", kKey})), 0);
    EXPECT_EQ(Output(),
              "\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane\\HxKiosk\\KIOSK\n"
              "    KioskNo    REG_DWORD    0xc\n"
              "    KioskName    REG_SZ    정문\n\n");

    ASSERT_EQ(Wait(Start({"add", kKey, "/v", "KioskNo", "/t", "REG_DWORD", "/d", "7", "/f"})), 0);
    ASSERT_EQ(Wait(Start({"add", kKey, "/v", "KioskName", "/d", "후문", "/f"})), 0);
    EXPECT_EQ(envr.GetInt("KIOSK", "KioskNo", 0), 7);
    EXPECT_EQ(envr.GetString("KIOSK", "KioskName", ""), "후문");

    ASSERT_EQ(Wait(Start({"delete", kKey, "/f"})), 0);
    EXPECT_EQ(envr.GetInt("KIOSK", "KioskNo", 3), 3);
    EXPECT_EQ(Wait(Start({"query", kKey, "/v", "KioskNo"})), 0);
    EXPECT_EQ(Output(),
              "\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane\\HxKiosk\\KIOSK\n"
              "    KioskNo    REG_DWORD    0x3\n\n");
}

TEST_F(HxRegProcessTest, ConcurrentProcessesAndThreadsNeverFail) {
    constexpr int kProcesses = 6;
    constexpr int kRounds = 30;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        children.push_back(Start({"add", kKey, "/v", "P" + std::to_string(p), "/t", "REG_DWORD",
                                  "/d", std::to_string(p), "/f"},
                                 p));
    }
    int failures = 0;
    std::thread writer([&failures] {
        CEnvr envr;
        for (int i = 0; i < kRounds; ++i) {
            failures += !envr.WriteInt("KIOSK", "T", i);
            failures += envr.GetInt("KIOSK", "T", -1) != i;
        }
    });
    for (pid_t child : children) {
        EXPECT_EQ(Wait(child), 0);
    }
    writer.join();
    EXPECT_EQ(failures, 0);
    CEnvr envr;
    for (int p = 0; p < kProcesses; ++p) {
        EXPECT_EQ(envr.GetInt("KIOSK", ("P" + std::to_string(p)).c_str(), -1), p);
    }
}

}  // namespace

}  // namespace hx
