#include "platform/process_snapshot.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

TEST(ProcessSnapshot, AProgramCountsAsRunningOnlyUnderItsExactName) {
    const CTempFolder folder;
    std::filesystem::create_symlink("/bin/sleep", folder.Path() / "probe.exe");
    CChildProcess lower;
    stChildLaunch launch;
    launch.args = {(folder.Path() / "probe.exe").string(), "30"};
    ASSERT_TRUE(lower.Start(launch));
    ASSERT_TRUE(WaitUntil([] { return IsProcessRunning("probe.exe"); }));
    EXPECT_FALSE(IsProcessRunning("Probe.exe")) << "letter case counts";

    std::filesystem::create_symlink("/bin/sleep", folder.Path() / "Probe.exe");
    CChildProcess exact;
    launch.args[0] = (folder.Path() / "Probe.exe").string();
    ASSERT_TRUE(exact.Start(launch));
    EXPECT_TRUE(WaitUntil([] { return IsProcessRunning("Probe.exe"); }));
}

TEST(ProcessSnapshot, AnOpenedProgramRunsInItsOwnFolder) {
    const CTempFolder folder;
    const std::filesystem::path program = folder.Path() / "Starter.exe";
    std::ofstream(program) << "#!/bin/sh\npwd > started\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    ASSERT_TRUE(OpenProgram(program, folder.Path()));
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(folder.Path() / "started").size() > 1; }));
    EXPECT_EQ(ReadWholeFile(folder.Path() / "started"), folder.Path().string() + "\n");
    EXPECT_FALSE(OpenProgram(folder.Path() / "missing.exe", folder.Path()));
}

}  // namespace

}  // namespace hx
