// A writer process is killed at random moments while it rewrites the float
// counts; the file must always hold one complete set of counts, never a torn,
// empty or half-updated one, and never go back to older counts.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/ini_file.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"
#include "tests/support/test_random.h"

namespace hx {

namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 200;
constexpr int kValuesPerRound = 1'000'000;
constexpr std::chrono::milliseconds kReadyTimeout{20'000};
constexpr unsigned kLongestDelayUs = 3'000;

std::string SaveMoneyText(int value) {
    const std::string text = std::to_string(value);
    return "; float counts\r\n[Money]\r\n1000=" + text + "\r\n5000=" + text + "\r\n10000=" + text +
           "\r\nRFCard=" + text + "\r\n";
}

bool StartWriter(CChildProcess& writer, const fs::path& file, int first, const fs::path& output) {
    stChildLaunch launch;
    launch.args = {HX_SAVE_MONEY_WRITER, file.string(), std::to_string(first),
                   std::to_string(kValuesPerRound)};
    launch.outputFile = output;
    return writer.Start(launch);
}

// True once the writer has completed its first write.
bool WaitUntilReady(const fs::path& output) {
    return WaitForLine(
               output, [](const std::string& line) { return line == "ready"; }, kReadyTimeout)
        .has_value();
}

void KillAndReap(CChildProcess& writer) {
    writer.Signal(enumChildSignal::Kill);
    writer.WaitForExit();
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
    const fs::path folder = drive.MakeFolder("Harlix/INI");
    const fs::path file = folder / "SaveMoney.ini";
    std::ofstream(file, std::ios::binary) << SaveMoneyText(0);

    const unsigned seed = FreshSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    CTestRandom random(seed);
    int lastValue = 0;
    for (int round = 1; round <= kRounds; ++round) {
        const int first = round * kValuesPerRound;
        const fs::path output = drive.Folder() / ("writer." + std::to_string(round) + ".out");
        CChildProcess writer;
        ASSERT_TRUE(StartWriter(writer, file, first, output));
        const bool ready = WaitUntilReady(output);
        if (ready) {
            // The kill lands anywhere in the writes that follow.
            std::this_thread::sleep_for(
                std::chrono::microseconds(random.Next() % (kLongestDelayUs + 1)));
        }
        KillAndReap(writer);
        ASSERT_TRUE(ready) << "writer of round " << round << " never completed a write";

        const int value = GetPrivateProfileNumber("Money", "RFCard", -1, file);
        ASSERT_EQ(ReadWholeFile(file), SaveMoneyText(value)) << "round " << round;
        ASSERT_GE(value, first) << "round " << round;
        ASSERT_GE(value, lastValue) << "round " << round;
        lastValue = value;
    }
    // Temporary files of writers killed mid-write; they show the kills hit writes.
    RecordProperty("leftover_temporary_files", CountLeftovers(folder));
}

}  // namespace

}  // namespace hx
