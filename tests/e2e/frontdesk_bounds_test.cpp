// The front-desk server as a process against huge messages, both ways: a
// kiosk announcing a gibibyte of zlib-coded zeros is refused before the desk
// allocates for it, and the desk streams a huge message of its own without
// ever holding it. Either way its peak memory stays small and it goes on
// serving. Each test's desk has a loopback address of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "kiosk/records/kiosk_command.h"
#include "net/io_packet.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_drive.h"
#include "tools/frontdesk/testing_frontdesk.h"
#include "tools/frontdesk/testing_kiosk.h"
#include "tools/frontdesk/zero_message.h"

namespace hx {

namespace {

using json = nlohmann::json;

constexpr uint16_t kDeskPort = 12001;
constexpr int64_t kPeakLimitKiB = 64 * 1024;

// Under the address sanitizer its shadow memory takes some 55 MB before the
// desk does anything, and freed blocks it holds back count as resident: there
// the limit is on what the desk adds to its peak at start, with a quarantine
// too small to matter.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

class FrontDeskBounds : public ::testing::Test {
protected:
    // A desk with nothing to serve but the handshake and the lists, so a
    // kiosk's next message after the options is whatever a test asks for.
    std::unique_ptr<CFrontDeskProcess> StartDesk(const std::string& address) {
        const std::filesystem::path scenario = m_folder.Folder() / "empty.json";
        std::ofstream(scenario) << "{}";
        if (kSanitized) {
            const char* options = std::getenv("ASAN_OPTIONS");
            const std::string before =
                options != nullptr && *options != 0 ? std::string(options) + ":" : "";
            m_quarantine.emplace("ASAN_OPTIONS", before + "quarantine_size_mb=1");
        }
        auto desk = std::make_unique<CFrontDeskProcess>(address, scenario, m_folder.Folder());
        EXPECT_TRUE(desk->WaitUntilListening()) << "the desk did not start";
        m_startPeakKiB = kSanitized ? desk->PeakMemoryKiB().value_or(0) : 0;
        return desk;
    }

    void ExpectSmallPeak(const CFrontDeskProcess& desk) const {
        const int64_t peak = desk.PeakMemoryKiB().value_or(-1);
        EXPECT_GT(peak, 0);
        EXPECT_LT(peak - m_startPeakKiB, kPeakLimitKiB) << "peak resident memory in KiB";
    }

    CTempDrive m_folder;
    std::optional<CScopedEnvironment> m_quarantine;
    int64_t m_startPeakKiB = 0;
};

TEST_F(FrontDeskBounds, KioskAnnouncingAGibibyteIsRefusedAndAnotherIsServed) {
    const auto desk = StartDesk("127.0.46.1");
    CIOPacket hostile("127.0.46.1", kDeskPort);
    hostile.AddExtOption(IOEXT_NOPING);
    ASSERT_EQ(hostile.Connect(1), IO_OK);
    // Some 2 MB on the wire; the desk's refusal ends the sending early.
    SendZeroMessage(hostile, 1 << 30);

    const json refusal = desk->FindInJournal(
        [](const json& entry) { return entry.value("event", "") == "malformed"; });
    ASSERT_FALSE(refusal.is_null()) << "the desk took the gibibyte";
    EXPECT_EQ(refusal["code"], IO_BAD_LENGTH);
    EXPECT_TRUE(desk->WaitForJournal([](const json& entry) {
        return entry.value("event", "") == "closed" &&
               entry.value("reason", "") == "malformed framing";
    }));
    ExpectSmallPeak(*desk);

    CTestKiosk kiosk("127.0.46.1", kDeskPort);
    const std::optional<Bytes> answer = kiosk.Handshake("KIOSK-AFTER");
    ASSERT_TRUE(answer);
    EXPECT_EQ(UnpackHeader(*answer).command, CMD_HANDSHAKE_ANSWER);
}

TEST_F(FrontDeskBounds, DeskStreamsAHugeMessageWithoutHoldingIt) {
    constexpr int32_t kHuge = 80 << 20;  // more than the peak allowed
    const auto desk = StartDesk("127.0.46.2");
    CTestKiosk kiosk("127.0.46.2", kDeskPort);
    ASSERT_TRUE(kiosk.Handshake("KIOSK-LOBBY"));
    ASSERT_FALSE(kiosk.ReceiveUntil(CMD_KIOSK_OPTIONS).empty());

    EXPECT_EQ(desk->Command("malformed huge " + std::to_string(kHuge)), "ok: to 1 kiosk(s)");
    EXPECT_EQ(kiosk.ReadAnnouncedLength(), kHuge);
    EXPECT_TRUE(kiosk.ReadZeros(kHuge));
    EXPECT_TRUE(desk->WaitForJournal([](const json& entry) {
        return entry.value("event", "") == "sent" && entry.value("what", "") == "zeros";
    }));
    ExpectSmallPeak(*desk);
}

}  // namespace

}  // namespace hx
