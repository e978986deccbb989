#pragma once
// The desk, then the kiosk pointed at it, then a movie page that has said
// InitKiosk and been answered: the fixture of the tests that run the kiosk
// against our front-desk server as processes.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "kiosk/app/testing_kiosk_program.h"
#include "kiosk/support/float_counts.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "kiosk/support/paths.h"
#include "platform/envr.h"
#include "platform/ini_file.h"
#include "tests/e2e/money_trail.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"
#include "tests/support/test_movie_page.h"
#include "tests/support/wait_until.h"
#include "tools/boardsim/testing_boardsim.h"
#include "tools/dispsim/testing_dispsim.h"
#include "tools/frontdesk/testing_frontdesk.h"

namespace hx {

inline const std::filesystem::path kSample =
    std::filesystem::path(HX_FRONTDESK_SCENARIOS) / "sample.json";
// Tests may run side by side and the kiosk always uses port 12001, so each
// test's desk gets a loopback address of its own.
inline std::string DeskAddressForThisTest() {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return "127.0.31." + std::to_string(1 + std::hash<std::string>{}(name) % 250);
}
inline const std::string kInvokeStart =
    "<invoke name=\"ReceiveScript\" returntype=\"xml\"><arguments><string>";

// "Command;args" of an invoke request.
inline std::string ScriptOf(const std::string& request) {
    const std::string end = "</string></arguments></invoke>";
    if (request.rfind(kInvokeStart, 0) != 0 || request.size() < kInvokeStart.size() + end.size()) {
        return {};
    }
    return request.substr(kInvokeStart.size(), request.size() - kInvokeStart.size() - end.size());
}

class CKioskWithDeskTest : public ::testing::Test {
protected:
    void SetUp() override {
        CEnvr::SetFrameworkKey(kRegistryCompany, kRegistryApplication);
        CEnvr(kRegistryApplication)
            .WriteString("TCP/IP", "Server", DeskAddressForThisTest().c_str());
        StartDesk();
        StartBoard();
        StartDispenser();
        BeforeKiosk();
        StartKioskWithPage();
    }

    // A kiosk still running must end on its own at the stop request, in
    // whatever state the test left it. A test that ran to its end must also
    // have every won and every key card accounted for, once the kiosk's
    // payouts are over; one that stopped half-way leaves the money anywhere.
    void TearDown() override {
        const bool ranToItsEnd = !HasFatalFailure();
        if (ranToItsEnd) {
            WaitUntil([this] { return MoneyBreaks().empty(); });
        }
        if (m_kiosk.IsRunning()) {
            EXPECT_EQ(m_kiosk.Stop(), std::optional<int>(0)) << "the kiosk ends on SIGTERM";
        }
        if (ranToItsEnd) {
            for (const std::string& broken : MoneyBreaks()) {
                ADD_FAILURE() << broken;
            }
        }
    }

    // The desk (again, with the books and the journal it kept), on this
    // test's own address.
    void StartDesk() {
        std::filesystem::create_directories(DeskFolder());
        m_desk =
            std::make_unique<CFrontDeskProcess>(DeskAddressForThisTest(), kSample, DeskFolder());
        ASSERT_TRUE(m_desk->WaitUntilListening());
    }

    // The control board simulator on the kiosk's COM3, with the sample
    // motel's dispensers (1,000 and 10,000 won), and a float to pay change
    // from (100 notes of each kind, 100 key cards).
    void StartBoard() {
        const std::string start = std::to_string(kFloatAtStart);
        ASSERT_TRUE(WriteWholeFile(GetProgramPath("INI\\SaveMoney.ini"),
                                   "[Money]\r\n1000=" + start + "\r\n5000=" + start +
                                       "\r\n10000=" + start + "\r\nRFCard=" + start + "\r\n"));
        std::vector<std::string> dispensers;
        for (size_t i = 0; i < kBillDispensers.size(); ++i) {
            dispensers.push_back("--dispenser" + std::to_string(i + 1));
            dispensers.push_back(std::to_string(kBillDispensers[i]) + ":" + start);
        }
        m_board = std::make_unique<CBoardSimProcess>(m_drive.Folder() / "dosdevices" / "com3",
                                                     m_drive.MakeFolder("board"), dispensers);
        ASSERT_TRUE(m_board->WaitUntilLinked());
    }

