// The kiosk's cash in this process against the control board simulator on
// the kiosk's COM3 (a real pseudo-terminal): the board's window and the cash
// payment wired as the kiosk window wires them, without screen or server.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "kiosk/cash/kiosk_cash.h"
#include "kiosk/support/paths.h"
#include "platform/ini_file.h"
#include "platform/loop_test_support.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_drive.h"
#include "tools/boardsim/testing_boardsim.h"

namespace hx {

namespace {

using Calls = std::vector<std::string>;
constexpr std::chrono::seconds kStartUpPatience{15};

class KioskCashOnBoard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            WriteWholeFile(GetProgramPath("INI\\SaveMoney.ini"),
                           "[Money]\r\n1000=100\r\n5000=100\r\n10000=100\r\nRFCard=100\r\n"));
        m_board = std::make_unique<CBoardSimProcess>(
            m_drive.Folder() / "dosdevices" / "com3", m_drive.MakeFolder("board"),
            std::vector<std::string>{"--dispenser1", "1000:100", "--dispenser2", "5000:100"});
        ASSERT_TRUE(m_board->WaitUntilLinked());
        m_window.onMessage = [this](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            return message == WM_TIMER && m_cash.OnTimer(wParam) ? 0 : 1;
        };
        ASSERT_TRUE(m_window.Create());
        ASSERT_TRUE(m_cash.Create(m_window, LoadFloatCounts()));
        ASSERT_TRUE(m_cash.Board().OpenBoardPort());
        // The port's start-up reset closes the inlets and clears the counts;
        // a payment starts once it has gone out.
        ASSERT_TRUE(
            PumpUntil([&] { return Monitored("지폐투입구 Close / RESET"); }, kStartUpPatience));
        ASSERT_TRUE(PumpUntil([&] { return m_cash.Board().Queue().Pending() == 0; }));
    }

    bool Monitored(std::string_view text) {
        const auto& rows = m_cash.Board().Monitor().Rows();
        return std::any_of(rows.begin(), rows.end(), [text](const stBoardLogRow& row) {
            return row.command.find(text) != std::string::npos ||
                   row.content.find(text) != std::string::npos;
        });
    }

    // Feeds a note once the simulator's inlet takes it.
    void Insert(int won) {
        const std::string command = "bill " + std::to_string(won);
        EXPECT_TRUE(PumpUntil([&] { return m_board->Command(command).starts_with("ok"); }))
            << command;
    }

    // Waits for the screen call `expected` ("Command;args").
    void ExpectMovie(const std::string& expected) {
        EXPECT_TRUE(PumpUntil([&] {
            return std::find(m_calls.begin(), m_calls.end(), expected) != m_calls.end();
        })) << expected;
    }

    int SavedFloat(const char* key) const {
        return GetPrivateProfileNumber("Money", key, -1, GetProgramPath("INI\\SaveMoney.ini"));
    }

    CTempDrive m_drive;
    std::unique_ptr<CBoardSimProcess> m_board;
    Calls m_calls;
    std::vector<stPaidOut> m_payouts;
    CRecordingWnd m_window;
    CKioskCash m_cash{CKioskCash::stHooks{
        [this](std::string_view command, std::string_view args) {
            m_calls.push_back(std::string(command) + ";" + std::string(args));
        },
        [this](int code, bool raised) {
            m_calls.push_back("event " + std::to_string(code) + (raised ? " 1" : " 0"));
        },
        [this](int code, std::string_view text) {
            m_calls.push_back("step " + std::to_string(code) + " " + std::string(text));
        },
        nullptr, [this](const stPaidOut& paid) { m_payouts.push_back(paid); }}};
};

TEST_F(KioskCashOnBoard, ChangeAfterASaleIsOneNoteFromTheFloat) {
    m_cash.Payment().StartCashAcceptance(35000);
    for (int note = 0; note < 4; ++note) {
        Insert(10000);
    }
    ExpectMovie("SetRecvMoney;35000||40000||5000");

    // What the ticket's issue does once the sale is accepted.
    m_cash.Payment().SettleCash(false);
    ExpectMovie("MakeTicketRes;1||5000");
    ASSERT_EQ(m_payouts.size(), 1u);
    EXPECT_EQ(m_payouts[0].notes5000, 1);
    EXPECT_EQ(m_payouts[0].Value(), 5000);
    EXPECT_EQ(SavedFloat("5000"), 99);
    EXPECT_EQ(SavedFloat("1000"), 100);
    EXPECT_NE(m_board->Command("status").find("dispenser2=5000x99"), std::string::npos);
    EXPECT_NE(std::find(m_calls.begin(), m_calls.end(), "step 7 5000"), m_calls.end());
}

TEST_F(KioskCashOnBoard, MergedFramesCountOnceAndSplitOnesAreDroppedAndCounted) {
    m_cash.Payment().StartCashAcceptance(35000);
    EXPECT_EQ(m_board->Command("misbehave merge 1").rfind("ok", 0), 0u);
    Insert(10000);
    Insert(5000);
    ExpectMovie("SetRecvMoney;35000||15000||0");
    EXPECT_EQ(std::count(m_calls.begin(), m_calls.end(), "SetRecvMoney;35000||10000||0") +
                  std::count(m_calls.begin(), m_calls.end(), "SetRecvMoney;35000||15000||0"),
              2)
        << "each total shown once";

    EXPECT_EQ(m_board->Command("misbehave split 1").rfind("ok", 0), 0u);
    Insert(1000);
    EXPECT_TRUE(PumpUntil([&] { return Monitored("잘린 프레임 버림 (누적 1)"); }));
}

}  // namespace

}  // namespace hx
