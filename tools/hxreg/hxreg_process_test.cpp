// hxreg as a separate process against the store the test process uses.

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "platform/envr.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

class HxRegProcessTest : public ::testing::Test {
protected:
    void SetUp() override { CEnvr::SetFrameworkKey("Norvane", "HxKiosk"); }

    // Starts hxreg on the test's drive with its output in numbered files.
    std::unique_ptr<CChildProcess> Start(std::vector<std::string> args, int outputNumber = 0) {
        stChildLaunch launch;
        launch.args = {HXREG_PATH, "--drive", m_drive.Folder().string()};
        launch.args.insert(launch.args.end(), args.begin(), args.end());
        launch.outputFile = OutputFile(outputNumber);
        auto hxreg = std::make_unique<CChildProcess>();
        EXPECT_TRUE(hxreg->Start(launch));
        return hxreg;
    }

    static int Wait(const std::unique_ptr<CChildProcess>& hxreg) {
        return hxreg->WaitForExit().value_or(-1);
    }

    std::string Output(int number = 0) { return ReadWholeFile(OutputFile(number)); }

    std::filesystem::path OutputFile(int number) {
        return m_drive.Folder() / ("hxreg." + std::to_string(number) + ".out");
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

// Scripts may give the drive through the environment instead of --drive.
TEST_F(HxRegProcessTest, WithoutADriveOptionTheEnvironmentNamesTheDrive) {
    ASSERT_TRUE(CEnvr().WriteInt("KIOSK", "KioskNo", 4));
    stChildLaunch launch;
    launch.args = {HXREG_PATH, "query", kKey, "/v", "KioskNo"};
    launch.environment = {"HXKIOSK_DRIVE=" + m_drive.Folder().string()};
    launch.outputFile = OutputFile(0);
    CChildProcess hxreg;
    ASSERT_TRUE(hxreg.Start(launch));
    EXPECT_EQ(hxreg.WaitForExit(), 0);
    EXPECT_EQ(Output(),
              "\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane\\HxKiosk\\KIOSK\n"
              "    KioskNo    REG_DWORD    0x4\n\n");
}

TEST_F(HxRegProcessTest, ConcurrentProcessesAndThreadsNeverFail) {
    constexpr int kProcesses = 6;
    constexpr int kRounds = 30;
    std::vector<std::unique_ptr<CChildProcess>> children;
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
    for (const std::unique_ptr<CChildProcess>& child : children) {
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
