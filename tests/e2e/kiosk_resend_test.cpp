// Reports the desk does not acknowledge wait in the kiosk's resend file and
// reach the desk after it comes back, once each and in order, whatever
// happens to the kiosk meanwhile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kiosk/support/paths.h"
#include "platform/cp949.h"
#include "tests/e2e/kiosk_with_desk_test.h"
#include "tests/support/file_text.h"
#include "tests/support/wait_until.h"

namespace hx {

namespace {

constexpr int kKills = 5;
// A device event left from a run before this one, written as the kiosk
// writes them. (Every start also reports the board's port as open, event
// 101: those reports are left out of what the tests compare.)
const std::string kEarlierEvent = "2||302||0||프린터 용지 부족||2026-12-09 23:05:07";
constexpr int kBoardPortEvent = 101;

struct stReport {
    int command;
    int code;
    std::string text;
    int64_t time;
    bool operator==(const stReport&) const = default;
};

class KioskResend : public CKioskWithDeskTest {
protected:
    void BeforeKiosk() override {
        CEnvr(kRegistryApplication).WriteInt("TCP/IP", "ReconnectMs", 300);
        for (const char* command : {"ack 505 silent", "ack 515 silent"}) {
            ASSERT_EQ(m_desk->Command(command).rfind("ok", 0), 0u) << command;
        }
        ASSERT_TRUE(WriteWholeFile(ResendFile(), Cp949FromUtf8(kEarlierEvent) + "\r\n"));
    }

    static std::filesystem::path ResendFile() { return GetLogPath("ReSend.log"); }

    bool ResendFileHolds(const std::string& utf8) const {
        return Utf8FromCp949(ReadWholeFile(ResendFile())).find(utf8) != std::string::npos;
    }

    // The reports the desk received, in order, from journal line `from` on.
    std::vector<stReport> Received(size_t from = 0) const {
        std::vector<stReport> reports;
        const std::vector<nlohmann::json> journal = m_desk->Journal();
        for (size_t i = from; i < journal.size(); ++i) {
            const nlohmann::json& entry = journal[i];
            const int command = entry.value("command", 0);
            const nlohmann::json& fields = entry.value("fields", nlohmann::json::object());
            if (entry.value("event", "") == "received" && (command == 505 || command == 515) &&
                !(command == 505 && fields.value("code", -1) == kBoardPortEvent)) {
                reports.push_back({command, fields.value("code", -1), fields.value("text", ""),
                                   fields.value("time", int64_t{0})});
            }
        }
        return reports;
    }

    void AcknowledgeFromNowOn() {
        for (const char* command : {"ack 505 acknowledge", "ack 515 acknowledge"}) {
            ASSERT_EQ(m_desk->Command(command).rfind("ok", 0), 0u) << command;
        }
    }
};

TEST_F(KioskResend, ReportsKeptWhileTheDeskIsSilentArriveOnceInOrderAfterItComesBack) {
    ASSERT_TRUE(m_page.SendCommand("SelectRoom", "305||스탠다드"));
    ASSERT_TRUE(m_page.SendCommand("SelectCheckInType", "대실||305"));
    ASSERT_TRUE(m_page.SendCommand("TouchScreen", "HomeBtn"));
    ASSERT_TRUE(WaitUntil([&] { return ResendFileHolds("1||18||||"); }));
    std::string file;
    for (const std::string& line : ReadLines(ResendFile())) {
        if (!line.starts_with("2||" + std::to_string(kBoardPortEvent) + "||")) {
            file += Utf8FromCp949(line) + "\r\n";
        }
    }
    const std::string time = "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\r\\n";
    const std::regex lines(
        "2\\|\\|302\\|\\|0\\|\\|프린터 용지 부족\\|\\|2026-12-09 23:05:07\\r\\n"
        "1\\|\\|0\\|\\|305\\|\\|스탠다드\\|\\|" +
        time + "1\\|\\|1\\|\\|대실\\|\\|305\\|\\|" + time + "1\\|\\|18\\|\\|\\|\\|" + time);
    EXPECT_TRUE(std::regex_match(file, lines)) << file;

    // The first attempt went out and waits for an answer that never comes.
    ASSERT_TRUE(WaitUntil([&] { return !Received().empty(); }));
    const std::vector<stReport> kept = {
        {505, 302, "프린터 용지 부족", Received()[0].time},
        {515, 0, "305||스탠다드", 0},
        {515, 1, "대실||305", 0},
        {515, 18, "", 0},
    };
    const size_t journalBefore = m_desk->Journal().size();
    AcknowledgeFromNowOn();
    ASSERT_EQ(m_desk->Command("drop").rfind("ok", 0), 0u);

    ASSERT_TRUE(WaitForScript("InitRoomData"));
    ASSERT_TRUE(WaitForScript("ClearError"));
    EXPECT_TRUE(m_desk->WaitForJournal([](const nlohmann::json& entry) {
        return entry.value("event", "") == "received" && entry.value("command", 0) == 11220;
    }));
    const std::vector<stReport> delivered = Received(journalBefore);
    ASSERT_EQ(delivered.size(), kept.size());
    for (size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(delivered[i].command, kept[i].command) << i;
        EXPECT_EQ(delivered[i].code, kept[i].code) << i;
        EXPECT_EQ(delivered[i].text, kept[i].text) << i;
        EXPECT_NE(delivered[i].time, 0) << i;
    }
    EXPECT_EQ(delivered[0].time, kept[0].time) << "the time it was written with";
    EXPECT_FALSE(std::filesystem::exists(ResendFile()));
}

TEST_F(KioskResend, AReportHandedOverSurvivesAKillOfTheKiosk) {
    for (int kill = 0; kill < kKills; ++kill) {
        if (kill > 0) {
            StartKioskWithPage();
        }
        const std::string text = "kill " + std::to_string(kill);
        ASSERT_TRUE(m_page.SendCommand("SelectRoom", text));
        ASSERT_TRUE(WaitUntil([&] { return ResendFileHolds(text); }));
        ASSERT_TRUE(m_kiosk.Signal(enumChildSignal::Kill));
        m_kiosk.Stop();
    }
    const size_t journalBefore = m_desk->Journal().size();
    AcknowledgeFromNowOn();
    StartKioskWithPage();
    ASSERT_TRUE(WaitUntil([&] { return !std::filesystem::exists(ResendFile()); }));

    std::vector<std::string> texts;
    for (const stReport& report : Received(journalBefore)) {
        texts.push_back(report.text);
    }
    std::vector<std::string> expected = {"프린터 용지 부족"};
    for (int kill = 0; kill < kKills; ++kill) {
        expected.push_back("kill " + std::to_string(kill));
    }
    EXPECT_EQ(texts, expected) << "every report handed over, once and in order";
}

TEST_F(KioskResend, TheKioskEndsPromptlyWhileItsResendThreadWaitsForAnAnswer) {
    ASSERT_TRUE(WaitUntil([&] { return !Received().empty(); })) << "a wait is in progress";
    ASSERT_TRUE(m_page.SendCommand("SelectRoom", "305||스탠다드"));
    ASSERT_TRUE(WaitUntil([&] { return ResendFileHolds("305||스탠다드"); }));
    ASSERT_TRUE(m_kiosk.Signal(enumChildSignal::Terminate));
    EXPECT_EQ(m_kiosk.WaitForExit(std::chrono::seconds(5)), 0);
    EXPECT_TRUE(ResendFileHolds(kEarlierEvent.substr(0, 8)));
    EXPECT_TRUE(ResendFileHolds("305||스탠다드"));
}

}  // namespace

}  // namespace hx
