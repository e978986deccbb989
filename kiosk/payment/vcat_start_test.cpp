#include "kiosk/payment/vcat_start.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/process_snapshot.h"
#include "platform/registry.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

class StartVCatTest : public ::testing::Test {
protected:
    int Start() {
        return StartVCat([this](std::string_view line) { m_log.emplace_back(line); });
    }

    CTempDrive m_drive;
    std::vector<std::string> m_log;
};

TEST_F(StartVCatTest, WithoutAnInstallFolderItSaysSo) {
    EXPECT_EQ(Start(), kVCatNotInstalled);
    EXPECT_EQ(m_log, std::vector<std::string>{"VCAT 설치안됨"});
}

TEST_F(StartVCatTest, TheStarterRunsFromTheInstallFolder) {
    const std::filesystem::path folder = m_drive.MakeFolder("VCAT");
    std::ofstream(folder / "VCatRun.exe") << "#!/bin/sh\npwd > started\n";
    std::filesystem::permissions(folder / "VCatRun.exe", std::filesystem::perms::owner_all);
    CRegistry key;
    ASSERT_TRUE(key.Create(enumRegRoot::LocalMachine, "SOFTWARE\\VCAT"));
    ASSERT_TRUE(key.WriteString("PATH", "c:\\VCAT"));

    EXPECT_EQ(Start(), kVCatStarted);
    EXPECT_EQ(m_log, std::vector<std::string>{"VCAT 재실행"});
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(folder / "started").size() > 1; }));
    EXPECT_EQ(ReadWholeFile(folder / "started"), folder.string() + "\n");
}

TEST_F(StartVCatTest, ATerminalRunningUnderItsExactNameIsLeftAlone) {
    CChildProcess lower;
    CChildProcess exact;
    for (const auto& [name, child] : {std::pair{"vcat.exe", &lower}, {"VCat.exe", &exact}}) {
        std::filesystem::create_symlink("/bin/sleep", m_drive.Folder() / name);
        stChildLaunch launch;
        launch.args = {(m_drive.Folder() / name).string(), "30"};
        ASSERT_TRUE(child->Start(launch));
        if (child == &lower) {
            ASSERT_TRUE(WaitUntil([] { return IsProcessRunning("vcat.exe"); }));
            EXPECT_EQ(Start(), kVCatNotInstalled) << "another letter case is another program";
        }
    }
    ASSERT_TRUE(WaitUntil([] { return IsProcessRunning("VCat.exe"); }));
    m_log.clear();
    EXPECT_EQ(Start(), kVCatRunning);
    EXPECT_TRUE(m_log.empty());
}

}  // namespace

}  // namespace hx
