// The kiosk program against servers that misbehave: connections that never
// finish, a handshake that never comes, a gigabyte announced. Its screen keeps
// answering, a stop request ends it, and it never takes the memory a server
// asks it to.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <thread>

#include "kiosk/app/testing_kiosk_program.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "net/io_packet.h"
#include "platform/envr.h"
#include "tests/support/child_process.h"
#include "tests/support/dropping_listener.h"
#include "tests/support/temp_drive.h"
#include "tests/support/test_movie_page.h"
#include "tools/frontdesk/testing_frontdesk.h"

namespace hx {

namespace {

using Clock = std::chrono::steady_clock;

// What a guest must never wait longer for: the screen's answer to InitKiosk.
constexpr auto kScreenAnswerLimit = std::chrono::seconds(1);
constexpr auto kStopLimit = std::chrono::seconds(5);
constexpr int kAnswerRounds = 6;
constexpr auto kBetweenRounds = std::chrono::milliseconds(400);
constexpr int64_t kPeakGrowthLimitKiB = 64 * 1024;

class KioskHostileServer : public ::testing::Test {
protected:
    void SetUp() override { CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication); }
    void TearDown() override { CEnvr::SetFrameworkKey("", ""); }

    // Points the kiosk at address (port 12001), starts it and opens its screen.
    void StartKiosk(const std::string& address) {
        const CEnvr settings(kRegistryApplication);
        settings.WriteString("TCP/IP", "Server", address.c_str());
        settings.WriteInt("TCP/IP", "ReconnectMs", 500);
        ASSERT_TRUE(StartKioskProgram(m_kiosk, m_drive.Folder()));
        const std::optional<std::uint16_t> port = WaitForScreenPort(m_log);
        ASSERT_TRUE(port) << m_log;
        ASSERT_TRUE(m_page.Connect(*port));
    }

    // Asks InitKiosk round after round while the kiosk is busy with the
    // server; every answer must come within the limit.
    void ExpectTheScreenToAnswerThroughout() {
        for (int round = 0; round < kAnswerRounds; ++round) {
            const Clock::time_point asked = Clock::now();
            ASSERT_TRUE(m_page.SendCommand("InitKiosk", ""));
            ASSERT_TRUE(NextInitKioskAnswer()) << "no answer in round " << round;
            EXPECT_LT(Clock::now() - asked, kScreenAnswerLimit) << "round " << round;
            std::this_thread::sleep_for(kBetweenRounds);
        }
    }

    void ExpectAPromptOrderlyStop() {
        const Clock::time_point asked = Clock::now();
        ASSERT_TRUE(m_kiosk.Signal(enumChildSignal::Terminate));
        const std::optional<int> exit = m_kiosk.WaitForExit();
        ASSERT_TRUE(exit.has_value()) << "the kiosk did not end";
        EXPECT_EQ(*exit, 0);
        EXPECT_LT(Clock::now() - asked, kStopLimit);
    }

    bool NextInitKioskAnswer() {
        while (const std::optional<std::string> request = m_page.NextInvoke()) {
            if (request->find("<string>InitKiosk;") != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    CTempDrive m_drive;
    CChildProcess m_kiosk;
    CTestMoviePage m_page;
    std::string m_log;
};

TEST_F(KioskHostileServer, ConnectionsThatAreDroppedFreezeNothing) {
    CDroppingListener desk;
    ASSERT_TRUE(desk.Open("127.0.32.1", 12001));
    StartKiosk("127.0.32.1");
    ExpectTheScreenToAnswerThroughout();
    ExpectAPromptOrderlyStop();
}

TEST_F(KioskHostileServer, AHandshakeThatNeverComesFreezesNothing) {
    CIOPacket desk("127.0.32.2", 12001);
    ASSERT_EQ(desk.Listen("127.0.32.2"), 1);
    StartKiosk("127.0.32.2");
    std::unique_ptr<CIOPacket> silent;
    ASSERT_TRUE(WaitUntil([&] { return (silent = desk.Accept()) != nullptr; }));
    ExpectTheScreenToAnswerThroughout();
    ExpectAPromptOrderlyStop();
}

TEST_F(KioskHostileServer, AGigabyteAnnouncedIsRefusedAndTheKioskConnectsAgain) {
    const std::filesystem::path sample =
        std::filesystem::path(HX_FRONTDESK_SCENARIOS) / "sample.json";
    CFrontDeskProcess desk("127.0.32.3", sample, m_drive.MakeFolder("desk"));
    ASSERT_TRUE(desk.WaitUntilListening());
    StartKiosk("127.0.32.3");
    ASSERT_TRUE(WaitForKioskLog(std::regex("서버와 연결됨\\."), m_log)) << m_log;
    const int64_t peakBefore = m_kiosk.PeakMemoryKiB().value_or(-1);

    EXPECT_EQ(desk.Command("malformed huge 1073741824").rfind("ok", 0), 0u);
    ASSERT_TRUE(WaitForKioskLog(std::regex("연결 끊긴 이유: .*\\(-93\\)"), m_log)) << m_log;
    const int64_t peakAfter = m_kiosk.PeakMemoryKiB().value_or(-1);
    EXPECT_GT(peakBefore, 0);
    EXPECT_LT(peakAfter - peakBefore, kPeakGrowthLimitKiB) << "peak resident memory in KiB";

    ASSERT_TRUE(WaitForKioskLog(
        std::regex("서버와 연결됨\\.[^]*서버와 연결 끊어짐\\.[^]*서버와 연결됨\\."), m_log))
        << m_log;
    ExpectTheScreenToAnswerThroughout();
}

}  // namespace

}  // namespace hx