    // The key card dispenser simulator on COM4, where the kiosk's settings
    // point it: the kiosk charges nothing while it has no card to hand out.
    void StartDispenser() {
        std::filesystem::create_directories(GetProgramPath("INI"));
        ASSERT_TRUE(WritePrivateProfileString("Dispenser", "port", "COM4",
                                              GetProgramPath("INI\\HXKiosk.ini")));
        m_dispenser = std::make_unique<CDispSimProcess>(m_drive.MakeFolder("dosdevices") / "com4",
                                                        m_drive.MakeFolder("dispsim"));
        ASSERT_TRUE(m_dispenser->WaitUntilLinked());
    }

    // What a test sets up after the desk listens and before the kiosk starts.
    virtual void BeforeKiosk() {}

    // The kiosk (again, on the same drive), and the page on its screen.
    void StartKioskWithPage() {
        m_logFrom = KioskLogText().size();
        ASSERT_TRUE(StartKioskProgram(m_kiosk, m_drive.Folder(), m_start));

        const std::optional<std::uint16_t> port = WaitForScreenPort(m_log, m_logFrom);
        ASSERT_TRUE(port) << m_log;
        ASSERT_TRUE(WaitForKioskLog(std::regex("서버와 연결됨\\."), m_log, m_logFrom)) << m_log;
        ASSERT_TRUE(m_page.Connect(*port));
        ASSERT_TRUE(m_page.SendCommand("InitKiosk", ""));
        const std::optional<std::string> answer = m_page.NextInvoke();
        ASSERT_TRUE(answer);
        EXPECT_EQ(ScriptOf(*answer).rfind("InitKiosk;", 0), 0u) << *answer;
    }

    // The board and the dispenser open a second after the start, and the
    // dispenser's state is asked for then: a guest pays after that.
    bool DevicesStarted() {
        return WaitForKioskLog(std::regex("장치 시작 완료\\."), m_log, m_logFrom).has_value();
    }

    // The next call of `command` on the screen; its argument text, or nullopt.
    std::optional<std::string> WaitForScript(std::string_view command) {
        const std::string prefix = std::string(command) + ";";
        while (std::optional<std::string> request = m_page.NextInvoke()) {
            const std::string script = ScriptOf(*request);
            if (script.rfind(prefix, 0) == 0) {
                return script.substr(prefix.size());
            }
        }
        return std::nullopt;
    }

    // The room lines of the next whole list on the screen.
    std::optional<std::vector<std::string>> NextRoomList() {
        std::vector<std::string> lines;
        while (std::optional<std::string> request = m_page.NextInvoke()) {
            const std::string script = ScriptOf(*request);
            if (script.rfind("SetRoomData;", 0) == 0) {
                lines.push_back(script.substr(12));
            } else if (script.rfind("EndSetRoomData;", 0) == 0) {
                return lines;
            }
        }
        return std::nullopt;
    }

    // The rooms may still be on their way: ask until a whole list arrives.
    std::vector<std::string> AskForRoomList() {
        for (int attempt = 0; attempt < 20; ++attempt) {
            EXPECT_TRUE(m_page.SendCommand("SetRoomData", ""));
            if (std::optional<std::vector<std::string>> lines = NextRoomList()) {
                if (!lines->empty()) {
                    return *lines;
                }
            }
        }
        return {};
    }

    // Inserts a note once the board takes it (the inlet opens after the
    // kiosk's commands have gone out one by one).
    void Insert(int won) {
        const std::string command = "bill " + std::to_string(won);
        ASSERT_TRUE(WaitUntil([&] { return m_board->Command(command).starts_with("ok"); }))
            << command;
    }

