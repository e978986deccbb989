// A writer process is killed at random moments while it rewrites the float
// counts; the file must always hold one complete set of counts, never a torn,
// empty or half-updated one, and never go back to older counts.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>

#include "platform/ini_file.h"
#include "tests/support/temp_drive.h"

namespace hx {

namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 200;
constexpr int kValuesPerRound = 1'000'000;
constexpr int kReadyTimeoutMs = 20'000;
constexpr int kLongestDelayUs = 3'000;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string SaveMoneyText(int value) {
    const std::string text = std::to_string(value);
    return "; float counts\r\n[Money]\r\n1000=" + text + "\r\n5000=" + text + "\r\n10000=" + text +
           "\r\nRFCard=" + text + "\r\n";
}

struct stWriter {
    pid_t pid = -1;
    int readyFd = -1;
};

stWriter StartWriter(const fs::path& file, int first) {
    const std::string firstText = std::to_string(first);
    const std::string countText = std::to_string(kValuesPerRound);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::execl(HX_SAVE_MONEY_WRITER, "save_money_writer", file.c_str(), firstText.c_str(),
                countText.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    return {pid, fds[0]};
}

// True once the writer has completed its first write.
bool WaitUntilReady(const stWriter& writer) {
    pollfd ready{writer.readyFd, POLLIN, 0};
    char byte = 0;
    return ::poll(&ready, 1, kReadyTimeoutMs) == 1 && ::read(writer.readyFd, &byte, 1) == 1;
}

void KillAndReap(const stWriter& writer) {
    ::kill(writer.pid, SIGKILL);
    int status = 0;
    ::waitpid(writer.pid, &status, 0);
    ::close(writer.readyFd);
}

int CountLeftovers(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        count += entry.path().filename() != "SaveMoney.ini";
    }
    return count;
}

TEST(IniKill, FloatCountsSurviveAWriterKilledAtAnyMoment) {
    CTempDrive drive;
    const fs::path folder = drive.Folder() / "Harlix" / "INI";
    fs::create_directories(folder);
    const fs::path file = folder / "SaveMoney.ini";
    std::ofstream(file, std::ios::binary) << SaveMoneyText(0);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayUs(0, kLongestDelayUs);
    int lastValue = 0;
    for (int round = 1; round <= kRounds; ++round) {
        const int first = round * kValuesPerRound;
        const stWriter writer = StartWriter(file, first);
        ASSERT_GT(writer.pid, 0);
        const bool ready = WaitUntilReady(writer);
        if (ready) {
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        }
        KillAndReap(writer);
        ASSERT_TRUE(ready) << "writer of round " << round << " never completed a write";

        const int value = GetPrivateProfileNumber("Money", "RFCard", -1, file);
        ASSERT_EQ(ReadAll(file), SaveMoneyText(value)) << "round " << round;
        ASSERT_GE(value, first) << "round " << round;
        ASSERT_GE(value, lastValue) << "round " << round;
        lastValue = value;
    }
    // Temporary files of writers killed mid-write; they show the kills hit writes.
    RecordProperty("leftover_temporary_files", CountLeftovers(folder));
}

}  // namespace

}  // namespace hx
