// boardsim as its own process on a real pseudo-terminal, opened by the test
// through the link the simulator made, as the kiosk opens it.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

using Bytes = std::vector<uint8_t>;

// Reads from the port until `count` bytes have come or the patience runs out.
Bytes ReadBytes(int port, size_t count) {
    Bytes bytes;
    const auto deadline = std::chrono::steady_clock::now() + kTestPatience;
    while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{port, POLLIN, 0};
        if (poll(&waiting, 1, 100) == 1) {
            uint8_t buffer[64];
            const ssize_t got = read(port, buffer, std::min(sizeof buffer, count - bytes.size()));
            if (got > 0) {
                bytes.insert(bytes.end(), buffer, buffer + got);
            }
        }
    }
    return bytes;
}

TEST(BoardSimProcessTest, AnswersOnItsPortAndReportsAScriptedNote) {
    CTempFolder folder("boardsim");
    const auto link = folder.Path() / "com4";
    const auto output = folder.Path() / "boardsim.out";
    const auto journal = folder.Path() / "journal.jsonl";
    stChildLaunch launch;
    launch.args = {BOARDSIM_PATH, "--link", link.string(), "--journal", journal.string()};
    launch.withInput = true;
    launch.outputFile = output;
    CChildProcess boardsim;
    ASSERT_TRUE(boardsim.Start(launch));
    ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(output).find('\n') != std::string::npos; }));
    const std::string slave = ReadWholeFile(output).substr(0, ReadWholeFile(output).find('\n'));
    EXPECT_TRUE(slave.starts_with("/dev/pts/")) << slave;
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), slave);

    const int port = open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(port, 0);
    const Bytes openBillInlet{0x5B, 0xA4, 0x03, 0x10, 0x81, 0x00, 0x92};
    ASSERT_EQ(write(port, openBillInlet.data(), openBillInlet.size()), 7);
    EXPECT_EQ(ReadBytes(port, 1), Bytes{0x11});

    ASSERT_TRUE(boardsim.WriteInput("bill 10000\n"));
    EXPECT_EQ(ReadBytes(port, 9), (Bytes{0x33, 0x06, 0x05, 0x18, 0x00, 0x00, 0x01, 0x00, 0x1A}));
    close(port);

    ASSERT_TRUE(boardsim.WriteInput("quit\n"));
    EXPECT_EQ(boardsim.WaitForExit(), 0);
    EXPECT_NE(ReadWholeFile(output).find("ok bills 1000=0 5000=0 10000=1 50000=0\n"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << "the link goes with the simulator";
    const std::string lines = ReadWholeFile(journal);
    EXPECT_NE(lines.find(R"("bytes":"5B A4 03 10 81 00 92","event":"command")"), std::string::npos)
        << lines;
}

}  // namespace

}  // namespace hx