    // Waits until the board's status says `inlets`, e.g.
    // "bill-inlet=open coin-inlet=open".
    bool WaitForBoardInlets(const std::string& inlets) {
        return WaitUntil(
            [&] { return m_board->Command("status").find(inlets) != std::string::npos; });
    }

    // Waits for the screen call `command` with these arguments.
    void ExpectScript(std::string_view command, std::string_view args) {
        std::optional<std::string> seen;
        do {
            seen = WaitForScript(command);
        } while (seen && *seen != args);
        EXPECT_EQ(seen, std::optional<std::string>(args)) << command;
    }

    int SavedFloat(const char* key) const {
        return GetPrivateProfileNumber("Money", key, -1, GetProgramPath("INI\\SaveMoney.ini"));
    }

    // Waits until the desk's journal shows `command` received (with the field
    // `code`, when given).
    bool DeskReceived(int command, std::optional<int> code = std::nullopt) {
        return m_desk->WaitForJournal([command, code](const nlohmann::json& entry) {
            const nlohmann::json fields = entry.value("fields", nlohmann::json::object());
            return entry.value("event", "") == "received" && entry.value("command", 0) == command &&
                   (!code || fields.value("code", -1) == *code);
        });
    }

    // The texts of the device events (505) of `code` the desk received, in order.
    std::vector<std::string> DeskEventTexts(int code) const {
        std::vector<std::string> texts;
        for (const nlohmann::json& entry : m_desk->Journal()) {
            const nlohmann::json fields = entry.value("fields", nlohmann::json::object());
            if (entry.value("event", "") == "received" && entry.value("command", 0) == 505 &&
                fields.value("code", 0) == code) {
                texts.push_back(fields.value("text", ""));
            }
        }
        return texts;
    }

    size_t JournalCount(int command) const {
        size_t count = 0;
        for (const nlohmann::json& entry : m_desk->Journal()) {
            count += entry.value("event", "") == "received" && entry.value("command", 0) == command;
        }
        return count;
    }

    // What still disagrees in the money: the kiosk's journal with itself, the
    // cash side (what the board took against what the desk sold and the board
    // paid out) and the float side (the kiosk's float against what left the
    // machine).
    std::vector<std::string> MoneyBreaks() const {
        const stMoneyTrail trail = MoneyTrail();
        std::vector<std::string> breaks = JournalBreaks();
        if (m_checkCashSide) {
            for (std::string& broken : CashSideBreaks(trail)) {
                breaks.push_back(std::move(broken));
            }
        }
        if (m_checkFloatSide) {
            for (std::string& broken :
                 FloatSideBreaks(trail, kBillDispensers, kFloatAtStart, LoadFloatCounts())) {
                breaks.push_back(std::move(broken));
            }
        }
        return breaks;
    }

    // The money as the board, the desk and the dispenser recorded it.
    stMoneyTrail MoneyTrail() const {
        stMoneyTrail trail;
        AddBoardJournal(m_board->Journal(), trail);
        trail.cashSoldWon = CashSoldInLedger(DeskFolder() / "data" / "ledger.json");
        trail.keyCardsIssued = static_cast<int>(m_dispenser->IssuedCards().size());
        return trail;
    }

    std::filesystem::path DeskFolder() const { return m_drive.Folder() / "desk"; }

    static constexpr int kFloatAtStart = 100;
    static constexpr std::array<int, 2> kBillDispensers = {1000, 10000};

    CTempDrive m_drive;
    // The money check TearDown makes; a test whose ending cannot satisfy a
    // side turns it off, saying why.
    bool m_checkCashSide = true;
    bool m_checkFloatSide = true;
    std::unique_ptr<CFrontDeskProcess> m_desk;
    std::unique_ptr<CBoardSimProcess> m_board;
    std::unique_ptr<CDispSimProcess> m_dispenser;
    stKioskStart m_start;  // how BeforeKiosk wants the kiosk started
    CChildProcess m_kiosk;
    CTestMoviePage m_page;
    std::string m_log;
    size_t m_logFrom = 0;  // where this kiosk's lines begin
};

}  // namespace hx
